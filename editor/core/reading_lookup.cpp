#include "editor/core/reading_lookup.h"

#include "common/kanji.h"

namespace orvi {

namespace {

bool IsKana(char16_t c) {
  return (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA) || c == 0x30FC ||
         (c >= 0xFF65 && c <= 0xFF9D);
}

// Compares a zero-terminated word of a table with a key of known length.
int CompareStored(const char16_t* stored, std::u16string_view key) {
  std::size_t k = 0;
  for (; k < key.size(); ++k) {
    const char16_t a = stored[k];
    if (a == 0) return -1;  // the stored word is a proper prefix of the key
    if (a != key[k]) return a < key[k] ? -1 : 1;
  }
  return stored[k] == 0 ? 0 : 1;
}

// Compares entry k of the table with a key that shares its first code unit.
int CompareEntry(const ReadingTable& table, std::int32_t k, std::u16string_view key) {
  const ReadingTable::IndexEntry& e = table.index[static_cast<std::size_t>(k)];
  const char16_t b2 = key.size() > 1 ? key[1] : 0;
  if (e.second != b2) return e.second < b2 ? -1 : 1;
  if (b2 == 0) return 0;  // both are the one shared character
  const char16_t b3 = key.size() > 2 ? key[2] : 0;
  if (e.third != b3) return e.third < b3 ? -1 : 1;
  if (b3 == 0) return 0;  // both are the same two characters
  return CompareStored(table.text + e.offset + 3, key.substr(3));
}

bool IsIrregular(const ConjugationTable& conjugation, std::u16string_view word) {
  // Only the single kanji takes the irregular readings: a longer word that merely starts with it
  // (来週, 来年) has readings of its own and must not be read as one kana.
  return conjugation.irregular_key != 0 && word.size() == 1 &&
         word[0] == conjugation.irregular_key;
}

std::unique_ptr<CandidateSet> CollectCandidates(const ReadingTable& table,
                                                const ConjugationTable& conjugation,
                                                std::u16string_view word, char16_t left,
                                                char16_t right, int weight) {
  const std::int32_t k = FindWord(table, word);
  if (k < 0) return nullptr;
  auto set = std::make_unique<CandidateSet>();
  const char16_t* readings = table.ReadingsAt(k);
  std::size_t cursor = 0;
  DictReading r;
  while (NextReading(readings, cursor, r)) {
    const int score = Weigh(ScoreReading(conjugation, left, r.left, r.right, right), weight);
    if (score > 0) set->Add(r.kana, score);
  }
  return set;
}

}  // namespace

char16_t ClassifyContext(char16_t c) { return IsKana(c) ? c : kNonKana; }

int CompareWords(std::u16string_view a, std::u16string_view b) {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t k = 0; k < n; ++k) {
    if (a[k] != b[k]) return a[k] < b[k] ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

std::int32_t FindWord(const ReadingTable& table, std::u16string_view word) {
  if (table.count <= 0 || word.empty()) return -1;
  // Only the entries that share the word's first code unit can match: the binary search starts
  // on their window.
  std::int32_t lo = static_cast<std::int32_t>(table.first[word[0]]);
  std::int32_t hi = static_cast<std::int32_t>(table.first[word[0] + 1u]) - 1;
  if (lo > hi) return -1;
  std::int32_t mid = lo + (hi - lo) / 2;
  int c = CompareEntry(table, mid, word);
  if (c == 0) return mid;
  for (;;) {
    if (hi - lo <= 4) {
      for (std::int32_t k = lo; k <= hi; ++k) {
        if (CompareEntry(table, k, word) == 0) return k;
      }
      return -1;
    }
    if (c < 0) {
      lo = mid;
    } else {
      hi = mid;
    }
    mid = lo + (hi - lo) / 2;
    c = CompareEntry(table, mid, word);
    if (c == 0) return mid;
  }
}

bool NextReading(const char16_t* readings, std::size_t& cursor, DictReading& out) {
  for (;;) {
    if (readings[cursor] == 0) return false;
    if (readings[cursor] == u'.') {
      ++cursor;
      if (readings[cursor] == 0) return false;
    }
    const std::size_t start = cursor;
    std::size_t end = start + 1;
    while (readings[end] != 0 && readings[end] != u'.') ++end;
    cursor = end;
    if (end - start >= 3) {
      out.left = readings[start];
      out.right = readings[end - 1];
      out.kana = std::u16string_view(readings + start + 1, end - start - 2);
      return true;
    }
    // A piece of one or two code units has no kana between its contexts: not a reading.
  }
}

bool IsConjugatedEnding(const ConjugationTable& conjugation, char16_t text_right,
                        char16_t dict_right) {
  if (text_right == kNonKana || dict_right == kNonKana) return false;
  for (const ConjugationRow& row : conjugation.rows) {
    if (row.ending != dict_right) continue;
    for (char16_t c : row.inflected) {
      if (c != kNonKana && c == text_right) return true;
    }
  }
  return false;
}

int ScoreReading(const ConjugationTable& conjugation, char16_t text_left, char16_t dict_left,
                 char16_t dict_right, char16_t text_right) {
  int left_points;
  if (dict_left == kNonKana) {
    left_points = text_left == kNonKana ? 30 : 15;
  } else if (text_left == kNonKana) {
    left_points = 10;
  } else {
    left_points = text_left == dict_left ? 40 : 5;
  }
  int right_points;
  if (dict_right == kNonKana) {
    right_points = text_right == kNonKana ? 30 : 15;
  } else if (text_right == kNonKana) {
    right_points = 10;
  } else if (text_right == dict_right) {
    right_points = 60;
  } else {
    right_points = IsConjugatedEnding(conjugation, text_right, dict_right) ? 50 : 5;
  }
  return left_points + right_points;
}

ScoredReading BestReadingInTable(const ReadingTable& table, const ConjugationTable& conjugation,
                                 std::u16string_view word, char16_t left, char16_t right,
                                 int weight) {
  ScoredReading best;
  const std::int32_t k = FindWord(table, word);
  if (k < 0) return best;
  const char16_t* readings = table.ReadingsAt(k);
  std::size_t cursor = 0;
  DictReading r;
  std::u16string_view best_kana;
  while (NextReading(readings, cursor, r)) {
    const int score = Weigh(ScoreReading(conjugation, left, r.left, r.right, right), weight);
    if (score > best.score) {
      best.score = score;
      best_kana = r.kana;
    }
  }
  best.reading.assign(best_kana);
  return best;
}

std::optional<std::u16string> BestReading(const ReadingDictionary& dictionary, char16_t left,
                                          char16_t right, std::u16string_view word) {
  if (word.empty()) return std::nullopt;
  left = ClassifyContext(left);
  right = ClassifyContext(right);
  const ConjugationTable& conjugation = dictionary.conjugation;
  if (IsIrregular(conjugation, word) && right != kNonKana) {
    for (const IrregularPair& pair : conjugation.pairs) {
      if (pair.next != right) continue;
      if (pair.reading != kNonKana) return std::u16string(1, pair.reading);
      break;
    }
  }
  ScoredReading s = BestReadingInTable(dictionary.small, conjugation, word, left, right,
                                       kSmallTableWeight);
  if (s.score >= kConfidentScore) return std::move(s.reading);
  ScoredReading l = BestReadingInTable(dictionary.large, conjugation, word, left, right,
                                       kLargeTableWeight);
  if (l.score > s.score + kLargeTableMargin || s.score == 0) {
    if (l.score == 0) return std::nullopt;
    return std::move(l.reading);
  }
  return std::move(s.reading);
}

void CandidateSet::Add(std::u16string_view reading, int score) {
  for (auto& c : candidates_) {
    if (c->reading == reading) {
      if (score > c->score) c->score = score;
      return;
    }
  }
  auto c = std::make_unique<Candidate>();
  c->reading.assign(reading);
  c->score = score;
  candidates_.push_back(std::move(c));
}

void CandidateSet::MergeInto(const CandidateSet& source) {
  for (const auto& c : source.candidates_) {
    if (c->score > 0) Add(c->reading, c->score);
  }
}

const std::u16string* CandidateSet::TakeBest() {
  Candidate* best = nullptr;
  for (auto& c : candidates_) {
    if (c->taken || c->score <= 0) continue;
    if (!best || c->score > best->score) best = c.get();
  }
  if (!best) return nullptr;
  best->taken = true;
  return &best->reading;
}

void CandidateSet::Release() {
  candidates_.clear();
  candidates_.shrink_to_fit();
}

int CandidateSet::MaxScore() const {
  int best = 0;
  for (const auto& c : candidates_) {
    if (c->score > best) best = c->score;
  }
  return best;
}

std::unique_ptr<CandidateSet> LookupCandidates(const ReadingDictionary& dictionary, char16_t left,
                                               std::u16string_view word, char16_t right) {
  if (word.empty()) return nullptr;
  for (char16_t c : word) {
    if (!common::IsKanji(c)) return nullptr;
  }
  left = ClassifyContext(left);
  right = ClassifyContext(right);
  const ConjugationTable& conjugation = dictionary.conjugation;
  if (IsIrregular(conjugation, word)) {
    auto set = std::make_unique<CandidateSet>();
    for (const IrregularPair& pair : conjugation.pairs) {
      if (pair.reading != kNonKana) set->Add(std::u16string_view(&pair.reading, 1), 100);
    }
    return set;
  }
  auto a = CollectCandidates(dictionary.small, conjugation, word, left, right, kSmallTableWeight);
  auto b = CollectCandidates(dictionary.large, conjugation, word, left, right, kLargeTableWeight);
  if (!a) return b;
  if (b) a->MergeInto(*b);
  return a;
}

}  // namespace orvi
