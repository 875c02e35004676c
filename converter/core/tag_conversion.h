#pragma once

#include <string>

#include "common/tag_type.h"
#include "converter/core/status_log.h"
#include "converter/core/step_result.h"

namespace quenlite {

// The tag step's settings, as the main dialog holds them.
struct TagConversionOptions {
  // Source list: AutoOrNone is "Automatically Detect" (each text is detected afresh).
  common::ConverterTagType source = common::ConverterTagType::AutoOrNone;
  // Destination list: AutoOrNone is "None" (bases are kept, readings and tags dropped).
  common::ConverterTagType destination = common::ConverterTagType::AutoOrNone;
  // "Add <br> when a line ends": writes "<br>" before every CR outside annotations. It acts
  // only when the destination is Html and the text is converted (never on a bypass).
  bool add_br = false;
};

// Converts the ruby markup of text from one dialect to another. With source "Automatically
// Detect" it logs the detected dialect ("  detect tag type: html tags", "  detect tag type:
// vexa bbs tags" or "  detect tag type: brackets"). When the source dialect equals the
// destination the text comes back unchanged as Bypassed; otherwise a new text as Converted.
// Markup that does not form a group is written out unchanged, so no text is ever lost. The
// text ends at its first U+0000. The step logs only the detection line; the caller logs the
// result line. Failed is returned only when memory runs out.
StepResult ConvertTags(std::u16string text, const TagConversionOptions& options, StatusLog& log);

}  // namespace quenlite
