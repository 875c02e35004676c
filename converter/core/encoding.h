#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "common/codepages.h"
#include "converter/core/status_log.h"

namespace quenlite {

// The converter settings the content conversions read.
struct EncodingSettings {
  common::CodePage source_code_page = 932;
  common::CodePage dest_code_page = 936;
  bool force_unicode_check = true;  // "Force unicode check"
};

// Which of its four lines the signature check wrote.
enum class SignatureCheck { kBypassed, kFound, kReverseFound, kNotFound };

// The "check unicode signature" step followed by decoding. Writes exactly one status line
// (whatever the decoding's outcome) and reports which through *check when given. With the check
// on, an FF FE or FE FF signature selects 1200 or 1201 whatever the source code page, and the
// signature is dropped. Returns nothing when nothing was decoded (empty or undecodable input).
std::optional<std::u16string> DecodeSource(std::string_view bytes, const EncodingSettings& settings,
                                           StatusLog& log, SignatureCheck* check = nullptr);

// Encodes text in the destination code page; 1200 and 1201 get their signature in front.
// Returns nothing when the text is empty or the code page unknown. Writes no status line (the
// pipeline logs the failure).
std::optional<std::string> EncodeDestination(std::u16string_view text, common::CodePage dest_code_page);

}  // namespace quenlite
