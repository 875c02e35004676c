#include "converter/core/lyric_format.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quenlite {
namespace {

constexpr FormatSource kAuto = FormatSource::AutoDetect;
constexpr FormatSource kFromKra = FormatSource::Kra;
constexpr FormatSource kFromLrc = FormatSource::Lrc;
constexpr FormatDestination kPlain = FormatDestination::PlainText;
constexpr FormatDestination kKra = FormatDestination::Kra;
constexpr FormatDestination kLrc = FormatDestination::Lrc;

struct Lines : StatusLog {
  void LogStatus(std::u16string_view line) override { lines.emplace_back(line); }
  std::vector<std::u16string> lines;
};

TEST(DetectFormat, Cases) {
  const struct {
    std::u16string text;
    FormatSource expected;
  } cases[] = {
      {u"@title=x\r\n[ti:y]\r\n", kFromKra},     // the first known header decides
      {u"[ti:y]\r\n@title=x\r\n", kFromLrc},
      {u"[Ti:x]", kFromLrc},                      // keys ignore letter case
      {u"[title:x]", kFromLrc},                   // and are prefixes: "ti"
      {u"@TITLE=x", kFromKra},
      {u"@lyricsby=x", kFromKra},
      {u"x[offset:5]", kFromLrc},
      {u"@titl=x", kFromKra},                     // no header at all: no "." in brackets either
      {u"[01:02.30]a", kFromLrc},                 // a "." inside brackets marks LRC
      {u"[01:02:30]a", kFromKra},
      {u"plain text", kFromKra},
      {u"", kFromKra},
      {u"[01\r\n02.5", kFromLrc},                 // line ends do not stop the bracket scan
      {u"[01]02.5", kFromKra},                    // but "]" does
      {u"[[[[]...", kFromKra},
      {u"[t", kFromKra},                          // a key needs all its code units
      {std::u16string(u"@x\0[ti:y]", 9), kFromKra},  // the text ends at its first NUL
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
    EXPECT_EQ(DetectFormat(c.text), c.expected);
  }
}

struct Case {
  const char* name;
  std::u16string input;
  FormatSource from;
  FormatDestination to;
  StepOutcome outcome;
  std::u16string output;
  std::vector<std::u16string> log;
};

const std::u16string kKraLine = u"  detect format: kra";
const std::u16string kLrcLine = u"  detect format: lrc";
constexpr StepOutcome kBypassed = StepOutcome::Bypassed;
constexpr StepOutcome kConverted = StepOutcome::Converted;

std::vector<Case> Cases() {
  return {
      // Detection and bypass.
      {"detected lrc equals destination", u"[ti:x]\r\n[00:01.50]a", kAuto, kLrc, kBypassed,
       u"[ti:x]\r\n[00:01.50]a", {kLrcLine}},
      {"chosen source equals destination logs nothing", u"[ti:x]", kFromKra, kKra, kBypassed,
       u"[ti:x]", {}},
      {"plain text is kra", u"la la\r\n", kAuto, kLrc, kConverted, u"la la\r\n", {kKraLine}},
      {"tags only can give an empty text", u"[ti:x][00:01.00]", kFromLrc, kPlain, kConverted,
       u"", {}},
      {"text ends at its first NUL", std::u16string(u"[ti:x]\0[ar:y]", 13), kFromLrc, kKra,
       kConverted, u"@title=x", {}},

      // Headers.
      {"kra to lrc", u"@title=Foo\r\n@artist=Bar\r\n[00:01:50]hello\r\n", kAuto, kLrc,
       kConverted, u"[ti:Foo]\r\n[ar:Bar]\r\n[00:01.50]hello\r\n", {kKraLine}},
      {"every key from lrc to kra", u"[ti:a][by:b][ar:c][al:d][offset:-5]", kFromLrc, kKra,
       kConverted, u"@title=a@lyricsBy=b@artist=c@album=d@offset=-5", {}},
      {"every key from kra to lrc", u"@TITLE=a\n@lyricsby=b\n@artist=c\n@album=d\n@offset=1",
       kFromKra, kLrc, kConverted, u"[ti:a]\n[by:b]\n[ar:c]\n[al:d]\n[offset:1]", {}},
      {"values keep blanks and colons", u"[title: a:b ]", kFromLrc, kKra, kConverted,
       u"@title= a:b ", {}},
      {"kra header ends at the next @", u"@title=x@artist=y", kFromKra, kLrc, kConverted,
       u"[ti:x][ar:y]", {}},
      {"empty value writes nothing", u"@title=\r\nx", kFromKra, kLrc, kConverted, u"\r\nx", {}},
      {"unknown key is removed", u"@x=1\r\n@ab\r\n@=\r\n@y", kFromKra, kLrc, kConverted,
       u"\r\n@ab\r\n@=\r\n@y", {}},
      {"@ is text in an lrc source", u"@title=x\r\n[ar:y]", kFromLrc, kKra, kConverted,
       u"@title=x\r\n@artist=y", {}},
      {"bracket items", u"[Chorus]\r\n[Chorus: x]\r\n[]\r\n[:x]\r\n[ab\r\n]\r\n[a[ti:b]", kFromLrc,
       kKra, kConverted, u"[Chorus]\r\n\r\n[]\r\n[:x]\r\n[ab\r\n]\r\n[a@title=b", {}},

      // Time tags into KRA.
      {"lrc to kra", u"[00:01.50]hello\r\n[00:03.00]world", kFromLrc, kKra, kConverted,
       u"[00:01:50]hello\r\n[00:03]world", {}},
      {"fractions", u"[00:01.123]a[0:1.5]b[1:2:05]c[99:60.99]d", kFromLrc, kKra, kConverted,
       u"[00:01:12]a[00:01]b[01:02:05]c[99:60:99]d", {}},
      {"kra keeps tags inside lines", u"a[00:01.00]b[00:02.00]", kFromLrc, kKra, kConverted,
       u"a[00:01]b[00:02]", {}},
      {"out of range is removed", u"[100:00]a[00:61]b", kFromLrc, kKra, kConverted, u"ab", {}},
      {"three units after the separator are read as digits up to a non-digit",
       u"[1:2.3:4]c[1:2.045]d", kFromLrc, kKra, kConverted, u"[01:02:00]c[01:02:04]d", {}},
      {"huge numbers are only out of range", u"[99999999999999999999:00]a", kFromLrc, kKra,
       kConverted, u"a", {}},

      // The LRC line rule.
      {"last of several tags at line start", u"[00:01:00][00:05:00]hello", kFromKra, kLrc,
       kConverted, u"[00:05]hello", {}},
      {"tag inside a line is dropped", u"[00:01:00]ab[00:01:50]cd", kFromKra, kLrc, kConverted,
       u"[00:01]abcd", {}},
      {"timed empty line loses its tag", u"a\r\n[00:02:00]\r\nb", kFromKra, kLrc, kConverted,
       u"a\r\n\r\nb", {}},
      {"tag before a bare LF stays", u"[00:02:00]\nb", kFromKra, kLrc, kConverted,
       u"[00:02]\nb", {}},
      {"tag at the very end is dropped", u"a\r\n[00:02:00][00:03:00]", kFromKra, kLrc,
       kConverted, u"a\r\n", {}},
      {"out of range at line start leaves nothing pending", u"a\r\n[100:00:00]b\r\n[00:61:00]",
       kFromKra, kLrc, kConverted, u"a\r\nb\r\n", {}},
      {"after text ending in ]", u"def][00:02:00]ghi", kFromKra, kLrc, kConverted,
       u"def]ghi", {}},
      {"after a header on the same line", u"[ti:x][00:01:00]abc", kFromKra, kLrc, kConverted,
       u"[ti:x]abc", {}},
      {"dropped unknown tag keeps the time tag pending", u"[00:01:00][x:y]abc", kFromKra, kLrc,
       kConverted, u"[00:01]abc", {}},
      {"rejected bracket after a tag is text", u"[00:01:00][Chorus]", kFromKra, kLrc,
       kConverted, u"[00:01][Chorus]", {}},

      // Plain text.
      {"to plain text", u"[ti:x]\r\n[00:01.00]a\r\n[xx]\r\n@title=y", kAuto, kPlain, kConverted,
       u"\r\na\r\n[xx]\r\n@title=y", {kLrcLine}},
      {"kra to plain text", u"@title=x\r\n[00:01:00]a[00:02:00]b", kFromKra, kPlain, kConverted,
       u"\r\nab", {}},
  };
}

TEST(ConvertFormat, Cases) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    Lines log;
    const StepResult result = ConvertFormat(c.input, {c.from, c.to}, log);
    EXPECT_EQ(result.outcome, c.outcome);
    EXPECT_EQ(result.text, c.output);
    EXPECT_EQ(log.lines, c.log);
  }
}

