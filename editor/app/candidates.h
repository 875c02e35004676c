#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "editor/core/reading_table.h"

namespace orvi {

// Auto Hint's source of readings: the candidates of the reading dictionary for a run and its
// two neighbours (each the code unit next to the run in the CR LF text, or "_" at the text's
// start or end), best first. None when the dictionary knows no reading.
class CandidateProvider {
 public:
  virtual ~CandidateProvider() = default;
  virtual std::optional<std::vector<std::u16string>> Lookup(char16_t left,
                                                           std::u16string_view word,
                                                           char16_t right) = 0;
  // The tables behind the candidates, for the notation walk; none when there are none.
  virtual const ReadingDictionary* dictionary() const { return nullptr; }
};

}  // namespace orvi

namespace orvi {

// The reading dictionary embedded in the program, asked through LookupCandidates.
class DictionaryCandidates : public CandidateProvider {
 public:
  // Loads the embedded tables; on failure the dictionary stays empty and knows no word.
  TableStatus Load();
  std::optional<std::vector<std::u16string>> Lookup(char16_t left, std::u16string_view word,
                                                   char16_t right) override;
  const ReadingDictionary* dictionary() const override { return &dictionary_; }

 private:
  ReadingDictionary dictionary_;
};

}  // namespace orvi
