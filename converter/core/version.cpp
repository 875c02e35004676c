#include "converter/core/version.h"

namespace quenlite {

const char* VersionText() { return "Quenlite 0.43"; }

}  // namespace quenlite
