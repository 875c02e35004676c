#include "common/codepages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

namespace {

using common::CodePage;

std::optional<std::u16string> Decode(CodePage cp, std::string_view bytes) {
  std::u16string out;
  if (!common::DecodeBytes(cp, bytes, out)) return std::nullopt;
  return out;
}

std::optional<std::string> Encode(CodePage cp, std::u16string_view text) {
  std::string out;
  if (!common::EncodeText(cp, text, out)) return std::nullopt;
  return out;
}

TEST(InstalledCodePages, OffersTheTableAndTheFixedUnicodeNames) {
  const auto& list = common::InstalledCodePages();
  ASSERT_FALSE(list.empty());
  EXPECT_TRUE(std::is_sorted(list.begin(), list.end(),
                             [](const auto& a, const auto& b) { return a.number < b.number; }));
  for (const auto& info : list) {
    // Every name begins with its number and a blank, so the dialog can find an item by it.
    const std::u16string prefix = [&] {
      std::u16string s;
      for (char c : std::to_string(info.number)) s += static_cast<char16_t>(c);
      return s + u' ';
    }();
    EXPECT_EQ(info.display_name.rfind(prefix, 0), 0u) << info.number;
    EXPECT_EQ(common::CodePageDisplayName(info.number), info.display_name);
  }
  const CodePage required[] = {874,   932,   936,   949,   950,   1200,  1201,  1250,  1251,
                               1252,  1253,  1254,  1255,  1256,  1257,  1258,  20866, 20932,
                               28591, 28592, 28593, 28594, 28595, 28596, 28597, 28598, 28599,
                               50220, 51949, 54936, 65001};
  for (CodePage cp : required) EXPECT_TRUE(common::IsCodePageAvailable(cp)) << cp;
  EXPECT_FALSE(common::IsCodePageAvailable(28603));
  EXPECT_TRUE(common::CodePageDisplayName(28603).empty());
  EXPECT_EQ(common::CodePageDisplayName(1200), u"1200 (Unicode UCS-2 Little-Endian (BMP of ISO 10646))");
  EXPECT_EQ(common::CodePageDisplayName(1201), u"1201 (Unicode UCS-2 Big-Endian)");
  EXPECT_TRUE(common::IsCodePageAvailable(common::AnsiCodePage()));
}

// Every code page of the list really converts: ASCII text survives the way out and back.
TEST(InstalledCodePages, EachConvertsAsciiBothWays) {
  const std::u16string text = u"Hello, lyrics 123!";
  for (const auto& info : common::InstalledCodePages()) {
    const auto bytes = Encode(info.number, text);
    ASSERT_TRUE(bytes.has_value()) << info.number;
    EXPECT_EQ(Decode(info.number, *bytes), text) << info.number;
  }
}

// Control characters are bytes of the same value in every single- or double-byte code page
// (ISO-2022-JP keeps SO, SI and ESC for its own escapes).
TEST(InstalledCodePages, ControlCharactersKeepTheirBytes) {
  for (const auto& info : common::InstalledCodePages()) {
    if (info.number == common::kCodePageUtf16Le || info.number == common::kCodePageUtf16Be) continue;
    for (char16_t c = 1; c < 0x80; ++c) {
      if (c >= 0x20 && c < 0x7F) continue;
      if (info.number == 50220 && (c == 0x0E || c == 0x0F || c == 0x1B)) continue;
      const std::u16string text = {u'a', c, u'b'};
      const auto bytes = Encode(info.number, text);
      ASSERT_TRUE(bytes.has_value()) << info.number;
      EXPECT_EQ(*bytes, (std::string{'a', static_cast<char>(c), 'b'}))
          << info.number << " U+" << std::hex << static_cast<int>(c);
      EXPECT_EQ(Decode(info.number, *bytes), text) << info.number << " " << static_cast<int>(c);
    }
  }
}

TEST(DecodeBytes, Cases) {
  struct Case {
    CodePage cp;
    std::string bytes;
    std::optional<std::u16string> text;  // nullopt: fails
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {1200, "A\0B\0"s, u"AB"},
      {1200, "A\0B"s, u"AB"},                 // odd final byte is the low byte of a last unit
      {1201, "\0A\0B"s, u"AB"},
      {1201, "\0A\x30"s, u"A\u3000"},         // odd final byte is the high byte
      {1200, "\xFF\xFE" "A\0"s, u"\uFEFFA"},  // no signature handling at this level
      {1200, "A\0\0\0B\0"s, u"A"},            // cut at the first U+0000
      {1200, "\0\0A\0"s, std::nullopt},       // nothing before the U+0000
      {1200, ""s, std::nullopt},
      {932, "\x82\xA0\x8A\xBF"s, u"\u3042\u6F22"},
      {932, "a\0b"s, u"a"},
      {932, "\0abc"s, std::nullopt},
      {932, ""s, std::nullopt},
      {936, "\xC4\xE3"s, u"\u4F60"},
      {950, "\xA7\x41"s, u"\u4F60"},
      {1252, "\x80"s, u"\u20AC"},
      {65001, "\xE3\x81\x82\xF0\x9F\x98\x80"s, u"\u3042\U0001F600"},
      {50220, "\x1B$B$\"\x1B(B"s, u"\u3042"},
      {20932, "\xA4\xA2"s, u"\u3042"},
      {54936, "\x81\x30\x81\x30"s, u"\u0080"},
      {12345, "abc"s, std::nullopt},  // unknown code page
      {28603, "abc"s, std::nullopt},  // never offered
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Decode(c.cp, c.bytes), c.text) << c.cp << " " << c.bytes.size();
  }
  // Broken multi-byte input still decodes; the broken bytes become replacement characters.
  const auto broken = Decode(932, "a\x82");
  ASSERT_TRUE(broken.has_value());
  EXPECT_EQ(broken->substr(0, 1), u"a");
  EXPECT_GT(broken->size(), 1u);
}

