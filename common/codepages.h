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

// The code page of a character set name as the C library reports it ("UTF-8", "EUC-JP",
// "BIG5", "ANSI_X3.4-1968", ...); 65001 when there is none. AnsiCodePage uses it.
CodePage CodePageOfCharset(std::string_view charset);

// Decodes bytes in code page cp; 1200 and 1201 take the bytes as UTF-16 code units (an odd
// final byte makes a last unit), bytes a code page cannot decode become replacement characters.
// The text ends at its first U+0000. Fails (false) for an unknown code page or an empty text.
bool DecodeBytes(CodePage cp, std::string_view bytes, std::u16string& out);

// Encodes text in code page cp, without signature; characters the code page cannot represent
// become "?". The whole encoding is delivered, however long. 1200 and 1201 write every code unit;
// any other code page ends at the text's first U+0000. Fails (false) for an unknown code page or
// an empty result.
bool EncodeText(CodePage cp, std::u16string_view text, std::string& out);

}  // namespace common
