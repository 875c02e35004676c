#pragma once

#include <cstddef>

namespace orvi {

// The bytes of a table embedded in the program at build time.
struct EmbeddedBlob {
  const unsigned char* data = nullptr;
  std::size_t size = 0;
};

// The small and large reading tables: LZMA-alone streams of UTF-16LE text.
EmbeddedBlob SmallReadingTableBlob();
EmbeddedBlob LargeReadingTableBlob();
// The conjugation table: UTF-16LE text with byte-order mark and CR LF line ends.
EmbeddedBlob ConjugationTableBlob();

}  // namespace orvi
