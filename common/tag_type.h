#pragma once

#include <string_view>

namespace common {

// The three ruby markup dialects, numbered as DetectTagType reports them.
enum class DetectedTagType : int { Html = 1, Bbs = 2, Brackets = 3 };

// The editor's current tag type: the detection result minus one. Html and Bbs double as the
// tag scanner's bracket setting. Cancelled means the user dismissed the choice.
enum class EditorTagType : int { Cancelled = -1, Html = 0, Bbs = 1, Brackets = 2 };

// The converter's two lists: index 0 is "Automatically Detect" in the source list and "None"
// in the destination list; the dialects follow in the detection order.
enum class ConverterTagType : int { AutoOrNone = 0, Html = 1, Bbs = 2, Brackets = 3 };

constexpr EditorTagType ToEditorTagType(DetectedTagType t) {
  return static_cast<EditorTagType>(static_cast<int>(t) - 1);
}
constexpr ConverterTagType ToConverterTagType(DetectedTagType t) {
  return static_cast<ConverterTagType>(static_cast<int>(t));
}

// The first "<ruby>" or "[ruby]" (any letter case) decides the dialect; a text with neither is
// in the brackets dialect, also when it holds no brackets at all.
DetectedTagType DetectTagType(std::u16string_view text);

}  // namespace common
