#include "editor/core/export_generator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using common::EditorTagType;
using orvi::ExportOptions;
using orvi::ExportSettings;
using orvi::RubyList;
using orvi::StyleRecord;

namespace {

struct Annotation {
  std::int32_t start;
  std::u16string base;
  std::u16string reading;
};

void Fill(RubyList& list, const std::vector<Annotation>& annotations) {
  for (const Annotation& a : annotations) {
    list.FillBase(a.base);
    list.FillReading(a.reading);
    ASSERT_GT(list.Insert(a.start, a.start + static_cast<std::int32_t>(a.base.size())), -1);
  }
}

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c < 0x80) {
      out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (c >> 6)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xE0 | (c >> 12)));
      out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
  }
  return out;
}

// 漢字です / かな with 漢字 read かんじ.
const std::u16string kTwoLines = u"漢字です\r\nかな";
const std::vector<Annotation> kKanji = {{0, u"漢字", u"かんじ"}};

std::u16string Defaults(EditorTagType type, const std::u16string& text,
                        const std::vector<Annotation>& annotations) {
  RubyList list;
  Fill(list, annotations);
  return orvi::GenerateExport(orvi::DefaultExportSettings(type), text, list);
}

}  // namespace

TEST(ExportOptions, ColourListAndTexts) {
  // The names are shown in the lists as they stand, spelling included.
  const std::pair<const char16_t*, const char16_t*> expected[] = {
      {u"red", u"#ff0000"},          {u"turqouise", u"#00ffff"},    {u"light blue", u"#0000ff"},
      {u"dark blue", u"#0000a0"},    {u"light purple", u"#ff0080"}, {u"dark purple", u"#800080"},
      {u"yellow", u"#ffff00"},       {u"pastel green", u"#00ff00"}, {u"pink", u"#ff00ff"},
      {u"white", u"#ffffff"},        {u"light grey", u"#c0c0c0"},   {u"dark grey", u"#808080"},
      {u"black", u"#000000"},        {u"orange", u"#ff8040"},       {u"brown", u"#804000"},
      {u"burgundy", u"#800000"},     {u"forest green", u"#808000"}, {u"grass green", u"#408080"},
  };
  ASSERT_EQ(orvi::kColourList.size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i) {
    const orvi::ColourEntry& e = orvi::kColourList[i];
    EXPECT_EQ(e.name, expected[i].first) << i;
    EXPECT_EQ(orvi::ColourText(e.red, e.green, e.blue), expected[i].second) << i;
  }
  EXPECT_EQ(orvi::ColourText(1, 10, 255), u"#010aff");
}

TEST(ExportOptions, TagTypeDefaults) {
  ExportSettings s = orvi::DefaultExportSettings(EditorTagType::Html);
  StyleRecord kanji = orvi::ReadStyle(s.kanji);
  StyleRecord kana = orvi::ReadStyle(s.kana);
  EXPECT_EQ(kanji.font, u"MS Gothic");
  EXPECT_FALSE(kanji.size.has_value());
  EXPECT_EQ(kanji.colour, u"#000000");
  EXPECT_EQ(kana.font, u"MS PGothic");
  EXPECT_EQ(kana.size, u"1");
  EXPECT_EQ(kana.colour, u"#ff8040");
  EXPECT_TRUE(s.options.add_br && s.options.black_as_default && s.options.styles_enabled);
  EXPECT_FALSE(s.options.use_css);

  // BBS changes the kana colour to dark purple and leaves the three options alone.
  s.options.use_css = true;
  s.options.add_br = false;
  s.kana.bold = true;
  orvi::ApplyTagType(s, EditorTagType::Bbs);
  EXPECT_EQ(orvi::ReadStyle(s.kana).colour, u"#800080");
  EXPECT_FALSE(s.kana.bold);
  EXPECT_TRUE(s.options.use_css);
  EXPECT_FALSE(s.options.add_br);

  // Brackets empties fonts and sizes but keeps the colours.
  orvi::ApplyTagType(s, EditorTagType::Brackets);
  EXPECT_FALSE(orvi::ReadStyle(s.kanji).font.has_value());
  EXPECT_FALSE(orvi::ReadStyle(s.kana).size.has_value());
  EXPECT_EQ(orvi::ReadStyle(s.kana).colour, u"#800080");
}

