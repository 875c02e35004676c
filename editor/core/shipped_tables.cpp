#include "editor/core/dictionary_data.h"
#include "editor/core/reading_table.h"

namespace orvi {

namespace {

std::span<const unsigned char> BytesOf(EmbeddedBlob blob) {
  if (!blob.data) return {};
  return {blob.data, blob.size};
}

}  // namespace

TableStatus LoadReadingTables(ReadingDictionary& dictionary) {
  return LoadReadingDictionary(BytesOf(SmallReadingTableBlob()), BytesOf(LargeReadingTableBlob()),
                               BytesOf(ConjugationTableBlob()), dictionary);
}

}  // namespace orvi
