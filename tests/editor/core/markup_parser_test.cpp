#include "editor/core/markup_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using orvi::ParseBrackets;
using orvi::ParseTags;
using orvi::RubyList;

namespace {

struct Entry {
  std::int32_t start;
  std::int32_t end;
  std::u16string base;
  std::u16string reading;
  bool operator==(const Entry&) const = default;
};

std::vector<Entry> EntriesOf(const RubyList& list) {
  std::vector<Entry> out;
  for (const orvi::RubyEntry* e : list.Entries()) {
    out.push_back({e->start, e->end, e->base, e->reading});
  }
  return out;
}

std::string Show(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
    if (c < 0x80 && c >= 0x20) {
      out.push_back(static_cast<char>(c));
    } else {
      char buf[12];
      std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned>(c));
      out += buf;
    }
  }
  return out;
}

struct Case {
  const char* name;
  int setting;  // 0 HTML, 1 BBS, 2 brackets
  std::u16string input;
  std::u16string text;
  std::vector<Entry> entries;
};

void Check(const Case& c) {
  SCOPED_TRACE(c.name);
  RubyList list;
  std::u16string text;
  if (c.setting == 2) {
    text = ParseBrackets(c.input, list);
  } else {
    auto parsed = ParseTags(c.input, c.setting, list);
    ASSERT_TRUE(parsed.has_value());
    text = *parsed;
  }
  EXPECT_EQ(Show(text), Show(c.text));
  EXPECT_EQ(EntriesOf(list), c.entries);
}

}  // namespace

TEST(ParseTags, ReadsWellFormedGroups) {
  const Case cases[] = {
      {"html with rp", 0,
       u"<ruby><rb>漢字</rb><rp>(</rp><rt>かんじ</rt><rp>)</rp></ruby>です", u"漢字です",
       {{0, 2, u"漢字", u"かんじ"}}},
      {"html without rp", 0, u"<ruby><rb>漢字</rb><rt>かんじ</rt></ruby>です", u"漢字です",
       {{0, 2, u"漢字", u"かんじ"}}},
      {"bbs", 1, u"[ruby][rb]漢字[/rb][rp]([/rp][rt]かんじ[/rt][rp])[/rp][/ruby]です",
       u"漢字です", {{0, 2, u"漢字", u"かんじ"}}},
      {"upper case and spans around base and reading", 0,
       u"<RUBY><Rb><span>漢</span></rB><rt><font size=\"1\">かん</font></RT></Ruby>",
       u"漢", {{0, 1, u"漢", u"かん"}}},
      {"text before the base tag is dropped", 0, u"<ruby>x<rb>漢</rb><rt>かん</rt></ruby>",
       u"漢", {{0, 1, u"漢", u"かん"}}},
      {"break tags dropped, line ends kept; CR LF counts one", 0,
       u"あ<br>\r\n<ruby><rb>漢</rb><rt>かん</rt></ruby>", u"あ\r\n漢",
       {{2, 3, u"漢", u"かん"}}},
      {"bbs break tag", 1, u"あ[BR]\r\nい", u"あ\r\nい", {}},
      {"other tags outside groups are dropped", 0, u"<p>あ</p><font color=red>い</font>",
       u"あい", {}},
      {"angle tags are text in the bbs dialect", 1, u"<ruby><rb>漢</rb></ruby>",
       u"<ruby><rb>漢</rb></ruby>", {}},
      {"empty reading gives an unfilled entry", 0, u"<ruby><rb>漢</rb><rt></rt></ruby>",
       u"漢", {{0, 1, u"漢", u""}}},
      {"two groups touch", 1,
       u"[ruby][rb]漢[/rb][rt]かん[/rt][/ruby][ruby][rb]字[/rb][rt]じ[/rt][/ruby]", u"漢字",
       {{0, 1, u"漢", u"かん"}, {1, 2, u"字", u"じ"}}},
      {"unfinished tag at the end is text", 0, u"あ<rub", u"あ<rub", {}},
      {"setting -1 leaves the text unchanged", -1, u"<ruby><rb>漢</rb><rt>か</rt></ruby>",
       u"<ruby><rb>漢</rb><rt>か</rt></ruby>", {}},
  };
  for (const Case& c : cases) Check(c);
}

TEST(ParseTags, RefusedBasesStayAsText) {
  const Case cases[] = {
      {"blank in base; the next group still parses", 0,
       u"<ruby><rb>a b</rb><rt>x</rt></ruby><ruby><rb>漢</rb><rt>かん</rt></ruby>", u"a b漢",
       {{3, 4, u"漢", u"かん"}}},
      {"line break in base", 0, u"<ruby><rb>漢\r\n字</rb><rt>x</rt></ruby>", u"漢\r\n字", {}},
      {"empty base", 0, u"あ<ruby><rb></rb><rt>x</rt></ruby>い", u"あい", {}},
  };
  for (const Case& c : cases) Check(c);
}

