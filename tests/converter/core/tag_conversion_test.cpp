#include "converter/core/tag_conversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace quenlite {
namespace {

using common::ConverterTagType;
constexpr ConverterTagType kAuto = ConverterTagType::AutoOrNone;
constexpr ConverterTagType kNone = ConverterTagType::AutoOrNone;
constexpr ConverterTagType kHtml = ConverterTagType::Html;
constexpr ConverterTagType kBbs = ConverterTagType::Bbs;
constexpr ConverterTagType kBrackets = ConverterTagType::Brackets;

struct Lines : StatusLog {
  void LogStatus(std::u16string_view line) override { lines.emplace_back(line); }
  std::vector<std::u16string> lines;
};

std::u16string Html(std::u16string_view base, std::u16string_view reading) {
  return u"<ruby><rb>" + std::u16string(base) + u"</rb><rp>(</rp><rt>" + std::u16string(reading) +
         u"</rt><rp>)</rp></ruby>";
}
std::u16string Bbs(std::u16string_view base, std::u16string_view reading) {
  return u"[ruby][rb]" + std::u16string(base) + u"[/rb][rp]([/rp][rt]" + std::u16string(reading) +
         u"[/rt][rp])[/rp][/ruby]";
}
std::u16string Br(std::u16string_view base, std::u16string_view reading) {
  return std::u16string(base) + u"(" + std::u16string(reading) + u")";
}

struct Case {
  const char* name;
  std::u16string input;
  ConverterTagType from;
  ConverterTagType to;
  bool add_br;
  StepOutcome outcome;
  std::u16string output;
  std::vector<std::u16string> log;
};

const std::u16string kHtmlLine = u"  detect tag type: html tags";
const std::u16string kBbsLine = u"  detect tag type: vexa bbs tags";
const std::u16string kBracketsLine = u"  detect tag type: brackets";
constexpr StepOutcome kBypassed = StepOutcome::Bypassed;
constexpr StepOutcome kConverted = StepOutcome::Converted;

std::vector<Case> Cases() {
  return {
      // Detection and bypass.
      {"detected html equals destination", u"a" + Html(u"漢", u"かん") + u"\r\n", kAuto, kHtml,
       true, kBypassed, u"a" + Html(u"漢", u"かん") + u"\r\n", {kHtmlLine}},
      {"first ruby tag decides: bbs", u"[RUBY]" + Html(u"漢", u"かん"), kAuto, kBbs, false,
       kBypassed, u"[RUBY]" + Html(u"漢", u"かん"), {kBbsLine}},
      {"chosen source equals destination logs nothing", u"漢字(かんじ)", kBrackets, kBrackets,
       false, kBypassed, u"漢字(かんじ)", {}},
      {"empty text is brackets", u"", kAuto, kHtml, false, kConverted, u"", {kBracketsLine}},
      {"text ends at its first NUL", std::u16string(u"漢字(かんじ)\0x(y)", 11), kBrackets, kHtml,
       false, kConverted, Html(u"漢字", u"かんじ"), {}},

      // Brackets reader.
      {"kanji run with reading", u"漢字(かんじ)です", kAuto, kHtml, false, kConverted,
       Html(u"漢字", u"かんじ") + u"です", {kBracketsLine}},
      {"base is only the kanji run", u"この漢字（かんじ)", kBrackets, kBbs, false, kConverted,
       u"この" + Bbs(u"漢字", u"かんじ"), {}},
      {"iteration mark is kanji", u"時々(ときどき)", kBrackets, kHtml, false, kConverted,
       Html(u"時々", u"ときどき"), {}},
      {"kana before bracket stays", u"ひらがな(かな)", kBrackets, kHtml, false, kConverted,
       u"ひらがな(かな)", {}},
      {"group at text start stays", u"(かな)漢字", kBrackets, kHtml, false, kConverted,
       u"(かな)漢字", {}},
      {"two adjacent groups", u"漢(か)字(じ)", kBrackets, kBbs, false, kConverted,
       Bbs(u"漢", u"か") + Bbs(u"字", u"じ"), {}},
      {"group right after a converted group stays", u"漢(か)(じ)", kBrackets, kHtml, false,
       kConverted, Html(u"漢", u"か") + u"(じ)", {}},
      {"nested brackets stay", u"漢字((かん)じ)", kBrackets, kHtml, false, kConverted,
       u"漢字((かん)じ)", {}},
      {"unclosed bracket stays", u"漢字(かんじ", kBrackets, kHtml, false, kConverted,
       u"漢字(かんじ", {}},
      {"stray closing bracket spoils only its line", u"a) 漢字(かんじ)\r\n漢字(かんじ)",
       kBrackets, kHtml, false, kConverted, u"a) 漢字(かんじ)\r\n" + Html(u"漢字", u"かんじ"), {}},
      {"empty reading keeps empty reading element", u"漢()", kBrackets, kHtml, false, kConverted,
       Html(u"漢", u""), {}},
      {"brackets to none", u"私は漢字(かんじ)。", kBrackets, kNone, false, kConverted,
       u"私は漢字。", {}},
      {"brackets with breaks", u"漢字(かんじ)\r\nです\r\nb\nc", kBrackets, kHtml, true,
       kConverted, Html(u"漢字", u"かんじ") + u"<br>\r\nです<br>\r\nb\nc", {}},
      {"breaks only for html", u"漢(か)\r\n", kBrackets, kBbs, true, kConverted,
       Bbs(u"漢", u"か") + u"\r\n", {}},

      // Tag reader.
      {"html to bbs drops break tags", u"一<br>\r\n" + Html(u"漢", u"かん") + u"<BR>\r\n",
       kHtml, kBbs, false, kConverted, u"一\r\n" + Bbs(u"漢", u"かん") + u"\r\n", {}},
      {"group without rp, any letter case", u"<RUBY><Rb>漢</rB><rt>かん</RT></Ruby>", kAuto,
       kBrackets, false, kConverted, Br(u"漢", u"かん"), {kHtmlLine}},
      {"html to none keeps bases", u"x" + Html(u"漢", u"かん") + u"y", kHtml, kNone, false,
       kConverted, u"x漢y", {}},
      {"empty reading writes base alone", u"<ruby><rb>漢</rb><rt></rt></ruby>", kHtml,
       kBrackets, false, kConverted, u"漢", {}},
      {"blank before rp is discarded", u"<ruby><rb>漢</rb> <rp>(</rp><rt>か</rt></ruby>", kHtml,
       kBrackets, false, kConverted, u"漢(か)", {}},
      {"empty base drops the group", u"a<ruby><rb></rb><rt>か</rt></ruby>b", kHtml, kBrackets,
       false, kConverted, u"ab", {}},
      {"bbs source keeps angle tags as text", u"<b>" + Bbs(u"漢", u"かん") + u"[br]", kBbs,
       kHtml, true, kConverted, u"<b>" + Html(u"漢", u"かん"), {}},
      {"tags with attributes are text", u"<ruby class=x><rb>漢</rb><rt>か</rt></ruby>", kHtml,
       kBbs, false, kConverted, u"<ruby class=x><rb>漢</rb><rt>か</rt></ruby>", {}},

      // Broken groups stay as written and conversion goes on after them.
      {"break inside a group", u"a<ruby><rb>漢<br>字</rb><rt>か</rt></ruby>b" + Html(u"字", u"じ"),
       kHtml, kBrackets, false, kConverted,
       u"a<ruby><rb>漢字</rb><rt>か</rt></ruby>b" + Br(u"字", u"じ"), {}},
      {"unfinished group at the end", u"x" + Html(u"一", u"いち") + u"<ruby><rb>漢</rb><rt>かん",
       kHtml, kBbs, false, kConverted, u"x" + Bbs(u"一", u"いち") + u"<ruby><rb>漢</rb><rt>かん",
       {}},
      {"group opening inside a broken group", u"<ruby><rb>a" + Html(u"漢", u"かん") + u"z",
       kHtml, kBrackets, false, kConverted, u"<ruby><rb>a" + Br(u"漢", u"かん") + u"z", {}},
      {"stray structural tags", u"a</rt>b<rb>c</ruby>d", kHtml, kBbs, false, kConverted,
       u"a</rt>b<rb>c</ruby>d", {}},
      {"broken piece gets breaks like other text", u"[ruby][rb]漢[/rb]\r\n", kBbs, kHtml, true,
       kConverted, u"[ruby][rb]漢[/rb]<br>\r\n", {}},
      {"two text runs in base", u"<ruby><rb>漢<rt>か</rt></ruby>", kHtml, kBrackets, false,
       kConverted, u"<ruby><rb>漢<rt>か</rt></ruby>", {}},
  };
}

TEST(ConvertTags, Cases) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    Lines log;
    const StepResult result = ConvertTags(c.input, {c.from, c.to, c.add_br}, log);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.text, c.output);
    EXPECT_EQ(log.lines, c.log);
  }
}

