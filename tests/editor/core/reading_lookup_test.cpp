#include "editor/core/reading_lookup.h"

#include <gtest/gtest.h>

#include <random>

#include "reading_fixture.h"

using namespace orvi;

namespace {

// Words named by the scores their readings get between の and か (unless said otherwise):
// small S against large L decides BestReading.
const std::vector<std::pair<std::u16string, std::u16string>> kSmall = {
    {u"一", u"_いち_._いっか._ひとつ._ひとま"},
    {u"一人一人", u"_ひとりひとり_._ひとりびとり_"},
    {u"日本", u"_にほん_"},
    {u"来", u"てくる.ききき._らい_._きたす._きたる._くる"},
    {u"来週", u"_らいしゅう_"},
    {u"帰", u"_かえる"},
    {u"甲", u"_こう_"},        // S 30
    {u"乙", u"_おつ_"},        // S 30
    {u"丙", u"のへいさ"},      // S 45
    {u"丁", u"のてい_"},       // S 55
    {u"戊", u"のぼく"},        // S 60 between _ and か (く conjugates to か)
    {u"上", u"のうえ_.きあげ.きあが"},
};
const std::vector<std::pair<std::u16string, std::u16string>> kLarge = {
    {u"日本", u"_にっぽん_._にほん_"},
    {u"甲", u"のきのえさ"},    // 45 -> 40: not more than 30 + 10
    {u"乙", u"のおと_"},       // 55 -> 49: beats 30 + 10
    {u"丙", u"_ひのえく"},     // 65 -> 58: beats 45 + 10
    {u"丁", u"_ちょうく"},     // 65 -> 58: loses to 55
    {u"戊", u"_つちのえか"},   // 90 -> 81: never consulted
    {u"己", u"のき_"},         // only here
    {u"上", u"_じょう_._うえ_"},
};

class Lookup : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto status = LoadReadingDictionary(orvi_test::PackTable(kSmall),
                                              orvi_test::PackTable(kLarge),
                                              orvi_test::ConjugationBytes(), dict_);
    ASSERT_TRUE(status.ok) << status.message;
  }
  std::u16string Best(char16_t left, std::u16string_view word, char16_t right) {
    return BestReading(dict_, left, right, word).value_or(u"(none)");
  }
  // The candidates as "reading score" in the order TakeBest hands them out.
  std::vector<std::pair<std::u16string, int>> Taken(char16_t left, std::u16string_view word,
                                                    char16_t right) {
    std::vector<std::pair<std::u16string, int>> out;
    auto set = LookupCandidates(dict_, left, word, right);
    if (!set) return out;
    while (const std::u16string* r = set->TakeBest()) {
      int score = 0;
      for (std::int32_t k = 0; k < set->count(); ++k) {
        if (&set->candidate(k).reading == r) score = set->candidate(k).score;
      }
      out.emplace_back(*r, score);
    }
    return out;
  }
  ReadingDictionary dict_;
};

using Candidates = std::vector<std::pair<std::u16string, int>>;

}  // namespace

TEST(ReadingLookup, ClassifyContextKeepsExactlyTheKana) {
  const struct {
    char16_t c;
    bool kana;
  } cases[] = {
      {0, false},      {u'a', false},   {u'日', false},  {u'\r', false},  {0x3040, false},
      {0x3041, true},  {0x3096, true},  {0x3097, false}, {0x3099, false}, {0x309F, false},
      {0x30A0, false}, {0x30A1, true},  {0x30FA, true},  {0x30FB, false}, {0x30FC, true},
      {0x30FD, false}, {0x30FF, false}, {0xFF64, false}, {0xFF65, true},  {0xFF76, true},
      {0xFF9D, true},  {0xFF9E, false}, {0xFF9F, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ClassifyContext(c.c), c.kana ? c.c : u'_') << std::hex << int(c.c);
  }
}

TEST(ReadingLookup, CompareWordsIsCodeUnitOrderWithPrefixesFirst) {
  EXPECT_EQ(CompareWords(u"日本", u"日本"), 0);
  EXPECT_LT(CompareWords(u"日", u"日本"), 0);
  EXPECT_GT(CompareWords(u"日本語", u"日本"), 0);
  EXPECT_LT(CompareWords(u"一", u"丁"), 0);
  // Unsigned comparison: a compatibility ideograph sorts after the basic block.
  EXPECT_GT(CompareWords(u"\uF900", u"\u9FBF"), 0);
}

