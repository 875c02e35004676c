// Checks the tables embedded in orvi_core: the LZMA-alone containers, the reading-table text
// (count line, entry lines, order, words and readings) and the fixed conjugation layout.
#include <gtest/gtest.h>
#include <lzma.h>

#include <cstdint>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "common/kanji.h"
#include "editor/core/dictionary_data.h"
#include "editor/core/reading_lookup.h"
#include "editor/core/reading_table.h"

namespace {

bool IsContextKana(char16_t c) {
  return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC ||
         (c >= 0xFF65 && c <= 0xFF9D);
}

std::uint64_t LittleEndian(const unsigned char* p, int n) {
  std::uint64_t v = 0;
  for (int i = n - 1; i >= 0; --i) v = (v << 8) | p[i];
  return v;
}

struct Decoded {
  bool ok = false;
  std::string error;
  std::u16string text;
};

// Decodes an LZMA-alone blob with liblzma's own container decoder, which takes the
// unpacked size from the header and refuses a stream that disagrees with it.
Decoded DecodeAlone(orvi::EmbeddedBlob blob) {
  Decoded d;
  if (!blob.data || blob.size < 13) {
    d.error = "blob missing or shorter than the header";
    return d;
  }
  const std::uint64_t size = LittleEndian(blob.data + 5, 8);
  if (size % 2 != 0 || size > (64u << 20)) {
    d.error = "implausible unpacked size " + std::to_string(size);
    return d;
  }
  std::vector<unsigned char> out(size + 1);  // one spare byte: more output is an error
  lzma_stream stream = LZMA_STREAM_INIT;
  if (lzma_alone_decoder(&stream, UINT64_MAX) != LZMA_OK) {
    d.error = "decoder init failed";
    return d;
  }
  stream.next_in = blob.data;
  stream.avail_in = blob.size;
  stream.next_out = out.data();
  stream.avail_out = out.size();
  const lzma_ret ret = lzma_code(&stream, LZMA_FINISH);
  const std::uint64_t produced = stream.total_out;
  const std::size_t unread = stream.avail_in;
  lzma_end(&stream);
  if (ret != LZMA_STREAM_END) {
    d.error = "decoder returned " + std::to_string(static_cast<int>(ret));
    return d;
  }
  if (produced != size || unread != 0) {
    d.error = "decoded " + std::to_string(produced) + " bytes of " + std::to_string(size) +
              ", " + std::to_string(unread) + " input bytes left";
    return d;
  }
  d.text.resize(size / 2);
  for (std::size_t i = 0; i < d.text.size(); ++i) {
    d.text[i] = static_cast<char16_t>(out[2 * i] | (out[2 * i + 1] << 8));
  }
  d.ok = true;
  return d;
}

struct TableFacts {
  int count = 0;
  int readings = 0;
  std::vector<std::u16string> problems;  // the first few faults found
};

// Walks a reading table's text and records every rule it breaks.
TableFacts CheckTable(const std::u16string& text) {
  TableFacts f;
  auto fault = [&](std::u16string what) {
    if (f.problems.size() < 10) f.problems.push_back(std::move(what));
  };
  if (text.empty() || text[0] != 0xFEFF) {
    fault(u"no byte-order mark");
    return f;
  }
  std::size_t pos = 1;
  const std::size_t first_lf = text.find(u'\n', pos);
  if (first_lf == std::u16string::npos || first_lf == pos) {
    fault(u"no count line");
    return f;
  }
  for (std::size_t i = pos; i < first_lf; ++i) {
    if (text[i] < u'0' || text[i] > u'9') fault(u"count line is not decimal");
    f.count = f.count * 10 + (text[i] - u'0');
  }
  pos = first_lf + 1;
  std::u16string_view previous;
  for (int k = 0; k < f.count; ++k) {
    const std::size_t lf = text.find(u'\n', pos);
    if (lf == std::u16string::npos) {
      fault(u"fewer entry lines than counted");
      return f;
    }
    const std::u16string_view line(text.data() + pos, lf - pos);
    pos = lf + 1;
    const std::size_t colon = line.find(u':');
    if (colon == std::u16string_view::npos || colon == 0) {
      fault(u"line without word or colon: " + std::u16string(line));
      continue;
    }
    const std::u16string_view word = line.substr(0, colon);
    const std::u16string_view readings = line.substr(colon + 1);
    for (char16_t c : word) {
      if (!common::IsKanji(c)) fault(u"word fails the kanji test: " + std::u16string(word));
    }
    if (word.size() > 16) fault(u"word longer than a notation run: " + std::u16string(word));
    // Code-unit order, strictly ascending: std::u16string_view compares char16_t values,
    // which are unsigned, and puts a prefix first.
    if (k > 0 && !(previous < word)) fault(u"out of order or repeated: " + std::u16string(word));
    previous = word;

    std::set<std::u16string_view> seen;
    std::size_t start = 0;
    while (true) {
      std::size_t dot = readings.find(u'.', start);
      const std::u16string_view r =
          readings.substr(start, dot == std::u16string_view::npos ? dot : dot - start);
      ++f.readings;
      if (r.size() < 3) {
        fault(u"reading shorter than three code units in " + std::u16string(line));
      } else {
        const char16_t left = r.front(), right = r.back();
        if (left != u'_' && !IsContextKana(left)) fault(u"bad left context in " + std::u16string(line));
        if (right != u'_' && !IsContextKana(right)) fault(u"bad right context in " + std::u16string(line));
        for (char16_t c : r.substr(1, r.size() - 2)) {
          if (!IsContextKana(c)) fault(u"non-kana reading in " + std::u16string(line));
        }
      }
      if (!seen.insert(r).second) fault(u"repeated reading in " + std::u16string(line));
      if (dot == std::u16string_view::npos) break;
      start = dot + 1;
    }
  }
  return f;
}

std::string Utf8(const std::u16string& s) {
  std::string out;
  for (char16_t c : s) {
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
  return out;
}

// Whether a word's entry holds a reading (contexts included), found by a plain scan of the
// entry lines.
bool HasReading(const std::u16string& text, std::u16string_view word,
                std::u16string_view reading) {
  const std::u16string key = u"\n" + std::u16string(word) + u":";
  const std::size_t at = text.find(key);
  if (at == std::u16string::npos) return false;
  const std::size_t begin = at + key.size();
  const std::u16string readings = u"." + text.substr(begin, text.find(u'\n', begin) - begin) + u".";
  return readings.find(u"." + std::u16string(reading) + u".") != std::u16string::npos;
}

struct ShippedTable {
  const char* name;
  orvi::EmbeddedBlob (*blob)();
  int min_count;
  int max_count;
};

void PrintTo(const ShippedTable& table, std::ostream* os) { *os << table.name; }

class ShippedReadingTable : public testing::TestWithParam<ShippedTable> {};

TEST_P(ShippedReadingTable, ContainerHeaderIsTheShippedOne) {
  const orvi::EmbeddedBlob blob = GetParam().blob();
  ASSERT_NE(blob.data, nullptr);
  ASSERT_GT(blob.size, 13u);
  EXPECT_EQ(blob.data[0], 0x5D);                        // lc 3, lp 0, pb 2
  EXPECT_EQ(LittleEndian(blob.data + 1, 4), 8388608u);  // dictionary size
  const std::uint64_t size = LittleEndian(blob.data + 5, 8);
  EXPECT_NE(size, UINT64_MAX) << "the unpacked size must be known";
  EXPECT_LT(size, 1ull << 32) << "only the low 32 bits are read";
}

TEST_P(ShippedReadingTable, TextFollowsTheTableFormat) {
  const Decoded d = DecodeAlone(GetParam().blob());
  ASSERT_TRUE(d.ok) << d.error;
  const TableFacts f = CheckTable(d.text);
  for (const auto& p : f.problems) ADD_FAILURE() << Utf8(p);
  EXPECT_GE(f.count, GetParam().min_count);
  EXPECT_LE(f.count, GetParam().max_count);
  EXPECT_GE(f.readings, f.count);
}

INSTANTIATE_TEST_SUITE_P(
    Tables, ShippedReadingTable,
    testing::Values(ShippedTable{"small", &orvi::SmallReadingTableBlob, 10000, 15000},
                    ShippedTable{"large", &orvi::LargeReadingTableBlob, 100000, 400000}),
    [](const testing::TestParamInfo<ShippedTable>& info) { return std::string(info.param.name); });

TEST(ShippedReadingTables, CommonWordsCarryTheirEverydayReadings) {
  const Decoded small = DecodeAlone(orvi::SmallReadingTableBlob());
  const Decoded large = DecodeAlone(orvi::LargeReadingTableBlob());
  ASSERT_TRUE(small.ok && large.ok);
  struct Case {
    std::u16string_view word;
    std::u16string_view reading;  // left context, kana, right context
  };
  const Case cases[] = {
      {u"日本", u"_にほん_"}, {u"今日", u"_きょう_"}, {u"行", u"_いく"},  {u"来", u"_くる"},
      {u"読", u"_よむ"},      {u"人", u"_ひと_"},     {u"一", u"_いち_"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(HasReading(small.text, c.word, c.reading))
        << Utf8(std::u16string(c.word)) << " lacks " << Utf8(std::u16string(c.reading));
  }
  // The large table aligns every lexicon entry: compounds, and kanji read inside them.
  EXPECT_TRUE(HasReading(large.text, u"日本語", u"_にほんご_"));
  EXPECT_TRUE(HasReading(large.text, u"切", u"みきれ"));
}

// What Auto notation gives for everyday words with their neighbours in running text.
TEST(ShippedReadingTables, EverydayWordsReadRightInContext) {
  orvi::ReadingDictionary dictionary;
  const orvi::TableStatus status = orvi::LoadReadingTables(dictionary);
  ASSERT_TRUE(status.ok) << status.message;
  struct Case {
    char16_t left;
    std::u16string_view word;
    char16_t right;
    std::u16string_view reading;
  };
  const Case cases[] = {
      {0, u"日本語", 0, u"にほんご"},   {0, u"日本語", u'を', u"にほんご"},
      {0, u"今日", u'は', u"きょう"},   // the noun, not the greeting こんにちは
      {0, u"行", u'く', u"い"},         {0, u"行", u'き', u"い"},
      {0, u"行", u'っ', u"い"},         {0, u"来", u'る', u"く"},
      {0, u"来", u'な', u"こ"},         {0, u"読", u'む', u"よ"},
      {u'の', u"人", u'が', u"ひと"},   {0, u"故郷", 0, u"ふるさと"},
      {u'を', u"着", u'て', u"き"},     // an ichidan stem before て
  };
  for (const Case& c : cases) {
    const std::optional<std::u16string> got =
        orvi::BestReading(dictionary, c.left, c.right, c.word);
    EXPECT_EQ(Utf8(got.value_or(u"(none)")), Utf8(std::u16string(c.reading)))
        << Utf8(std::u16string(c.word)) << " before " << Utf8(std::u16string(1, c.right));
  }
}

TEST(ShippedConjugationTable, HasTheFixedLayout) {
  const orvi::EmbeddedBlob blob = orvi::ConjugationTableBlob();
  ASSERT_EQ(blob.size, 258u);
  std::u16string text(blob.size / 2, u'\0');
  for (std::size_t i = 0; i < text.size(); ++i) {
    text[i] = static_cast<char16_t>(blob.data[2 * i] | (blob.data[2 * i + 1] << 8));
  }
  const std::u16string expected =
      u"\uFEFF"
      u"い、かくけそさ_\r\nく、かこきいけ_\r\nぐ、がごぎいげ_\r\nす、さそしせ__\r\n"
      u"つ、たとちって_\r\nぬ、なのにんね_\r\nぶ、ばぼびんべ_\r\nむ、まもみんめ_\r\n"
      u"る、らろりっれ_\r\nう、わおいっえ_\r\nる、なたまれよろ\r\n"
      u"来、こなきたきまくるくれこいきて\r\n";
  EXPECT_EQ(Utf8(text), Utf8(expected));
}

}  // namespace