TEST(ConvertTags, DetectionIsPerText) {
  // The detected dialect applies to one text only; the next is detected afresh.
  Lines log;
  const TagConversionOptions options{kAuto, kBrackets, false};
  EXPECT_EQ(ConvertTags(Bbs(u"漢", u"か"), options, log).text, u"漢(か)");
  EXPECT_EQ(ConvertTags(Html(u"漢", u"か"), options, log).text, u"漢(か)");
  EXPECT_EQ(ConvertTags(u"漢(か)", options, log).outcome, kBypassed);
  EXPECT_EQ(log.lines, (std::vector<std::u16string>{kBbsLine, kHtmlLine, kBracketsLine}));
}

TEST(ConvertTags, SettingsOutsideTheListsFail) {
  Lines log;
  EXPECT_EQ(ConvertTags(u"x", {static_cast<ConverterTagType>(4), kHtml, false}, log).outcome,
            StepOutcome::Failed);
  EXPECT_EQ(ConvertTags(u"x", {kHtml, static_cast<ConverterTagType>(-1), false}, log).outcome,
            StepOutcome::Failed);
  EXPECT_TRUE(log.lines.empty());
}

// Random texts of kana, Latin letters, blanks, line ends and annotations with whole kanji runs
// as bases: each dialect converts to each other one exactly as its written form says.
TEST(ConvertTags, RandomTextsConvertBetweenAllDialects) {
  std::mt19937 random(20261211);
  const std::u16string filler = u"あいカナabc .\r\n\n";
  const std::u16string kanji = u"漢字日本語々";
  for (int round = 0; round < 300; ++round) {
    std::u16string forms[4];  // plain (None), html, bbs, brackets
    const int pieces = static_cast<int>(random() % 12);
    for (int p = 0; p < pieces; ++p) {
      std::u16string text;
      for (int n = random() % 4; n > 0; --n) text += filler[random() % filler.size()];
      for (std::u16string& f : forms) f += text;
      if (random() % 2 == 0) continue;
      std::u16string base, reading;
      for (int n = 1 + random() % 3; n > 0; --n) base += kanji[random() % kanji.size()];
      for (int n = 1 + random() % 4; n > 0; --n) reading += u"かなよみ"[random() % 4];
      forms[0] += base;
      forms[1] += Html(base, reading);
      forms[2] += Bbs(base, reading);
      forms[3] += Br(base, reading);
      for (std::u16string& f : forms) f += u"す";  // the next base starts a new kanji run
    }
    for (int from = 1; from <= 3; ++from) {
      for (int to = 0; to <= 3; ++to) {
        if (from == to) continue;
        Lines log;
        const StepResult result = ConvertTags(forms[from],
                                              {static_cast<ConverterTagType>(from),
                                               static_cast<ConverterTagType>(to), false},
                                              log);
        ASSERT_EQ(result.text, forms[to]) << "from " << from << " to " << to;
      }
    }
  }
}

}  // namespace
}  // namespace quenlite
