#pragma once

#include <string>
#include <vector>

#include "converter/core/naming.h"
#include "converter/core/settings.h"

namespace quenlite::cli {

// What to do with a destination that exists.
enum class ExistsPolicy { Ask, Overwrite, Skip, Rename };

struct CliOptions {
  Settings settings;
  Selection selection;
  ExistsPolicy exists = ExistsPolicy::Skip;
  bool exists_given = false;  // --exists was on the command line
  bool quiet = false;
  bool help = false;
  bool list_code_pages = false;
};

// Reads the command line (without the program name) into options. On a usage error returns
// false with a message in error. Paths are taken as given; a source that is an existing
// folder selects directory mode. ansi_code_page is what --no-content-conversion selects.
bool ParseCommandLine(const std::vector<std::string>& args, common::CodePage ansi_code_page,
                      CliOptions& options, std::string& error);

// The --help text.
const char* UsageText();

}  // namespace quenlite::cli
