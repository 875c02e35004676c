#include "common/tag_type.h"

namespace common {
namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// Compares the text at position i with a lower-case ASCII pattern, ignoring letter case.
bool MatchesAt(std::u16string_view text, size_t i, std::u16string_view pattern) {
  if (text.size() - i < pattern.size()) return false;
  for (size_t k = 0; k < pattern.size(); ++k) {
    if (Lower(text[i + k]) != pattern[k]) return false;
  }
  return true;
}

}  // namespace

DetectedTagType DetectTagType(std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'<' && MatchesAt(text, i, u"<ruby>")) return DetectedTagType::Html;
    if (text[i] == u'[' && MatchesAt(text, i, u"[ruby]")) return DetectedTagType::Bbs;
  }
  return DetectedTagType::Brackets;
}

}  // namespace common