TEST(Generate, DefaultsPerTagType) {
  struct Case {
    const char* name;
    EditorTagType type;
    std::u16string expected;
  };
  const Case cases[] = {
      {"brackets", EditorTagType::Brackets, u"漢字(かんじ)です\r\nかな"},
      {"html: black kanji colour dropped, orange kana, closing font at the end",
       EditorTagType::Html,
       u"<font face=\"MS Gothic\"><ruby><rb>漢字</rb><rp>(</rp><rt>"
       u"<font face=\"MS PGothic\" size=\"1\" color=\"#ff8040\">かんじ</font>"
       u"</rt><rp>)</rp></ruby>です<br>\r\nかな</font>"},
      {"bbs: kana tags around the reading, filler at the end of the unannotated last line",
       EditorTagType::Bbs,
       u"[font=MS Gothic][ruby][rb]漢字[/rb][rp]([/rp][rt]"
       u"[font=MS PGothic][size=1][color=#800080]かんじ[/color][/size][/font]"
       u"[/rt][rp])[/rp][/ruby]です\r\nかな[ruby][rb] [/rb][rt]\u3000[/rt][/ruby][/font]"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8(Defaults(c.type, kTwoLines, kKanji)), Utf8(c.expected)) << c.name;
  }
}

TEST(Generate, OptionsAndStyles) {
  struct Case {
    const char* name;
    EditorTagType type;
    bool styles;
    bool add_br;
    bool use_css;
    bool black;
    StyleRecord kanji;
    StyleRecord kana;
    std::u16string expected;
  };
  const StyleRecord none;
  StyleRecord gothic_bold;
  gothic_bold.font = u"G";
  gothic_bold.bold = true;
  StyleRecord gothic_bold_red = gothic_bold;
  gothic_bold_red.colour = u"#ff0000";
  gothic_bold_red.italic = true;
  StyleRecord bold_black;
  bold_black.bold = true;
  bold_black.colour = u"#000000";
  StyleRecord css_kana;
  css_kana.font = u"P";
  css_kana.size = u"1";
  css_kana.colour = u"#ff8040";
  css_kana.italic = true;

  const Case cases[] = {
      {"html without styles keeps <br>", EditorTagType::Html, false, true, false, true,
       gothic_bold, gothic_bold,
       u"<ruby><rb>漢字</rb><rp>(</rp><rt>かんじ</rt><rp>)</rp></ruby>です<br>\r\nかな"},
      {"html without <br>", EditorTagType::Html, false, false, false, true, none, none,
       u"<ruby><rb>漢字</rb><rp>(</rp><rt>かんじ</rt><rp>)</rp></ruby>です\r\nかな"},
      {"brackets ignore styles, css and <br>", EditorTagType::Brackets, true, true, true, true,
       gothic_bold, gothic_bold, u"漢字(かんじ)です\r\nかな"},
      {"shared font and bold are not repeated for the kana", EditorTagType::Html, true, false,
       false, true, gothic_bold, gothic_bold_red,
       u"<font face=\"G\"><b><ruby><rb>漢字</rb><rp>(</rp><rt><font color=\"#ff0000\"><i>かんじ"
       u"</i></font></rt><rp>)</rp></ruby>です\r\nかな</b></font>"},
      {"bbs shared attributes", EditorTagType::Bbs, true, true, false, true, gothic_bold_red,
       gothic_bold,
       u"[font=G][color=#ff0000][b][i][ruby][rb]漢字[/rb][rp]([/rp][rt]かんじ[/rt][rp])[/rp]"
       u"[/ruby]です\r\nかな[ruby][rb] [/rb][rt]\u3000[/rt][/ruby][/i][/b][/color][/font]"},
      {"black kept when black as default is off", EditorTagType::Bbs, true, true, false, false,
       bold_black, none,
       u"[color=#000000][b][ruby][rb]漢字[/rb][rp]([/rp][rt]かんじ[/rt][rp])[/rp][/ruby]です"
       u"\r\nかな[ruby][rb] [/rb][rt]\u3000[/rt][/ruby][/b][/color]"},
      {"css head with a bold-only kanji style", EditorTagType::Html, true, true, true, true,
       bold_black, css_kana,
       u"<head>\r\n<style type=\"text/css\">\r\n.kanji { FONT-WEIGHT: bold; }\r\n.kana { "
       u"FONT-FAMILY: P;  FONT-SIZE: 1;  COLOR: #ff8040;  FONT-STYLE: italic; }\r\n</style>\r\n"
       u"</head>\r\n<body>\r\n<ruby><rb>漢字</rb><rp>(</rp><rt><span class=\"kana\">かんじ"
       u"</span></rt><rp>)</rp></ruby>です<br>\r\nかな\r\n</body>"},
      {"css is for html only: bbs keeps its style tags", EditorTagType::Bbs, true, true, true,
       true, gothic_bold, none,
       u"[font=G][b][ruby][rb]漢字[/rb][rp]([/rp][rt]かんじ[/rt][rp])[/rp][/ruby]です\r\nかな"
       u"[ruby][rb] [/rb][rt]\u3000[/rt][/ruby][/b][/font]"},
  };
  for (const Case& c : cases) {
    RubyList list;
    Fill(list, kKanji);
    ExportOptions o;
    o.tag_type = c.type;
    o.styles_enabled = c.styles;
    o.add_br = c.add_br;
    o.use_css = c.use_css;
    o.black_as_default = c.black;
    EXPECT_EQ(Utf8(orvi::Generate(o, c.kanji, c.kana, kTwoLines, list)), Utf8(c.expected))
        << c.name;
  }
}

