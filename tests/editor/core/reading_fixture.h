#pragma once

// Small hand-made reading tables, packed the way the program's tables are: UTF-16LE text with a
// byte-order mark, compressed as an LZMA-alone stream.

#include <lzma.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "editor/core/reading_table.h"

namespace orvi_test {

using Bytes = std::vector<unsigned char>;

inline Bytes Utf16Le(std::u16string_view text) {
  Bytes out;
  out.reserve(text.size() * 2);
  for (char16_t c : text) {
    out.push_back(static_cast<unsigned char>(c & 0xFF));
    out.push_back(static_cast<unsigned char>(c >> 8));
  }
  return out;
}

// Compresses as LZMA-alone (lc 3, lp 0, pb 2, 8 MiB dictionary). The encoder leaves the size
// open; with record_size the header gets the unpacked size as our tables carry it.
inline Bytes PackLzmaAlone(const Bytes& plain, bool record_size = true) {
  lzma_options_lzma options;
  lzma_lzma_preset(&options, 6);
  options.dict_size = 8u << 20;
  lzma_stream stream = LZMA_STREAM_INIT;
  if (lzma_alone_encoder(&stream, &options) != LZMA_OK) return {};
  Bytes out(plain.size() + plain.size() / 2 + 1024);
  stream.next_in = plain.data();
  stream.avail_in = plain.size();
  stream.next_out = out.data();
  stream.avail_out = out.size();
  lzma_ret ret;
  while ((ret = lzma_code(&stream, LZMA_FINISH)) == LZMA_OK) {
  }
  out.resize(out.size() - stream.avail_out);
  lzma_end(&stream);
  if (ret != LZMA_STREAM_END) return {};
  if (record_size) {
    std::uint64_t size = plain.size();
    for (int k = 0; k < 8; ++k) out[5 + k] = static_cast<unsigned char>(size >> (8 * k));
  }
  return out;
}

// A table text: BOM, count line, the entries sorted by code units, then any stray lines.
inline std::u16string TableText(std::vector<std::pair<std::u16string, std::u16string>> entries,
                                std::u16string_view stray = u"") {
  std::sort(entries.begin(), entries.end());
  std::u16string text = u"\uFEFF";
  for (char c : std::to_string(entries.size())) text += static_cast<char16_t>(c);
  text += u'\n';
  for (const auto& [word, readings] : entries) text += word + u":" + readings + u"\n";
  text += stray;
  return text;
}

inline Bytes PackTable(std::vector<std::pair<std::u16string, std::u16string>> entries,
                       std::u16string_view stray = u"") {
  return PackLzmaAlone(Utf16Le(TableText(std::move(entries), stray)));
}

// The conjugation table with its full content: eleven ending rows and the irregular row of 来.
inline Bytes ConjugationBytes() {
  const char16_t* rows[] = {u"い、かくけそさ_", u"く、かこきいけ_", u"ぐ、がごぎいげ_",
                            u"す、さそしせ__", u"つ、たとちって_", u"ぬ、なのにんね_",
                            u"ぶ、ばぼびんべ_", u"む、まもみんめ_", u"る、らろりっれ_",
                            u"う、わおいっえ_", u"る、なたまれよろ"};
  std::u16string text = u"\uFEFF";
  for (const char16_t* row : rows) text += std::u16string(row) + u"\r\n";
  text += u"来、こなきたきまくるくれこいきて\r\n";
  return Utf16Le(text);
}

}  // namespace orvi_test
