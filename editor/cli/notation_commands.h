#pragma once

#include <string>
#include <vector>

namespace orvi::cli {

// orvi-cli notate: imports like convert, reads every kanji run from the dictionary (Auto), and
// writes like convert.
extern const char* const kNotateUsage;
int RunNotate(const std::vector<std::string>& args);

// orvi-cli lookup [--left C] [--right C] WORD: the best reading and every candidate with its
// score.
extern const char* const kLookupUsage;
int RunLookup(const std::vector<std::string>& args);

}  // namespace orvi::cli
