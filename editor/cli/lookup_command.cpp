#include <cstdio>
#include <string>

#include "common/codepages.h"
#include "editor/cli/convert_command.h"
#include "editor/cli/notation_commands.h"
#include "editor/core/reading_lookup.h"
#include "editor/core/reading_table.h"

namespace orvi::cli {

const char* const kLookupUsage =
    "usage: orvi-cli lookup [--left C] [--right C] WORD\n"
    "\n"
    "Looks WORD (kanji, UTF-8) up in the reading dictionary between the neighbours C (one\n"
    "character each; without one the neighbour is absent). Prints \"best: READING\" (\"-\" when\n"
    "there is none), then every candidate, best first, as the reading and its score.\n"
    "\n"
    "Exit status: 0 found, 1 neither table knows the word, 2 usage error.\n";

namespace {

bool DecodeArgument(const std::string& arg, std::u16string& out) {
  return common::DecodeBytes(common::kCodePageUtf8, arg, out);
}

bool Print(std::u16string_view text) {
  std::string bytes;
  if (!common::EncodeText(common::kCodePageUtf8, text, bytes)) return false;
  return std::fwrite(bytes.data(), 1, bytes.size(), stdout) == bytes.size();
}

std::u16string Ascii(const std::string& s) { return std::u16string(s.begin(), s.end()); }

int UsageError(const std::string& message) {
  std::fprintf(stderr, "orvi-cli lookup: %s\n%s", message.c_str(), kLookupUsage);
  return kExitUsage;
}

}  // namespace

int RunLookup(const std::vector<std::string>& args) {
  char16_t neighbour[2] = {0, 0};  // left, right
  std::u16string word;
  bool have_word = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help") {
      std::fputs(kLookupUsage, stdout);
      return kExitOk;
    }
    if (a == "--left" || a == "--right") {
      if (i + 1 >= args.size()) return UsageError("option " + a + " needs a character");
      std::u16string c;
      if (!DecodeArgument(args[++i], c) || c.size() != 1) {
        return UsageError("option " + a + " takes exactly one character");
      }
      neighbour[a == "--left" ? 0 : 1] = c[0];
      continue;
    }
    if (a.size() > 1 && a[0] == '-') return UsageError("unknown option " + a);
    if (have_word) return UsageError("more than one word");
    if (!DecodeArgument(a, word) || word.empty()) return UsageError("the word is not UTF-8 text");
    have_word = true;
  }
  if (!have_word) return UsageError("missing WORD");

  ReadingDictionary dictionary;
  if (const TableStatus status = LoadReadingTables(dictionary); !status) {
    std::fprintf(stderr, "orvi-cli lookup: cannot load the reading dictionary: %s\n",
                 status.message.c_str());
    return kExitInputError;
  }
  const std::optional<std::u16string> best =
      BestReading(dictionary, neighbour[0], neighbour[1], word);
  std::unique_ptr<CandidateSet> set = LookupCandidates(dictionary, neighbour[0], word, neighbour[1]);

  std::u16string out = u"best: " + (best ? *best : u"-") + u"\n";
  if (set) {
    while (const std::u16string* reading = set->TakeBest()) {
      int score = 0;
      for (std::int32_t k = 0; k < set->count(); ++k) {
        if (&set->candidate(k).reading == reading) score = set->candidate(k).score;
      }
      out += *reading + u" " + Ascii(std::to_string(score)) + u"\n";
    }
  }
  if (!Print(out)) {
    std::fputs("orvi-cli lookup: cannot write standard output\n", stderr);
    return kExitInputError;
  }
  return best || set ? kExitOk : kExitInputError;
}

}  // namespace orvi::cli
