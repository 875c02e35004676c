#include <cstdio>

#include "editor/cli/convert_command.h"
#include "editor/cli/notation_commands.h"
#include "editor/core/notation.h"
#include "editor/core/reading_table.h"

namespace orvi::cli {

const char* const kNotateUsage =
    "usage: orvi-cli notate [--from auto|html|bbs|brackets] [--to html|bbs|brackets|verify]\n"
    "                       [--plain] [--css] [--no-br] [--encoding CP] [-o FILE] [FILE]\n"
    "\n"
    "Reads FILE (or standard input) as convert does, gives every kanji run the reading the\n"
    "dictionary finds for it (runs already annotated in the input keep their annotation), and\n"
    "writes the result as convert does; --to verify prints the text as it is read.\n"
    "\n"
    "Exit status: 0 done, 1 input unreadable or undecodable or output unwritable, 2 usage error.\n";

int RunNotate(const std::vector<std::string>& args) {
  ConvertOptions options;
  std::string error;
  if (!ParseConvertOptions(args, options, error)) {
    std::fprintf(stderr, "orvi-cli notate: %s\n%s", error.c_str(), kNotateUsage);
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(kNotateUsage, stdout);
    return kExitOk;
  }
  std::u16string input;
  if (!ReadInputText(options, input, error)) {
    std::fprintf(stderr, "orvi-cli notate: %s\n", error.c_str());
    return kExitInputError;
  }
  ReadingDictionary dictionary;
  if (const TableStatus status = LoadReadingTables(dictionary); !status) {
    std::fprintf(stderr, "orvi-cli notate: cannot load the reading dictionary: %s\n",
                 status.message.c_str());
    return kExitInputError;
  }
  RubyList list;
  const std::u16string text = ImportMarkup(input, options.from, list);
  SilentNotationView view;
  Notate(dictionary, text, list, NotationRequest{}, view);
  if (!WriteOutput(options, ExportMarkup(text, list, options), error)) {
    std::fprintf(stderr, "orvi-cli notate: %s\n", error.c_str());
    return kExitInputError;
  }
  return kExitOk;
}

}  // namespace orvi::cli
