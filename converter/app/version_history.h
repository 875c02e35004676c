#pragma once

#include <QString>

namespace quenlite::app {

// The release notes shown by the Version History dialog, newest release first, lines ending
// with CR LF.
QString QuenliteHistory();

}  // namespace quenlite::app