TEST(ReadingLookup, FindWordFindsEveryEntryAndNothingBetween) {
  // Tables of many sizes exercise both the halving and the final scan.
  std::mt19937 random(7);
  for (int size : {0, 1, 2, 5, 6, 7, 40, 333}) {
    std::vector<std::pair<std::u16string, std::u16string>> entries;
    std::vector<std::u16string> words;
    while (static_cast<int>(words.size()) < size) {
      // Few first characters, so that the entries sharing one are many; even code units only.
      std::u16string w(1 + random() % 5, u'\0');
      w[0] = static_cast<char16_t>(0x4E00 + 2 * (random() % 3));
      for (std::size_t k = 1; k < w.size(); ++k) {
        w[k] = static_cast<char16_t>(0x4E00 + 2 * (random() % (k < 3 ? 4 : 200)));
      }
      if (std::find(words.begin(), words.end(), w) != words.end()) continue;
      words.push_back(w);
      entries.emplace_back(w, u"_か_");
    }
    ReadingTable table;
    ASSERT_TRUE(LoadReadingTable(orvi_test::PackTable(entries), table).ok);
    std::sort(words.begin(), words.end());
    for (std::size_t k = 0; k < words.size(); ++k) {
      EXPECT_EQ(FindWord(table, words[k]), static_cast<std::int32_t>(k)) << size;
      // Odd code units never occur: the word with its last unit raised by one is absent, as is
      // its extension by a unit and a shortened prefix that is not itself a word.
      std::u16string absent = words[k];
      absent.back() = static_cast<char16_t>(absent.back() + 1);
      EXPECT_EQ(FindWord(table, absent), -1);
      EXPECT_EQ(FindWord(table, words[k] + u"\u4E01"), -1);
    }
    EXPECT_EQ(FindWord(table, u""), -1);
  }
}

TEST(ReadingLookup, NextReadingSplitsContextsAndSkipsBrokenPieces) {
  const char16_t readings[] = u"_いち_.のうえ_..き.カナ";  // ends in two broken pieces
  std::size_t cursor = 0;
  DictReading r;
  std::u16string seen;
  while (NextReading(readings, cursor, r)) {
    seen += r.left;
    seen += u'[';
    seen += r.kana;
    seen += u']';
    seen += r.right;
  }
  // The empty piece between two dots and the lone "き" hold no reading.
  EXPECT_EQ(seen, u"_[いち]_の[うえ]_");
  EXPECT_FALSE(NextReading(readings, cursor, r));
}

TEST_F(Lookup, ScoreReadingFollowsBothTables) {
  const ConjugationTable& cj = dict_.conjugation;
  const struct {
    char16_t text_left, dict_left, dict_right, text_right;
    int score;
  } cases[] = {
      {u'_', u'_', u'_', u'_', 60},    {u'の', u'_', u'_', u'か', 30},
      {u'_', u'の', u'か', u'_', 20},  {u'の', u'の', u'か', u'か', 100},
      {u'を', u'の', u'る', u'ら', 55},  // 5 + conjugated 50
      {u'_', u'_', u'る', u'な', 80},  // row 11 counts as well as row 9
      {u'_', u'_', u'る', u'ろ', 80},  {u'_', u'_', u'る', u'ぬ', 35},
      {u'_', u'_', u'す', u'_', 40},   // the unused places of a row never match "_"
      {u'_', u'_', u'ｶ', ClassifyContext(u'ｶ'), 90},
      {ClassifyContext(u'ヽ'), u'_', u'_', u'_', 60},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScoreReading(cj, c.text_left, c.dict_left, c.dict_right, c.text_right), c.score)
        << int(c.dict_left) << " " << int(c.dict_right);
  }
}

TEST_F(Lookup, ConjugatedEndingsConsultEveryRowOfTheEnding) {
  const ConjugationTable& cj = dict_.conjugation;
  for (char16_t t : std::u16string_view(u"らろりっれなたまよ")) {
    EXPECT_TRUE(IsConjugatedEnding(cj, t, u'る')) << int(t);
  }
  for (char16_t t : std::u16string_view(u"るくぬ_")) EXPECT_FALSE(IsConjugatedEnding(cj, t, u'る'));
  EXPECT_TRUE(IsConjugatedEnding(cj, u'し', u'す'));
  EXPECT_FALSE(IsConjugatedEnding(cj, u'_', u'す'));  // "_" fills two places of the す row
  EXPECT_FALSE(IsConjugatedEnding(cj, u'か', u'_'));
  EXPECT_FALSE(IsConjugatedEnding(cj, u'か', u'か'));  // no row ends in か
}

