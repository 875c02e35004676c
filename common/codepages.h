#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace common {

// Windows code page numbers, as the programs present and store them.
using CodePage = std::uint32_t;
inline constexpr CodePage kCodePageUtf16Le = 1200;
inline constexpr CodePage kCodePageUtf16Be = 1201;
inline constexpr CodePage kCodePageUtf8 = 65001;

struct CodePageInfo {
  CodePage number = 0;
  std::u16string display_name;  // begins with the number, e.g. "932  (ANSI/OEM - Japanese Shift-JIS)"
};

// The code pages this machine can convert: every table entry whose converter opens, plus
// 1200 and 1201, in ascending order of number.
const std::vector<CodePageInfo>& InstalledCodePages();
bool IsCodePageAvailable(CodePage cp);

// The name under which cp is shown, beginning with its number; empty when cp is not installed.
std::u16string CodePageDisplayName(CodePage cp);

// The code page of the user's locale character set; 65001 when that is UTF-8 or has no
// Windows equivalent.
CodePage AnsiCodePage();

// Decodes bytes in code page cp. Fails (false) for an unknown code page or bytes the code page
// cannot decode; the output is then unspecified.
bool DecodeBytes(CodePage cp, std::string_view bytes, std::u16string& out);

// Encodes text in code page cp; characters the code page cannot represent become "?". The whole
// encoding is delivered, however long. Fails (false) for an unknown code page.
bool EncodeText(CodePage cp, std::u16string_view text, std::string& out);

}  // namespace common