TEST(Generate, EmptyReadingKeepsTheKanaTags) {
  RubyList list;
  Fill(list, {{0, u"漢", u""}});
  EXPECT_EQ(Utf8(Defaults(EditorTagType::Html, u"漢", {{0, u"漢", u""}})),
            Utf8(u"<font face=\"MS Gothic\"><ruby><rb>漢</rb><rp>(</rp><rt>"
                 u"<font face=\"MS PGothic\" size=\"1\" color=\"#ff8040\"></font>"
                 u"</rt><rp>)</rp></ruby></font>"));
}

// Lines after the first that carry no annotation get the filler group before their line end;
// the last line gets it only when it holds more than blanks.
TEST(Generate, BbsFillerLines) {
  ExportOptions o;
  o.tag_type = EditorTagType::Bbs;
  o.styles_enabled = false;
  const std::u16string filler = u"[ruby][rb] [/rb][rt]\u3000[/rt][/ruby]";
  const std::u16string group = u"[ruby][rb]漢[/rb][rp]([/rp][rt]かん[/rt][rp])[/rp][/ruby]";
  struct Case {
    std::u16string text;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"漢\r\nb\r\nc", group + u"\r\nb" + filler + u"\r\nc" + filler},
      {u"漢\r\nb\r\n", group + u"\r\nb" + filler + u"\r\n"},
      {u"漢\r\nb\r\n \u3000", group + u"\r\nb" + filler + u"\r\n \u3000"},
      {u"漢\r\n\r\n漢", group + u"\r\n" + filler + u"\r\n" + group},
      {u"a\r\nb", u"a\r\nb" + filler},
      {u"abc", u"abc"},
  };
  for (const Case& c : cases) {
    RubyList list;
    for (std::int32_t p = 0, i = 0; i < static_cast<std::int32_t>(c.text.size()); ++i) {
      if (c.text[static_cast<std::size_t>(i)] == u'漢') Fill(list, {{p, u"漢", u"かん"}});
      if (c.text[static_cast<std::size_t>(i)] != u'\r') ++p;
    }
    EXPECT_EQ(Utf8(orvi::Generate(o, {}, {}, c.text, list)), Utf8(c.expected))
        << Utf8(c.text);
  }
}

TEST(MakeVerifyText, ReplacesRunsByReadings) {
  RubyList list;
  Fill(list, {{0, u"日本", u"にほん"}, {2, u"語", u""}, {6, u"字", u"じ"}});
  EXPECT_EQ(Utf8(orvi::MakeVerifyText(u"日本語です\r\n字", list)), Utf8(u"にほんです\r\nじ"));
}