TEST_F(Lookup, BestReadingThresholdsBetweenTheTables) {
  const struct {
    char16_t left;
    const char16_t* word;
    char16_t right;
    const char16_t* expected;
  } cases[] = {
      {0, u"日本", 0, u"にほん"},          // small 60 answers at once
      {u'の', u"甲", u'か', u"こう"},      // L 40 = S 30 + 10: the small table keeps it
      {u'の', u"乙", u'か', u"おと"},      // L 49 > S 30 + 10
      {u'の', u"丙", u'か', u"ひのえ"},    // L 58 > S 45 + 10
      {u'の', u"丁", u'か', u"てい"},      // L 58 < S 55 + 10
      {0, u"戊", u'か', u"ぼ"},            // S 60 wins over L 81
      {u'の', u"己", u'か', u"き"},        // only the large table: its best, score 15
      {0, u"庚", 0, u"(none)"},            // neither table
      {0, u"", 0, u"(none)"},
      {u'の', u"上", 0, u"うえ"},          // kana left context recorded
      {u'き', u"上", u'げ', u"あ"},
      {u'き', u"上", u'が', u"あ"},
      {0, u"上", 0, u"じょう"},            // small best 40 loses to 54 from the large table
      {0, u"一", u'か', u"いっ"},
      {0, u"一", u'つ', u"ひと"},
      {0, u"一人一人", 0, u"ひとりひとり"},  // a tie goes to the first reading of the line
      {0, u"帰", u'ら', u"かえ"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Best(c.left, c.word, c.right), c.expected) << int(c.word[0]);
  }
}

TEST_F(Lookup, IrregularRowOfTheSingleKanji) {
  const struct {
    char16_t right;
    const char16_t* expected;
  } cases[] = {
      {u'な', u"こ"}, {u'い', u"こ"}, {u'た', u"き"}, {u'ま', u"き"}, {u'て', u"き"},
      {u'る', u"く"}, {u'れ', u"く"},
      {u'の', u"らい"},  // no pair: the tables decide (らい scores 45)
      {0, u"らい"},
  };
  for (const auto& c : cases) EXPECT_EQ(Best(0, u"来", c.right), c.expected) << int(c.right);
  EXPECT_EQ(Taken(0, u"来", u'の'), (Candidates{{u"こ", 100}, {u"き", 100}, {u"く", 100}}));
  // A longer word starting with 来 has its own readings: 来週まで is not read as き.
  EXPECT_EQ(Best(0, u"来週", u'ま'), u"らいしゅう");
  EXPECT_EQ(Taken(0, u"来週", 0), (Candidates{{u"らいしゅう", 60}}));
}

TEST_F(Lookup, CandidatesMergeBothTablesSmallFirst) {
  EXPECT_EQ(Taken(0, u"日本", 0), (Candidates{{u"にほん", 60}, {u"にっぽん", 54}}));
  // 上 between non-kana: small うえ 40 and あ 20 (two readings, one candidate); the large
  // table adds じょう 54 and raises うえ to 54, which keeps its place.
  EXPECT_EQ(Taken(0, u"上", 0),
            (Candidates{{u"うえ", 54}, {u"じょう", 54}, {u"あ", 20}}));
  EXPECT_EQ(Taken(0, u"己", 0), (Candidates{{u"き", 36}}));  // large table only
  EXPECT_TRUE(Taken(0, u"庚", 0).empty());
  for (const char16_t* word : {u"", u"日の", u"日a", u"a"}) {
    EXPECT_EQ(LookupCandidates(dict_, 0, word, 0), nullptr);
  }
  auto set = LookupCandidates(dict_, 0, u"上", 0);
  ASSERT_NE(set, nullptr);
  EXPECT_EQ(set->MaxScore(), 54);
}

TEST(CandidateSet, AddKeepsPlacesAndHigherScores) {
  CandidateSet set;
  set.Add(u"あ", 20);
  set.Add(u"い", 50);
  set.Add(u"う", 50);
  set.Add(u"い", 10);  // lower: unchanged
  set.Add(u"あ", 50);  // higher: only the score changes
  ASSERT_EQ(set.count(), 3);
  EXPECT_EQ(set.candidate(0).reading, u"あ");
  EXPECT_EQ(set.candidate(0).score, 50);
  EXPECT_EQ(set.candidate(1).score, 50);

  // Ties go to the first in set order; pointers stay valid while the set grows.
  const std::u16string* first = set.TakeBest();
  ASSERT_NE(first, nullptr);
  for (int k = 0; k < 40; ++k) set.Add(std::u16string(1, static_cast<char16_t>(u'ぁ' + k)), 5);
  EXPECT_EQ(*first, u"あ");
  EXPECT_EQ(*set.TakeBest(), u"い");
  EXPECT_EQ(*set.TakeBest(), u"う");
  int rest = 0;
  while (set.TakeBest()) ++rest;
  EXPECT_EQ(rest, set.count() - 3);
  EXPECT_EQ(set.TakeBest(), nullptr);
  EXPECT_EQ(set.MaxScore(), 50);  // taken candidates still count

  CandidateSet other;
  other.Add(u"か", 0);  // not merged: no score
  other.Add(u"き", 70);
  CandidateSet merged;
  merged.Add(u"き", 30);
  merged.MergeInto(other);
  ASSERT_EQ(merged.count(), 1);
  EXPECT_EQ(merged.candidate(0).score, 70);

  merged.Release();
  EXPECT_TRUE(merged.empty());
  EXPECT_EQ(merged.TakeBest(), nullptr);
}