TEST(ConvertFormat, LongTextsPassThroughInOrder) {
  // Text between tags is gathered and written in pieces; none of it may go missing or move.
  std::u16string input, expected;
  for (int line = 0; line < 100; ++line) {
    const std::u16string words(static_cast<std::size_t>(line), static_cast<char16_t>(u'a' + line % 26));
    const std::u16string second(1, static_cast<char16_t>(u'0' + line % 6));
    input += u"[00:" + second + u"0.00]" + words + u"[x\r\n";
    expected += u"[00:" + second + u"0]" + words + u"[x\r\n";
  }
  Lines log;
  const StepResult result = ConvertFormat(input, {kFromLrc, kKra}, log);
  EXPECT_TRUE(result.text == expected);  // whole-text comparison; the message would be huge
}

TEST(ConvertFormat, SettingsOutsideTheListsFail) {
  Lines log;
  EXPECT_EQ(ConvertFormat(u"x", {static_cast<FormatSource>(3), kKra}, log).outcome,
            StepOutcome::Failed);
  EXPECT_EQ(ConvertFormat(u"x", {kAuto, static_cast<FormatDestination>(-1)}, log).outcome,
            StepOutcome::Failed);
  EXPECT_TRUE(log.lines.empty());
}

}  // namespace
}  // namespace quenlite
