#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "editor/cli/convert_command.h"
#include "editor/cli/notation_commands.h"

namespace {

// The commands of orvi-cli. Each lives in its own file and takes the arguments that follow
// its name.
struct Command {
  const char* name;
  const char* summary;
  int (*run)(const std::vector<std::string>& args);
};

constexpr Command kCommands[] = {
    {"convert", "read ruby markup and write it in another dialect", orvi::cli::RunConvert},
    {"notate", "give every kanji run its reading from the dictionary", orvi::cli::RunNotate},
    {"lookup", "show the readings the dictionary has for a word", orvi::cli::RunLookup},
};

void PrintUsage(std::FILE* to) {
  std::fputs("usage: orvi-cli COMMAND [OPTIONS] [FILE]\n\nCommands:\n", to);
  for (const Command& c : kCommands) std::fprintf(to, "  %-9s %s\n", c.name, c.summary);
  std::fputs("  help      show this text\n\n"
             "orvi-cli COMMAND --help shows the options of a command.\n", to);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0)) {
    PrintUsage(stdout);
    return orvi::cli::kExitOk;
  }
  if (argc < 2) {
    std::fputs("orvi-cli: missing command\n", stderr);
    PrintUsage(stderr);
    return orvi::cli::kExitUsage;
  }
  for (const Command& c : kCommands) {
    if (std::strcmp(argv[1], c.name) == 0) return c.run(std::vector<std::string>(argv + 2, argv + argc));
  }
  std::fprintf(stderr, "orvi-cli: unknown command '%s'\n", argv[1]);
  PrintUsage(stderr);
  return orvi::cli::kExitUsage;
}
