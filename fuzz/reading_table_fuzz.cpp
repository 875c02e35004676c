// Indexes arbitrary table text and runs lookups and an Auto notation walk over it.
// Byte 0 splits the rest: the first part is UTF-16LE table text (byte-order mark first), the
// second part UTF-16LE document text. Besides the sanitizers, checks that every indexed entry is
// a non-empty word followed by its readings string inside the buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "editor/core/notation.h"
#include "editor/core/reading_lookup.h"
#include "editor/core/reading_table.h"

namespace {

std::u16string Utf16(const std::uint8_t* data, std::size_t size) {
  std::u16string s(size / 2, u'\0');
  for (std::size_t k = 0; k < s.size(); ++k) {
    s[k] = static_cast<char16_t>(data[2 * k] | (data[2 * k + 1] << 8));
  }
  return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::size_t rest = size - 1;
  const std::size_t split = rest * data[0] / 255;
  const std::u16string table_text = Utf16(data + 1, split);
  const std::u16string document = Utf16(data + 1 + split, rest - split);

  orvi::ReadingDictionary dictionary;
  auto buffer = std::make_unique<char16_t[]>(table_text.size() + 1);
  std::memcpy(buffer.get(), table_text.data(), table_text.size() * sizeof(char16_t));
  const orvi::TableStatus status =
      orvi::IndexReadingTable(std::move(buffer), table_text.size(), dictionary.small);
  if (!status) {
    if (status.message.empty() || dictionary.small.count != 0) std::abort();
  } else {
    const orvi::ReadingTable& t = dictionary.small;
    for (std::int32_t k = 0; k < t.count; ++k) {
      const std::u16string_view word = t.Word(k);
      const char16_t* readings = t.ReadingsAt(k);
      if (word.empty() || readings < t.text || readings >= t.text + t.text_size) std::abort();
      orvi::BestReading(dictionary, u'の', u'る', word);
      orvi::LookupCandidates(dictionary, 0, word, u'か');
    }
  }
  orvi::RubyList list;
  orvi::SilentNotationView view;
  orvi::Notate(dictionary, document, list, orvi::NotationRequest{}, view);
  return 0;
}
