#include "converter/core/encoding.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace {

using namespace std::string_literals;
using quenlite::EncodingSettings;

struct Lines : quenlite::StatusLog {
  std::vector<std::u16string> lines;
  void LogStatus(std::u16string_view line) override { lines.emplace_back(line); }
};

constexpr char16_t kFound[] = u"  check unicode signature: found.";
constexpr char16_t kReverse[] = u"  check unicode signature: reverse signature found.";
constexpr char16_t kNotFound[] = u"  check unicode signature: not found.";
constexpr char16_t kBypassed[] = u"  check unicode signature: bypassed.";

TEST(DecodeSource, SignatureCheckAndDecoding) {
  struct Case {
    bool check;
    common::CodePage source;
    std::string bytes;
    const char16_t* line;
    std::optional<std::u16string> text;
  };
  const Case cases[] = {
      {true, 932, "\xFF\xFE" "A\0B\0"s, kFound, u"AB"},
      {true, 932, "\xFE\xFF\0A\0B"s, kReverse, u"AB"},
      {true, 932, "\xFF\xFE"s, kFound, std::nullopt},  // signature only: empty text fails
      {true, 936, "\xFE\xFF"s, kReverse, std::nullopt},
      {true, 932, "\x82\xA0\x82\xA2"s, kNotFound, u"\u3042\u3044"},
      {true, 1200, "A\0B\0"s, kNotFound, u"AB"},  // no signature: the source code page decides
      {true, 932, ""s, kNotFound, std::nullopt},
      {true, 1252, "\xFF"s, kNotFound, u"\u00FF"},  // one byte is no signature
      {true, 65001, "\xFF\xFE" "A\0\0\0B\0"s, kFound, u"A"},  // U+0000 ends the text
      {true, 932, "\xFF\xFE\0\0A\0"s, kFound, std::nullopt},
      {true, 932, "a\0b"s, kNotFound, u"a"},
      {false, 1200, "\xFF\xFE" "A\0"s, kBypassed, u"\uFEFFA"},  // signature kept as text
      {false, 1201, "\xFE\xFF\0A"s, kBypassed, u"\uFEFFA"},
      {false, 1252, "\xFF\xFE" "A\0B"s, kBypassed, u"\u00FF\u00FEA"},  // signature read as text
  };
  for (const Case& c : cases) {
    Lines log;
    const auto text = quenlite::DecodeSource(c.bytes, EncodingSettings{c.source, 936, c.check}, log);
    EXPECT_EQ(text, c.text) << c.bytes.size() << " bytes, source " << c.source;
    EXPECT_EQ(log.lines, std::vector<std::u16string>{c.line}) << c.bytes.size();
  }
}

TEST(EncodeDestination, SignatureOnlyForUtf16) {
  struct Case {
    common::CodePage dest;
    std::u16string text;
    std::optional<std::string> bytes;
  };
  const Case cases[] = {
      {1201, u"AB", "\xFE\xFF\0A\0B"s},
      {1200, u"AB", "\xFF\xFE" "A\0B\0"s},
      {1201, u"a\u4E00", "\xFE\xFF\0a\x4E\0"s},
      {1200, u"\u4E00a", "\xFF\xFE\0\x4E" "a\0"s},
      {936, u"\u4F60\u0E01", "\xC4\xE3?"s},  // not in GBK: "?", still succeeds
      {65001, u"\u3042", "\xE3\x81\x82"s},    // no signature for UTF-8
      {1200, u"", std::nullopt},
      {936, u"", std::nullopt},
      {99999, u"a", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(quenlite::EncodeDestination(c.text, c.dest), c.bytes) << c.dest;
  }
}

}  // namespace
