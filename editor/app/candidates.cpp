#include "editor/app/candidates.h"

#include "editor/core/reading_lookup.h"

namespace orvi {

TableStatus DictionaryCandidates::Load() { return LoadReadingTables(dictionary_); }

std::optional<std::vector<std::u16string>> DictionaryCandidates::Lookup(
    char16_t left, std::u16string_view word, char16_t right) {
  std::unique_ptr<CandidateSet> set = LookupCandidates(dictionary_, left, word, right);
  if (!set || set->empty()) return std::nullopt;
  std::vector<std::u16string> best_first;
  best_first.reserve(static_cast<std::size_t>(set->count()));
  while (const std::u16string* reading = set->TakeBest()) best_first.push_back(*reading);
  return best_first;
}

}  // namespace orvi
