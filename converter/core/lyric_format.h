#pragma once

#include <string>
#include <string_view>

#include "converter/core/status_log.h"
#include "converter/core/step_result.h"

namespace quenlite {

// The source "Format" list. A text without lyric tags is detected as Kra.
enum class FormatSource : int { AutoDetect = 0, Kra = 1, Lrc = 2 };
// The destination "Format" list.
enum class FormatDestination : int { PlainText = 0, Kra = 1, Lrc = 2 };

struct FormatConversionOptions {
  FormatSource source = FormatSource::AutoDetect;
  FormatDestination destination = FormatDestination::PlainText;
};

// Tells KRA from LRC lyrics: Kra or Lrc, never AutoDetect. The text ends at its first U+0000.
FormatSource DetectFormat(std::u16string_view text);

// Rewrites lyrics between plain text, LRC and KRA. With source AutoDetect it detects the text's
// form and logs "  detect format: kra" or "  detect format: lrc". When the source form equals
// the destination the text comes back unchanged as Bypassed; otherwise the converted text
// (possibly empty) as Converted. The text ends at its first U+0000. The step logs only the
// detection line; the caller logs the result line. Failed is returned only when memory runs out.
StepResult ConvertFormat(std::u16string text, const FormatConversionOptions& options,
                         StatusLog& log);

}  // namespace quenlite
