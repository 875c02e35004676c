#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvi {

// Outcome of loading a table: ok, or a message saying what was wrong with its bytes.
struct TableStatus {
  bool ok = true;
  std::string message;

  static TableStatus Ok() { return {}; }
  static TableStatus Error(std::string text) { return {false, std::move(text)}; }
  explicit operator bool() const { return ok; }
};

// One reading table, decoded and indexed in place.
//
// The unpacked text (UTF-16, after its count line) stays in one buffer. In each counted line the
// first ':' and the terminating LF are overwritten with U+0000, so entry k is two consecutive
// zero-terminated strings: the word, then its readings string. `index` holds the offset of each
// word in `text`, in table order.
struct ReadingTable {
  std::int32_t count = 0;
  std::unique_ptr<char16_t[]> buffer;  // the whole decoded stream
  const char16_t* text = nullptr;      // start of the first entry line inside `buffer`
  std::size_t text_size = 0;           // code units from `text` to the end of `buffer`
  // Each word's offset in `text`, with copies of its second and third code units (0 past the
  // word's end), so that most comparisons of a search are decided without touching the text.
  struct IndexEntry {
    std::uint32_t offset = 0;
    char16_t second = 0;
    char16_t third = 0;
  };
  std::vector<IndexEntry> index;
  // Entries whose word starts with code unit c are [first[c], first[c + 1]); the sorted order
  // makes them contiguous. Narrows a search to one first character before it starts.
  std::vector<std::uint32_t> first;

  bool loaded() const { return text != nullptr; }
  const char16_t* WordAt(std::int32_t k) const {
    return text + index[static_cast<std::size_t>(k)].offset;
  }
  std::u16string_view Word(std::int32_t k) const { return WordAt(k); }
  // The readings string of entry k: it starts one code unit after the end of the word.
  const char16_t* ReadingsAt(std::int32_t k) const;
};

// The okurigana ending rows and the irregular row of the kanji 来.
struct ConjugationRow {
  char16_t ending = u'_';
  char16_t inflected[6] = {u'_', u'_', u'_', u'_', u'_', u'_'};
};
struct IrregularPair {
  char16_t reading = u'_';
  char16_t next = u'_';
};
struct ConjugationTable {
  static constexpr int kRows = 11;
  static constexpr int kPairs = 7;
  ConjugationRow rows[kRows];
  char16_t irregular_key = 0;  // 0 until loaded: then no word is irregular
  IrregularPair pairs[kPairs];
};

// The small and large reading tables and the conjugation table.
struct ReadingDictionary {
  ReadingTable small;
  ReadingTable large;
  ConjugationTable conjugation;
};

// Decodes one LZMA-alone stream of UTF-16LE table text and indexes its entries. On failure the
// table is left empty (count 0, nothing found) and the status says why.
TableStatus LoadReadingTable(std::span<const unsigned char> bytes, ReadingTable& table);

// Indexes an already unpacked table text (UTF-16 code units, byte-order mark first). Takes over
// the buffer.
TableStatus IndexReadingTable(std::unique_ptr<char16_t[]> buffer, std::size_t size,
                              ReadingTable& table);

// Reads the conjugation table (UTF-16LE, byte-order mark, CR LF line ends) by position.
TableStatus LoadConjugationTable(std::span<const unsigned char> bytes, ConjugationTable& table);

// Loads the three tables from the given bytes in order (small, large, conjugation). Stops at and
// reports the first failure, naming the table.
TableStatus LoadReadingDictionary(std::span<const unsigned char> small_bytes,
                                  std::span<const unsigned char> large_bytes,
                                  std::span<const unsigned char> conjugation_bytes,
                                  ReadingDictionary& dictionary);

// Loads the tables embedded in the program.
TableStatus LoadReadingTables(ReadingDictionary& dictionary);

}  // namespace orvi
