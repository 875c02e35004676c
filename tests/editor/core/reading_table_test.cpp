#include "editor/core/reading_table.h"

#include <gtest/gtest.h>

#include "editor/core/reading_lookup.h"
#include "reading_fixture.h"

using orvi::ConjugationTable;
using orvi::FindWord;
using orvi::LoadConjugationTable;
using orvi::LoadReadingTable;
using orvi::ReadingTable;
using orvi_test::Bytes;
using orvi_test::PackLzmaAlone;
using orvi_test::PackTable;
using orvi_test::Utf16Le;

namespace {

const std::vector<std::pair<std::u16string, std::u16string>> kEntries = {
    {u"一", u"_いち_._いっか._ひとつ._ひとま"},
    {u"一人一人", u"_ひとりひとり_._ひとりびとり_"},
    {u"日", u"_ひ_"},
    {u"日本", u"_にほん_"},
    {u"齎", u"_もたら"},
};

}  // namespace

TEST(ReadingTable, IndexesCountedEntriesInPlaceAndIgnoresStrayLines) {
  ReadingTable table;
  // The stray line repeats an entry after the counted ones, as the shipped tables do.
  const auto status = LoadReadingTable(PackTable(kEntries, u"齎:_もたらす_\n"), table);
  ASSERT_TRUE(status.ok) << status.message;
  ASSERT_EQ(table.count, 5);
  EXPECT_EQ(table.Word(0), u"一");
  EXPECT_EQ(std::u16string_view(table.ReadingsAt(0)), u"_いち_._いっか._ひとつ._ひとま");
  EXPECT_EQ(table.Word(1), u"一人一人");
  EXPECT_EQ(table.Word(4), u"齎");
  // The readings string ends at the terminator that replaced the LF.
  EXPECT_EQ(std::u16string_view(table.ReadingsAt(4)), u"_もたら");
  for (std::int32_t k = 0; k < table.count; ++k) {
    const std::u16string_view readings = table.ReadingsAt(k);
    EXPECT_EQ(readings.find(u':'), std::u16string_view::npos);
    EXPECT_EQ(readings.find(u'\n'), std::u16string_view::npos);
    EXPECT_EQ(FindWord(table, table.Word(k)), k);
  }
}

TEST(ReadingTable, CountLineStopsAtFirstNonDigit) {
  // "2x" counts two entries; the third line is never indexed.
  std::u16string text = u"\uFEFF2x\n一:_いち_\n日:_ひ_\n本:_ほん_\n";
  ReadingTable table;
  ASSERT_TRUE(LoadReadingTable(PackLzmaAlone(Utf16Le(text)), table).ok);
  EXPECT_EQ(table.count, 2);
  EXPECT_EQ(FindWord(table, u"本"), -1);
}

TEST(ReadingTable, AcceptsAStreamThatLeavesItsSizeOpen) {
  ReadingTable table;
  const auto status = LoadReadingTable(PackLzmaAlone(Utf16Le(orvi_test::TableText(kEntries)), false), table);
  ASSERT_TRUE(status.ok) << status.message;
  EXPECT_EQ(table.count, 5);
  EXPECT_EQ(FindWord(table, u"日本"), 3);
}

TEST(ReadingTable, BadBytesGiveAnErrorAndAnEmptyTable) {
  const Bytes good = PackTable(kEntries);
  Bytes truncated(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(good.size() / 2));
  Bytes garbage(200, 0xA5);
  Bytes odd_size = good;
  odd_size[5] = static_cast<unsigned char>(odd_size[5] | 1);
  Bytes huge = good;
  huge[8] = 0x7F;  // recorded size far beyond any table
  const std::u16string short_count = u"\uFEFF9\n一:_いち_\n";
  const std::u16string no_colon = u"\uFEFF2\n一_いち_\n日:_ひ_\n";
  const std::u16string no_count_end = u"\uFEFF12";
  const std::u16string empty_readings = u"\uFEFF1\n一:\n";
  const std::u16string nul_in_word = std::u16string(u"\uFEFF1\n一") + u'\0' + u"二:_い_\n";
  const std::u16string nul_in_readings = std::u16string(u"\uFEFF1\n一:_い") + u'\0' + u"_\n";
  const std::u16string unsorted = u"\uFEFF3\n日:_ひ_\n一:_いち_\n本:_ほん_\n";
  // Out of order only among the words sharing a first character, and a word given twice: the
  // word search would miss entries in either.
  const std::u16string unsorted_group = u"\uFEFF3\n日本語:_にほんご_\n日本:_にほん_\n日:_ひ_\n";
  const std::u16string twice = u"\uFEFF2\n日:_ひ_\n日:_にち_\n";
  const struct {
    const char* name;
    Bytes bytes;
  } cases[] = {
      {"missing", {}},
      {"shorter than the header", Bytes(good.begin(), good.begin() + 10)},
      {"truncated stream", truncated},
      {"not a stream", garbage},
      {"odd recorded size", odd_size},
      {"implausible size", huge},
      {"fewer lines than counted", PackLzmaAlone(Utf16Le(short_count))},
      {"line without colon", PackLzmaAlone(Utf16Le(no_colon))},
      {"count line without end", PackLzmaAlone(Utf16Le(no_count_end))},
      {"entry without readings", PackLzmaAlone(Utf16Le(empty_readings))},
      {"U+0000 in a word", PackLzmaAlone(Utf16Le(nul_in_word))},
      {"U+0000 in the readings", PackLzmaAlone(Utf16Le(nul_in_readings))},
      {"entries out of order", PackLzmaAlone(Utf16Le(unsorted))},
      {"entries out of order after the first character", PackLzmaAlone(Utf16Le(unsorted_group))},
      {"a word twice", PackLzmaAlone(Utf16Le(twice))},
  };
  for (const auto& c : cases) {
    ReadingTable table;
    ASSERT_TRUE(LoadReadingTable(good, table).ok);  // a failed load must not keep the old one
    const auto status = LoadReadingTable(c.bytes, table);
    EXPECT_FALSE(status.ok) << c.name;
    EXPECT_FALSE(status.message.empty()) << c.name;
    EXPECT_EQ(table.count, 0) << c.name;
    EXPECT_EQ(FindWord(table, u"一"), -1) << c.name;
  }
}

TEST(ConjugationTable, ReadsRowsAndIrregularPairsByPosition) {
  ConjugationTable table;
  const Bytes bytes = orvi_test::ConjugationBytes();
  ASSERT_EQ(bytes.size(), 258u);
  ASSERT_TRUE(LoadConjugationTable(bytes, table).ok);
  EXPECT_EQ(table.rows[0].ending, u'い');
  EXPECT_EQ(std::u16string_view(table.rows[0].inflected, 6), u"かくけそさ_");
  EXPECT_EQ(std::u16string_view(table.rows[3].inflected, 6), u"さそしせ__");
  EXPECT_EQ(table.rows[8].ending, u'る');
  EXPECT_EQ(table.rows[10].ending, u'る');
  EXPECT_EQ(std::u16string_view(table.rows[10].inflected, 6), u"なたまれよろ");
  EXPECT_EQ(table.irregular_key, u'来');
  std::u16string pairs;
  for (const auto& pair : table.pairs) pairs += std::u16string{pair.reading, pair.next};
  EXPECT_EQ(pairs, u"こなきたきまくるくれこいきて");

  Bytes cut(bytes.begin(), bytes.begin() + 250);
  EXPECT_FALSE(LoadConjugationTable(cut, table).ok);
  EXPECT_EQ(table.irregular_key, 0);
  EXPECT_FALSE(LoadConjugationTable({}, table).ok);
}
