#pragma once

namespace common {

// A UTF-16 code unit counts as a kanji when it is a CJK unified ideograph (extension A up to
// U+4DBE, the basic block up to U+9FBF), a compatibility ideograph, or the iteration mark U+3005.
constexpr bool IsKanji(char16_t c) {
  return (c >= 0x3400 && c <= 0x4DBE) || (c >= 0x4E00 && c <= 0x9FBF) ||
         (c >= 0xF900 && c <= 0xFAFF) || c == 0x3005;
}

}  // namespace common
