// Loads the tables embedded in the program through the same loader the editor uses, and reads
// common words with them.
#include <gtest/gtest.h>

#include <algorithm>

#include "common/kanji.h"
#include "editor/core/reading_lookup.h"
#include "editor/core/reading_table.h"

using namespace orvi;

namespace {

const ReadingDictionary& Shipped() {
  static ReadingDictionary dictionary;
  static const TableStatus status = LoadReadingTables(dictionary);
  EXPECT_TRUE(status.ok) << status.message;
  return dictionary;
}

}  // namespace

TEST(ShippedLookup, EveryIndexedWordIsKanjiInOrderAndFoundWhereItStands) {
  const ReadingDictionary& d = Shipped();
  for (const ReadingTable* table : {&d.small, &d.large}) {
    ASSERT_GT(table->count, 0);
    for (std::int32_t k = 0; k < table->count; ++k) {
      const std::u16string_view word = table->Word(k);
      ASSERT_FALSE(word.empty()) << k;
      for (char16_t c : word) ASSERT_TRUE(common::IsKanji(c)) << k;
      if (k + 1 < table->count) {
        ASSERT_LT(CompareWords(word, table->Word(k + 1)), 0) << k;
      }
      ASSERT_EQ(FindWord(*table, word), k) << k;
      // Every readings string yields at least one reading and holds no stray separator.
      std::size_t cursor = 0;
      DictReading r;
      ASSERT_TRUE(NextReading(table->ReadingsAt(k), cursor, r)) << k;
    }
  }
  EXPECT_EQ(d.conjugation.irregular_key, u'来');
}

TEST(ShippedLookup, CommonWordsReadRight) {
  const ReadingDictionary& d = Shipped();
  const struct {
    char16_t left;
    const char16_t* word;
    char16_t right;
    std::vector<std::u16string> accepted;
  } cases[] = {
      {0, u"日本語", 0, {u"にほんご"}},
      {0, u"日本", 0, {u"にほん", u"にっぽん"}},
      {0, u"今日", u'は', {u"きょう"}},
      {0, u"行", u'く', {u"い", u"ゆ"}},  // both are everyday readings of 行く
      {0, u"来", u'る', {u"く"}},
      {0, u"来", u'た', {u"き"}},
      {0, u"来", u'な', {u"こ"}},
      {0, u"読", u'む', {u"よ"}},
  };
  for (const auto& c : cases) {
    const auto reading = BestReading(d, c.left, c.right, c.word);
    ASSERT_TRUE(reading.has_value()) << int(c.word[0]);
    EXPECT_NE(std::find(c.accepted.begin(), c.accepted.end(), *reading), c.accepted.end())
        << int(c.word[0]);
  }
  EXPECT_FALSE(BestReading(d, 0, 0, u"\u9FBF\u9FBF").has_value());
}
