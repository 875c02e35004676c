#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
};

}  // namespace orvi
