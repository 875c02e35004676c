#pragma once

#include <string_view>

namespace quenlite {

// Receives the status lines of a batch, one call per line, in order. The Status window shows
// them in its list; the command-line program prints them.
class StatusLog {
 public:
  virtual ~StatusLog() = default;
  virtual void LogStatus(std::u16string_view line) = 0;
};

}  // namespace quenlite
