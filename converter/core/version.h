#pragma once

namespace quenlite {

// The program's version as the main dialog's link shows it.
const char* VersionText();

}  // namespace quenlite
