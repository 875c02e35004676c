#include "common/tag_scanner.h"

#include <gtest/gtest.h>

#include <string>

using namespace common;

namespace {

std::string TokenName(std::uint16_t code) {
  switch (code) {
    case TokEnd: return "{END}";
    case TokBreak: return "{BR}";
    case TokGroupOpen: return "{RUBY}";
    case TokBaseOpen: return "{RB}";
    case TokReadingOpen: return "{RT}";
    case TokGroupClose: return "{/RUBY}";
    case TokBaseClose: return "{/RB}";
    case TokReadingClose: return "{/RT}";
    case TokOtherTag: return "{OTHER}";
    default: return "{?" + std::to_string(code) + "}";
  }
}

void AppendUtf8(std::string& out, char16_t c) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// Scans the whole text and renders every item: characters as themselves, tokens by name.
// Two extra calls after the end check that TokEnd repeats.
std::string Scan(ScannerConfig config, int brackets, std::u16string_view text) {
  TagScanner scanner(config);
  scanner.set_bracket_setting(brackets);
  scanner.Start(text);
  std::string out;
  for (std::size_t guard = 0; guard < text.size() * 2 + 4; ++guard) {
    const bool tag = scanner.Next();
    if (tag) {
      out += TokenName(scanner.value());
      if (scanner.value() == TokEnd) {
        EXPECT_TRUE(scanner.Next());
        EXPECT_EQ(scanner.value(), TokEnd);
        return out;
      }
    } else {
      AppendUtf8(out, static_cast<char16_t>(scanner.value()));
    }
  }
  ADD_FAILURE() << "scanner did not reach the end";
  return out;
}

struct Case {
  const char16_t* text;
  int brackets;
  const char* editor;
  const char* converter;
};

}  // namespace

TEST(TagScanner, ItemsInBothConfigurations) {
  const Case cases[] = {
      {u"<ruby><rb>漢字</rb><rp>(</rp><rt>かんじ</rt><rp>)</rp></ruby>", kAngleBrackets,
       "{RUBY}{RB}漢字{/RB}{OTHER}({OTHER}{RT}かんじ{/RT}{OTHER}){OTHER}{/RUBY}{END}",
       "{RUBY}{RB}漢字{/RB}<rp>(</rp>{RT}かんじ{/RT}<rp>)</rp>{/RUBY}{END}"},
      {u"[ruby][rb]漢[/rb][rt]かん[/rt][/ruby][br]", kSquareBrackets,
       "{RUBY}{RB}漢{/RB}{RT}かん{/RT}{/RUBY}{BR}{END}",
       "{RUBY}{RB}漢{/RB}{RT}かん{/RT}{/RUBY}{BR}{END}"},
      {u"<RUBY><Rb></rB><BR>", kAngleBrackets, "{RUBY}{RB}{/RB}{BR}{END}",
       "{RUBY}{RB}{/RB}{BR}{END}"},
      {u"<ruby class=x>a", kAngleBrackets, "{OTHER}a{END}", "<ruby class=x>a{END}"},
      {u"<br/><\\br></br>", kAngleBrackets, "{OTHER}{OTHER}{OTHER}{END}",
       "<br/><\\br></br>{END}"},
      {u"<br>", kAngleBrackets, "{BR}{END}", "{BR}{END}"},
      // Each dialect's brackets are plain text in the other.
      {u"[br]<br>", kAngleBrackets, "[br]{BR}{END}", "[br]{BR}{END}"},
      {u"[br]<br>", kSquareBrackets, "{BR}<br>{END}", "{BR}<br>{END}"},
      // Any other bracket setting: no tags at all.
      {u"<ruby>[ruby]", -1, "<ruby>[ruby]{END}", "<ruby>[ruby]{END}"},
      {u"<ruby>[ruby]", 2, "<ruby>[ruby]{END}", "<ruby>[ruby]{END}"},
      {u"a>b]", kAngleBrackets, "a>b]{END}", "a>b]{END}"},
      {u"x<rub", kAngleBrackets, "x<rub{END}", "x<rub{END}"},
      {u"<", kAngleBrackets, "<{END}", "<{END}"},
      {u"<<ruby>", kAngleBrackets, "<{RUBY}{END}", "<{RUBY}{END}"},
      {u"<a<ruby>", kAngleBrackets, "{OTHER}{END}", "<a{RUBY}{END}"},
      {u"<span>漢</span>", kAngleBrackets, "{OTHER}漢{OTHER}{END}", "<span>漢</span>{END}"},
      {u"<>", kAngleBrackets, "{OTHER}{END}", "<>{END}"},
      {u"", kAngleBrackets, "{END}", "{END}"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Scan(ScannerConfig::Editor, c.brackets, c.text), c.editor);
    EXPECT_EQ(Scan(ScannerConfig::Converter, c.brackets, c.text), c.converter);
  }
}

TEST(TagScanner, EditorRefusesEmptyTextConverterDoesNot) {
  TagScanner editor(ScannerConfig::Editor);
  EXPECT_FALSE(editor.Start(u""));
  EXPECT_TRUE(editor.Start(u"a"));
  TagScanner converter(ScannerConfig::Converter);
  EXPECT_TRUE(converter.Start(u""));
}

TEST(TagScanner, RestartDiscardsPendingItems) {
  TagScanner scanner(ScannerConfig::Converter);
  scanner.Start(u"<a<b");
  ASSERT_FALSE(scanner.Next());
  EXPECT_EQ(scanner.value(), u'<');
  scanner.Start(u"<br>");
  EXPECT_TRUE(scanner.Next());
  EXPECT_EQ(scanner.value(), TokBreak);
}

// Tags and runs of any length come out as the tables say, with no fixed limit.
TEST(TagScanner, LongTagsAndRunsHaveNoLimit) {
  // A 200-character tag with attributes is one other tag in the editor.
  std::u16string attributes = u"<span style=\"";
  while (attributes.size() < 198) attributes += u'x';
  attributes += u"\">";
  ASSERT_EQ(attributes.size(), 200u);
  const std::u16string editor_text = attributes + u"漢<ruby>";
  EXPECT_EQ(Scan(ScannerConfig::Editor, kAngleBrackets, editor_text), "{OTHER}漢{RUBY}{END}");

  // The editor keeps reading an unfinished tag to the end: delivered as text.
  const std::u16string unfinished = u"<" + std::u16string(300, u'a');
  EXPECT_EQ(Scan(ScannerConfig::Editor, kAngleBrackets, unfinished),
            "<" + std::string(300, 'a') + "{END}");

  // 40 "<" and a ruby tag in the converter: the 40 come out as text, then the tag.
  const std::u16string many_open = std::u16string(40, u'<') + u"<ruby>漢";
  EXPECT_EQ(Scan(ScannerConfig::Converter, kAngleBrackets, many_open),
            std::string(40, '<') + "{RUBY}漢{END}");
  // Also in the editor: each "<" restarts the tag.
  EXPECT_EQ(Scan(ScannerConfig::Editor, kAngleBrackets, many_open),
            std::string(40, '<') + "{RUBY}漢{END}");
}
