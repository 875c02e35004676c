#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/reading_table.h"

namespace orvi {

// Context character standing for any neighbour that is not kana (or no neighbour at all).
inline constexpr char16_t kNonKana = u'_';

// A neighbour as the tables record it: kana stay themselves, everything else (0 included)
// becomes '_'.
char16_t ClassifyContext(char16_t c);

// Code-unit order of words; a prefix sorts first. Negative, zero or positive.
int CompareWords(std::u16string_view a, std::u16string_view b);

// Entry number of the word in the table, or -1.
std::int32_t FindWord(const ReadingTable& table, std::u16string_view word);

// One reading of a readings string: its recorded contexts and the kana between them (a view into
// the table).
struct DictReading {
  char16_t left = kNonKana;
  std::u16string_view kana;
  char16_t right = kNonKana;
};

// Walks a readings string from cursor 0. False at the terminator. Pieces too short to hold two
// contexts and a kana are passed over.
bool NextReading(const char16_t* readings, std::size_t& cursor, DictReading& out);

// True when text_right is one of the inflected kana of a row ending in dict_right.
bool IsConjugatedEnding(const ConjugationTable& conjugation, char16_t text_right,
                        char16_t dict_right);

// Context score of one reading, 10 to 100. The text neighbours are already classified.
int ScoreReading(const ConjugationTable& conjugation, char16_t text_left, char16_t dict_left,
                 char16_t dict_right, char16_t text_right);

// Weights of the two tables, in tenths: the small table counts in full, the large one at 0.9
// (truncated toward zero).
inline constexpr int kSmallTableWeight = 10;
inline constexpr int kLargeTableWeight = 9;
inline constexpr int Weigh(int score, int weight) { return score * weight / 10; }

// The score at which the small table's best reading is taken without consulting the large one,
// and the margin by which the large table must beat it otherwise.
inline constexpr int kConfidentScore = 60;
inline constexpr int kLargeTableMargin = 10;

struct ScoredReading {
  std::u16string reading;
  int score = 0;
};

// Highest weighted score among the word's readings in one table, the first on a tie. Empty
// reading and score 0 when the table does not know the word.
ScoredReading BestReadingInTable(const ReadingTable& table, const ConjugationTable& conjugation,
                                 std::u16string_view word, char16_t left, char16_t right,
                                 int weight);

// The one reading Auto notation takes for a run, or none. left and right are raw neighbours.
// The single kanji 来 before one of the kana of its irregular row reads as that row says (く
// before る) without consulting the tables. Otherwise the small table's best answers when it
// scores kConfidentScore or more, the large table's when it beats it by more than
// kLargeTableMargin or the small table does not know the word.
std::optional<std::u16string> BestReading(const ReadingDictionary& dictionary, char16_t left,
                                          char16_t right, std::u16string_view word);

// Distinct readings with scores, in order of first addition; taken best first.
class CandidateSet {
 public:
  struct Candidate {
    std::u16string reading;
    bool taken = false;
    int score = 0;
  };

  // Adds a reading, or raises the score of an equal one already present (it keeps its place).
  void Add(std::u16string_view reading, int score);
  // Adds every candidate of `source` whose score is above 0.
  void MergeInto(const CandidateSet& source);
  // The best candidate not yet taken (the first on a tie), now marked taken; nullptr when none
  // is left. The pointer stays valid until the set is released or destroyed.
  const std::u16string* TakeBest();
  // Frees every candidate.
  void Release();

  std::int32_t count() const { return static_cast<std::int32_t>(candidates_.size()); }
  bool empty() const { return candidates_.empty(); }
  const Candidate& candidate(std::int32_t k) const {
    return *candidates_[static_cast<std::size_t>(k)];
  }
  // Highest score over all candidates, taken or not; 0 for an empty set.
  int MaxScore() const;

 private:
  // Each candidate is held on its own so that TakeBest's pointers survive later additions.
  std::vector<std::unique_ptr<Candidate>> candidates_;
};

// Every reading of both tables for the word with its weighted score: the small table's first in
// line order, then the large table's others. nullptr when the word is empty, holds a character
// that is not a kanji, or neither table knows it. left and right are raw neighbours. For the
// single kanji 来 the set is the readings of its irregular row, each at 100.
std::unique_ptr<CandidateSet> LookupCandidates(const ReadingDictionary& dictionary, char16_t left,
                                               std::u16string_view word, char16_t right);

}  // namespace orvi
