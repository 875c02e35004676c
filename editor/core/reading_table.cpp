#include "editor/core/reading_table.h"

#include <lzma.h>

#include <bit>
#include <cstring>

namespace orvi {

namespace {

constexpr std::size_t kHeaderSize = 13;
// Header field meaning "size unknown, the stream ends with an end marker".
constexpr std::uint64_t kUnknownSize = ~std::uint64_t{0};
// A table larger than this is certainly not one of ours; refusing it keeps a corrupt header from
// asking for gigabytes.
constexpr std::uint64_t kMaxUnpackedSize = 256u << 20;

std::uint64_t ReadLe(const unsigned char* p, int bytes) {
  std::uint64_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = (v << 8) | p[k];
  return v;
}

char16_t ReadUnit(const unsigned char* p) {
  return static_cast<char16_t>(p[0] | (p[1] << 8));
}

void Reset(ReadingTable& table) {
  table.count = 0;
  table.buffer.reset();
  table.text = nullptr;
  table.text_size = 0;
  table.index.clear();
  table.first.clear();
}

}  // namespace

const char16_t* ReadingTable::ReadingsAt(std::int32_t k) const {
  const char16_t* p = WordAt(k);
  while (*p) ++p;
  return p + 1;
}

TableStatus IndexReadingTable(std::unique_ptr<char16_t[]> buffer, std::size_t size,
                              ReadingTable& table) {
  Reset(table);
  char16_t* s = buffer.get();
  // Code unit 0 is the byte-order mark; the count line follows it.
  std::size_t lf = 1;
  while (lf < size && s[lf] != u'\n') ++lf;
  if (lf >= size) return TableStatus::Error("the count line has no end");
  std::uint64_t count = 0;
  for (std::size_t k = 1; k < lf && s[k] >= u'0' && s[k] <= u'9'; ++k) {
    count = count * 10 + (s[k] - u'0');
    if (count > size) return TableStatus::Error("the entry count exceeds the table");
  }

  char16_t* text = s + lf + 1;
  const std::size_t text_size = size - (lf + 1);
  std::vector<ReadingTable::IndexEntry> index;
  index.reserve(count);
  std::size_t pos = 0;
  for (std::uint64_t k = 0; k < count; ++k) {
    const std::size_t start = pos;
    // Every counted line is word ':' readings LF. A line without ':' or a table that ends early
    // would make the entries run into each other, so both are refused.
    // A U+0000 would end the word or the readings early, so it is refused like a missing ':'.
    while (pos < text_size && text[pos] != u':' && text[pos] != u'\n' && text[pos] != 0) ++pos;
    if (pos >= text_size) return TableStatus::Error("the table ends inside entry " + std::to_string(k + 1));
    if (text[pos] != u':' || pos == start) {
      return TableStatus::Error("entry " + std::to_string(k + 1) + " is not word:readings");
    }
    text[pos++] = 0;
    const std::size_t readings = pos;
    while (pos < text_size && text[pos] != u'\n' && text[pos] != 0) ++pos;
    if (pos >= text_size) return TableStatus::Error("the table ends inside entry " + std::to_string(k + 1));
    if (text[pos] == 0) return TableStatus::Error("entry " + std::to_string(k + 1) + " holds a U+0000");
    if (pos == readings) return TableStatus::Error("entry " + std::to_string(k + 1) + " has no readings");
    text[pos++] = 0;
    ReadingTable::IndexEntry entry;
    entry.offset = static_cast<std::uint32_t>(start);
    // The word ends at the U+0000 that replaced its ':'.
    entry.second = text[start + 1];
    if (entry.second != 0) entry.third = text[start + 2];
    index.push_back(entry);
  }

  // Words are sorted by code units, so the entries of one first code unit are contiguous.
  std::vector<std::uint32_t> first(0x10001);
  std::size_t k = 0;
  for (std::uint32_t c = 0; c <= 0xFFFF; ++c) {
    first[c] = static_cast<std::uint32_t>(k);
    while (k < index.size() && text[index[k].offset] == c) ++k;
  }
  first[0x10000] = static_cast<std::uint32_t>(index.size());
  if (k != index.size()) return TableStatus::Error("the entries are not sorted by word");
  // The search also relies on the order among words that share a first code unit, and on no
  // word standing twice: each word must sort strictly above the one before it.
  for (std::size_t j = 1; j < index.size(); ++j) {
    const char16_t* a = text + index[j - 1].offset;
    const char16_t* b = text + index[j].offset;
    while (*a != 0 && *a == *b) {
      ++a;
      ++b;
    }
    // Equal words, or a word that sorts below its predecessor (a prefix ends in the U+0000).
    if (*a >= *b) return TableStatus::Error("the entries are not sorted by word");
  }

  table.count = static_cast<std::int32_t>(count);
  table.first = std::move(first);
  table.buffer = std::move(buffer);
  table.text = text;
  table.text_size = text_size;
  table.index = std::move(index);
  return TableStatus::Ok();
}

namespace {

TableStatus DecodeFailure(lzma_ret ret) {
  if (ret == LZMA_FORMAT_ERROR || ret == LZMA_OPTIONS_ERROR) {
    return TableStatus::Error("the table is not an LZMA-alone stream");
  }
  if (ret == LZMA_MEM_ERROR || ret == LZMA_MEMLIMIT_ERROR) {
    return TableStatus::Error("out of memory decoding the table");
  }
  return TableStatus::Error("the table's stream is damaged or truncated");
}

// Decodes into a buffer of exactly `size` bytes. Filling the buffer ends the decode, even when
// the stream would go on.
TableStatus DecodeKnownSize(std::span<const unsigned char> bytes, std::uint8_t* out,
                            std::size_t size) {
  lzma_stream stream = LZMA_STREAM_INIT;
  lzma_ret ret = lzma_alone_decoder(&stream, UINT64_MAX);
  if (ret != LZMA_OK) return DecodeFailure(ret);
  stream.next_in = bytes.data();
  stream.avail_in = bytes.size();
  stream.next_out = out;
  stream.avail_out = size;
  while (stream.avail_out > 0) {
    ret = lzma_code(&stream, LZMA_FINISH);
    if (ret != LZMA_OK) break;
  }
  const bool full = stream.avail_out == 0;
  lzma_end(&stream);
  return full ? TableStatus::Ok() : DecodeFailure(ret);
}

// A stream whose header leaves the size open ends with an end marker; decode it into a growing
// buffer.
TableStatus DecodeUnknownSize(std::span<const unsigned char> bytes, std::vector<std::uint8_t>& out) {
  lzma_stream stream = LZMA_STREAM_INIT;
  lzma_ret ret = lzma_alone_decoder(&stream, UINT64_MAX);
  if (ret != LZMA_OK) return DecodeFailure(ret);
  stream.next_in = bytes.data();
  stream.avail_in = bytes.size();
  out.resize(std::size_t{1} << 20);
  std::size_t used = 0;
  for (;;) {
    if (used == out.size()) {
      if (out.size() >= kMaxUnpackedSize) {
        lzma_end(&stream);
        return TableStatus::Error("the table unpacks to an implausible size");
      }
      out.resize(out.size() * 2);
    }
    stream.next_out = out.data() + used;
    stream.avail_out = out.size() - used;
    ret = lzma_code(&stream, LZMA_FINISH);
    used = out.size() - stream.avail_out;
    if (ret == LZMA_STREAM_END) break;
    if (ret != LZMA_OK) {
      lzma_end(&stream);
      return DecodeFailure(ret);
    }
  }
  lzma_end(&stream);
  out.resize(used);
  return TableStatus::Ok();
}

}  // namespace

TableStatus LoadReadingTable(std::span<const unsigned char> bytes, ReadingTable& table) {
  Reset(table);
  if (bytes.empty()) return TableStatus::Error("the table is missing");
  if (bytes.size() < kHeaderSize) return TableStatus::Error("the table is shorter than its header");
  const std::uint64_t declared = ReadLe(bytes.data() + 5, 8);

  std::unique_ptr<char16_t[]> buffer;
  std::size_t size = 0;
  if (declared == kUnknownSize) {
    std::vector<std::uint8_t> unpacked;
    if (auto s = DecodeUnknownSize(bytes, unpacked); !s) return s;
    size = unpacked.size();
    if (size < 2 || size % 2 != 0) return TableStatus::Error("the table is not UTF-16 text");
    buffer = std::make_unique_for_overwrite<char16_t[]>(size / 2);
    std::memcpy(buffer.get(), unpacked.data(), size);
  } else {
    // Only the low 32 bits of the recorded size count.
    size = static_cast<std::size_t>(declared & 0xFFFFFFFFu);
    if (size > kMaxUnpackedSize) return TableStatus::Error("the table's recorded size is implausible");
    if (size < 2 || size % 2 != 0) return TableStatus::Error("the table's recorded size is not UTF-16 text");
    buffer = std::make_unique_for_overwrite<char16_t[]>(size / 2);
    if (auto s = DecodeKnownSize(bytes, reinterpret_cast<std::uint8_t*>(buffer.get()), size); !s) {
      return s;
    }
  }
  const std::size_t units = size / 2;
  if constexpr (std::endian::native == std::endian::big) {
    for (std::size_t k = 0; k < units; ++k) {
      buffer[k] = static_cast<char16_t>((buffer[k] >> 8) | (buffer[k] << 8));
    }
  }
  return IndexReadingTable(std::move(buffer), units, table);
}

TableStatus LoadConjugationTable(std::span<const unsigned char> bytes, ConjugationTable& table) {
  table = ConjugationTable{};
  constexpr std::size_t kRowUnits = 10;      // 8 code units and CR LF
  constexpr std::size_t kIrregularUnits = 16;
  constexpr std::size_t kNeeded = 2 * (1 + ConjugationTable::kRows * kRowUnits + kIrregularUnits);
  if (bytes.empty()) return TableStatus::Error("the conjugation table is missing");
  if (bytes.size() < kNeeded) return TableStatus::Error("the conjugation table is too short");
  ConjugationTable loaded;
  const unsigned char* p = bytes.data() + 2;  // past the byte-order mark
  for (auto& row : loaded.rows) {
    row.ending = ReadUnit(p);
    for (int k = 0; k < 6; ++k) row.inflected[k] = ReadUnit(p + 2 * (2 + k));
    p += 2 * kRowUnits;
  }
  loaded.irregular_key = ReadUnit(p);
  for (int k = 0; k < ConjugationTable::kPairs; ++k) {
    loaded.pairs[k].reading = ReadUnit(p + 2 * (2 + 2 * k));
    loaded.pairs[k].next = ReadUnit(p + 2 * (3 + 2 * k));
  }
  table = loaded;
  return TableStatus::Ok();
}

TableStatus LoadReadingDictionary(std::span<const unsigned char> small_bytes,
                                  std::span<const unsigned char> large_bytes,
                                  std::span<const unsigned char> conjugation_bytes,
                                  ReadingDictionary& dictionary) {
  if (auto s = LoadReadingTable(small_bytes, dictionary.small); !s) {
    return TableStatus::Error("small reading table: " + s.message);
  }
  if (auto s = LoadReadingTable(large_bytes, dictionary.large); !s) {
    return TableStatus::Error("large reading table: " + s.message);
  }
  if (auto s = LoadConjugationTable(conjugation_bytes, dictionary.conjugation); !s) {
    return TableStatus::Error(s.message);
  }
  return TableStatus::Ok();
}

}  // namespace orvi
