// Parses arbitrary UTF-16 text as brackets markup and checks what must always hold: the plain
// text plus the entries written back in brackets gives the input again (nothing is lost or
// changed), and every entry addresses exactly its base in the plain text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "editor/core/markup_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2) {
    text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  }
  orvi::RubyList list;
  const std::u16string plain = orvi::ParseBrackets(text, list);

  // Rebuild the input: each entry's base followed by its group. The brackets' widths are not
  // kept by the list, so compare with every bracket folded to the ASCII form.
  std::u16string rebuilt;
  std::size_t index = 0;
  std::int32_t offset = 0;
  for (const orvi::RubyEntry* e : list.Entries()) {
    while (index < plain.size() && (offset < e->start || plain[index] == u'\r')) {
      if (plain[index] != u'\r') ++offset;
      rebuilt.push_back(plain[index++]);
    }
    if (offset != e->start || plain.compare(index, e->base.size(), e->base) != 0) std::abort();
    rebuilt += e->base + u"(" + e->reading + u")";
    index += e->base.size();
    offset += static_cast<std::int32_t>(e->base.size());
  }
  rebuilt.append(plain, index);
  auto fold = [](std::u16string s) {
    for (char16_t& c : s) {
      if (c == u'\uFF08') c = u'(';
      if (c == u'\uFF09') c = u')';
    }
    return s;
  };
  if (fold(rebuilt) != fold(text)) std::abort();
  return 0;
}
