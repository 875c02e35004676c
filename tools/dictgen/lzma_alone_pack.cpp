// Packs a file as an LZMA-alone stream with a known unpacked size and no end marker:
// properties byte 0x5D (lc 3, lp 0, pb 2), dictionary size 8 MiB, the real size in the
// 8-byte size field. liblzma's own alone encoder always writes "size unknown" plus an end
// marker, so the header is written here and the body comes from the raw LZMA1 encoder.
//
//   lzma_alone_pack INPUT OUTPUT
//
// The output depends only on the input and the liblzma version, so regenerating the tables
// with the same packages gives the same bytes.
#include <lzma.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

constexpr std::uint32_t kDictionarySize = 8u * 1024u * 1024u;

bool ReadAll(const char* path, std::vector<std::uint8_t>& out) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: lzma_alone_pack INPUT OUTPUT\n");
    return 2;
  }
  std::vector<std::uint8_t> input;
  if (!ReadAll(argv[1], input)) {
    std::fprintf(stderr, "lzma_alone_pack: cannot read %s\n", argv[1]);
    return 1;
  }
  if (input.size() > 0xFFFFFFFFu) {
    std::fprintf(stderr, "lzma_alone_pack: %s is too large\n", argv[1]);
    return 1;
  }

  lzma_options_lzma options;
  if (lzma_lzma_preset(&options, 9 | LZMA_PRESET_EXTREME)) {
    std::fprintf(stderr, "lzma_alone_pack: no LZMA preset\n");
    return 1;
  }
  options.dict_size = kDictionarySize;
  options.lc = 3;
  options.lp = 0;
  options.pb = 2;
  options.ext_flags = 0;  // no end marker: the size field says where the data ends
  lzma_set_ext_size(options, input.size());

  lzma_filter filters[2] = {{LZMA_FILTER_LZMA1EXT, &options},
                            {LZMA_VLI_UNKNOWN, nullptr}};
  lzma_stream stream = LZMA_STREAM_INIT;
  if (lzma_raw_encoder(&stream, filters) != LZMA_OK) {
    std::fprintf(stderr, "lzma_alone_pack: cannot start the encoder\n");
    return 1;
  }

  std::vector<std::uint8_t> out(13);
  out[0] = static_cast<std::uint8_t>((options.pb * 5 + options.lp) * 9 + options.lc);
  for (int i = 0; i < 4; ++i) out[1 + i] = static_cast<std::uint8_t>(kDictionarySize >> (8 * i));
  const std::uint64_t size = input.size();
  for (int i = 0; i < 8; ++i) out[5 + i] = static_cast<std::uint8_t>(size >> (8 * i));

  stream.next_in = input.data();
  stream.avail_in = input.size();
  std::uint8_t chunk[65536];
  lzma_ret ret = LZMA_OK;
  while (ret == LZMA_OK) {
    stream.next_out = chunk;
    stream.avail_out = sizeof chunk;
    ret = lzma_code(&stream, LZMA_FINISH);
    out.insert(out.end(), chunk, chunk + (sizeof chunk - stream.avail_out));
  }
  lzma_end(&stream);
  if (ret != LZMA_STREAM_END) {
    std::fprintf(stderr, "lzma_alone_pack: encoder failed (%d)\n", static_cast<int>(ret));
    return 1;
  }

  std::ofstream file(argv[2], std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
  file.close();
  if (!file) {
    std::fprintf(stderr, "lzma_alone_pack: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