TEST(EncodeText, Cases) {
  struct Case {
    CodePage cp;
    std::u16string text;
    std::optional<std::string> bytes;  // nullopt: fails
  };
  using namespace std::string_literals;
  const Case cases[] = {
      {1200, u"AB", "A\0B\0"s},
      {1201, u"AB", "\0A\0B"s},
      {1201, u"\u4E00", "\x4E\x00"s},
      {1200, u"A\0B"s, "A\0\0\0B\0"s},  // UTF-16 keeps every unit
      {1200, u"", std::nullopt},
      {1201, u"", std::nullopt},
      {932, u"\u3042\u6F22", "\x82\xA0\x8A\xBF"s},
      {932, u"a\u0E01b", "a?b"s},   // Thai is not in Shift-JIS
      // Close matches, as the platform writes them: WAVE DASH, MINUS SIGN, YEN SIGN.
      {932, u"\u301C\u2212\u00A5", "\x81\x60\x81\x7C\x5C"s},
      {950, u"\u00E9", "e"s},
      {936, u"\u3042\u0E01", "\xA4\xA2?"s},
      {932, u"a\xD800" "b", "a?b"s},  // unpaired surrogate
      {850, u"\uFEFF", "?"s},         // default-ignorable characters are not dropped
      {932, u"a\u200Bb\u00AD", "a?b?"s},
      {932, u"a\0b"s, "a"s},        // code-page output ends at the first zero byte
      {932, u"\0a"s, std::nullopt},
      {932, u"", std::nullopt},
      {65001, u"\u3042\U0001F600\u00E9", "\xE3\x81\x82\xF0\x9F\x98\x80\xC3\xA9"s},
      {65001, u"a\xDC00" "b\xD800", "a\xEF\xBF\xBD" "b\xEF\xBF\xBD"s},
      {50220, u"\u3042", "\x1B$B$\"\x1B(B"s},
      {1252, u"\u20AC\u3042", "\x80?"s},
      {12345, u"abc", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Encode(c.cp, c.text), c.bytes) << c.cp << " " << c.text.size();
  }
}

// Output longer than twice the text (UTF-8 for CJK, GB18030 for supplementary characters) is
// delivered whole.
TEST(EncodeText, DeliversLongEncodingsWhole) {
  const std::u16string cjk(10000, u'\u6F22');
  const auto utf8 = Encode(65001, cjk);
  ASSERT_TRUE(utf8.has_value());
  EXPECT_EQ(utf8->size(), 30000u);
  EXPECT_EQ(Decode(65001, *utf8), cjk);

  std::u16string ext;
  for (int i = 0; i < 3000; ++i) ext += u"\U00020000\u0080";
  const auto gb = Encode(54936, ext);
  ASSERT_TRUE(gb.has_value());
  EXPECT_EQ(gb->size(), 3000u * 8);
  EXPECT_EQ(Decode(54936, *gb), ext);
}

// Long texts are converted in pieces; pairs and surrogate pairs that straddle a piece's end,
// and a U+0000 far into the text, come out as in a short text.
TEST(DecodeBytes, LongTextsAcrossPieces) {
  std::string sjis = "a";
  std::u16string text = u"a";
  for (int i = 0; i < 40000; ++i) {
    sjis += i % 7 == 0 ? "\x82\xA0x" : "\x8A\xBF";
    text += i % 7 == 0 ? u"\u3042x" : u"\u6F22";
  }
  // (EXPECT_TRUE on ==: a failure would otherwise print hundreds of kilobytes.)
  EXPECT_TRUE(Decode(932, sjis) == text);
  EXPECT_TRUE(Decode(932, sjis + std::string(1, '\0') + "tail") == text);
  // A broken pair far into the text still decodes whole, the pair replaced.
  const auto broken = Decode(932, sjis + "\x82");
  ASSERT_TRUE(broken.has_value());
  EXPECT_TRUE(broken->substr(0, text.size()) == text);
  EXPECT_EQ(broken->size(), text.size() + 1);

  std::u16string wide = u"a";
  std::string utf8 = "a";
  for (int i = 0; i < 20000; ++i) {
    wide += u"\U0001F600\u00E9";
    utf8 += "\xF0\x9F\x98\x80\xC3\xA9";
  }
  EXPECT_TRUE(Encode(65001, wide) == utf8);
  EXPECT_TRUE(Encode(65001, wide + u'\0' + u"tail") == utf8);
  // 12345 units: "a", 4114 groups of three units, and one more surrogate pair.
  EXPECT_TRUE(Encode(65001, wide.substr(0, 12345) + u'\0' + wide) == utf8.substr(0, 1 + 4114 * 6 + 4));
}

TEST(CodePageOfCharset, MapsLocaleCharsets) {
  const std::pair<const char*, CodePage> cases[] = {
      {"UTF-8", 65001},       {"utf8", 65001},        {"ANSI_X3.4-1968", 65001},
      {"EUC-TW", 65001},      {"ISO-8859-13", 65001}, {"", 65001},
      {"EUC-JP", 20932},      {"SHIFT_JIS", 932},     {"BIG5", 950},
      {"BIG5-HKSCS", 950},    {"GBK", 936},           {"GB2312", 936},
      {"GB18030", 54936},     {"EUC-KR", 51949},      {"ISO-8859-1", 28591},
      {"ISO-8859-15", 28605}, {"CP1251", 1251},       {"KOI8-R", 20866},
  };
  for (const auto& [charset, cp] : cases) EXPECT_EQ(common::CodePageOfCharset(charset), cp) << charset;
}

}  // namespace