// A group that does not parse, and a structural tag outside a group, are kept exactly as
// written up to the item that broke the group; from there on the text is read as usual (so
// other tags and break tags after that point are dropped as anywhere outside a group), and the
// groups after them still become entries at the right offsets.
TEST(ParseTags, UnparsedMarkupIsKeptAndParsingGoesOn) {
  const Case cases[] = {
      {"group without base tags", 0, u"<ruby>漢<rt>かん</rt></ruby>",
       u"<ruby>漢<rt>かん</rt></ruby>", {}},
      {"blank between base close and rp is a second run", 0,
       u"<ruby><rb>漢</rb> <rp>(</rp><rt>かん</rt><rp>)</rp></ruby>。<ruby><rb>字</rb><rt>じ</rt></ruby>",
       u"<ruby><rb>漢</rb> <rp>(<rt>かん</rt>)</ruby>。字", {{42, 43, u"字", u"じ"}}},
      {"break tag inside a group", 1, u"[ruby][rb]漢[/rb][rt]か[br]ん[/rt][/ruby]い",
       u"[ruby][rb]漢[/rb][rt]かん[/rt][/ruby]い", {}},
      {"missing group close at the end", 0, u"あ<ruby><rb>漢</rb><rt>かん</rt>",
       u"あ<ruby><rb>漢</rb><rt>かん</rt>", {}},
      {"nested group open: the outer one is kept, the inner one parses", 0,
       u"<ruby>\r\n<ruby><rb>漢</rb><rt>かん</rt></ruby>", u"<ruby>\r\n漢",
       {{7, 8, u"漢", u"かん"}}},
      {"stray structural tags", 1, u"[/ruby]あ[rt]い[/rb]", u"[/ruby]あ[rt]い[/rb]", {}},
      {"stray close tag then a group", 0,
       u"</rt>\r\n<ruby><rb>漢</rb><rt>かん</rt></ruby>", u"</rt>\r\n漢",
       {{6, 7, u"漢", u"かん"}}},
      {"base too long for the list", 0,
       u"<ruby><rb>一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二</rb><rt>x</rt></ruby>",
       u"<ruby><rb>一二三四五六七八九十一二三四五六七八九十一二三四五六七八九十一二</rb><rt>x</rt></ruby>",
       {}},
  };
  for (const Case& c : cases) Check(c);

  const std::u16string long_reading =
      u"<ruby><rb>漢</rb><rt>" + std::u16string(64, u'か') + u"</rt></ruby>";
  Check({"reading too long for the list", 0, long_reading, long_reading, {}});
  const std::u16string full_reading =
      u"<ruby><rb>漢</rb><rt>" + std::u16string(63, u'か') + u"</rt></ruby>";
  Check({"reading of 63", 0, full_reading, u"漢", {{0, 1, u"漢", std::u16string(63, u'か')}}});
}

TEST(ParseTags, DropsTheBbsFillerGroupOnly) {
  const Case cases[] = {
      {"filler on an unannotated line", 1,
       u"[ruby][rb]漢[/rb][rt]かん[/rt][/ruby]\r\nあ[ruby][rb] [/rb][rt]\u3000[/rt][/ruby]\r\nい",
       u"漢\r\nあ\r\nい", {{0, 1, u"漢", u"かん"}}},
      {"a blank with another reading keeps its blank", 1,
       u"あ[ruby][rb] [/rb][rt]x[/rt][/ruby]い", u"あ い", {}},
      {"the same group in html is not a filler", 0,
       u"あ<ruby><rb> </rb><rt>\u3000</rt></ruby>い", u"あ い", {}},
  };
  for (const Case& c : cases) Check(c);
}

TEST(ParseTags, EmptyTextGivesNothing) {
  RubyList list;
  EXPECT_FALSE(ParseTags(u"", 0, list).has_value());
}

TEST(ParseBrackets, ReadsGroups) {
  const Case cases[] = {
      {"simple", 2, u"漢字(かんじ)です", u"漢字です", {{0, 2, u"漢字", u"かんじ"}}},
      {"only the kanji run before the bracket", 2, u"日本語の漢字(かんじ)", u"日本語の漢字",
       {{4, 6, u"漢字", u"かんじ"}}},
      {"second base starts where the first group closed", 2, u"漢字(かん)漢字(じ)",
       u"漢字漢字", {{0, 2, u"漢字", u"かん"}, {2, 4, u"漢字", u"じ"}}},
      {"full-width and mixed brackets", 2, u"漢（かん)字(じ）", u"漢字",
       {{0, 1, u"漢", u"かん"}, {1, 2, u"字", u"じ"}}},
      {"empty group gives an unfilled entry", 2, u"漢()", u"漢", {{0, 1, u"漢", u""}}},
      {"offsets after CR LF", 2, u"あ\r\n漢(かん)", u"あ\r\n漢", {{2, 3, u"漢", u"かん"}}},
      {"iteration mark is a kanji", 2, u"人々(ひとびと)", u"人々", {{0, 2, u"人々", u"ひとびと"}}},
      {"group of exactly 40", 2, u"漢(" + std::u16string(40, u'か') + u")", u"漢",
       {{0, 1, u"漢", std::u16string(40, u'か')}}},
  };
  for (const Case& c : cases) Check(c);
}

// Brackets that cannot become an annotation stay in the text as they were written.
TEST(ParseBrackets, KeepsWhatIsNoAnnotation) {
  const std::u16string long_group = u"漢(" + std::u16string(45, u'か') + u")";
  const std::u16string long_base(32, u'漢');
  const Case cases[] = {
      {"no kanji before the group", 2, u"ひらがな(かな)", u"ひらがな(かな)", {}},
      {"group open at a line end", 2, u"a(b\r\nc", u"a(b\r\nc", {}},
      {"group open at the end", 2, u"漢（かん", u"漢（かん", {}},
      {"stray closing brackets keep their width", 2, u"a)b）", u"a)b）", {}},
      {"longer than 40", 2, long_group, long_group, {}},
      {"base longer than the list holds", 2, long_base + u"(x)", long_base + u"(x)", {}},
      {"second opening bracket starts a new group", 2, u"漢(a字(じ)", u"漢(a字",
       {{3, 4, u"字", u"じ"}}},
      {"after a refused group the next one still works", 2, u"あ(x)\r\n漢(かん)",
       u"あ(x)\r\n漢", {{5, 6, u"漢", u"かん"}}},
      {"a kanji right after a group closes has no base before it", 2, u"漢(かん)(x)",
       u"漢(x)", {{0, 1, u"漢", u"かん"}}},
  };
  for (const Case& c : cases) Check(c);
}
