// Parses arbitrary UTF-16 text as HTML or BBS ruby markup and checks what must always hold:
// nothing of the input's text is lost (without markup, the parse is the identity), and every
// entry addresses exactly its base in the plain text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/core/markup_parser.h"

namespace {

void CheckEntries(const std::u16string& text, const orvi::RubyList& list) {
  // Map text offsets back to indices: every character but CR counts one.
  std::size_t index = 0;
  std::int32_t offset = 0;
  for (const orvi::RubyEntry* e : list.Entries()) {
    while (index < text.size() && (offset < e->start || text[index] == u'\r')) {
      if (text[index] != u'\r') ++offset;
      ++index;
    }
    if (offset != e->start || text.compare(index, e->base.size(), e->base) != 0) std::abort();
    if (e->end - e->start != static_cast<std::int32_t>(e->base.size())) std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const int setting = data[0] % 3;  // 0 HTML, 1 BBS, 2 no tags at all
  std::u16string text;
  for (std::size_t i = 1; i + 1 < size; i += 2) {
    text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  orvi::RubyList list;
  const auto plain = orvi::ParseTags(text, setting, list);
  if (text.empty()) {
    if (plain.has_value() || !list.empty()) std::abort();
    return 0;
  }
  if (!plain) std::abort();
  if (setting == 2 && (*plain != text || !list.empty())) std::abort();
  if (text.find_first_of(setting == 0 ? u"<" : u"[") == std::u16string::npos &&
      *plain != text) {
    std::abort();
  }
  if (plain->size() > text.size()) std::abort();
  CheckEntries(*plain, list);
  return 0;
}
