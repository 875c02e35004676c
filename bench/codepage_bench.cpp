// Code page conversion speed.
//   codepage_bench                         decode and encode figures on a 100 MB Shift-JIS text
//   codepage_bench --generate PATH MB      writes MB megabytes of Shift-JIS lyrics to PATH
//   codepage_bench FROM TO IN OUT          converts file IN from code page FROM to TO, as the
//                                          batch does for one file (read, decode, encode, write)
#include "common/codepages.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Wall-clock and processor time of one measured stretch; on a busy machine the processor time
// is the steadier figure.
struct Timer {
  std::chrono::steady_clock::time_point wall = std::chrono::steady_clock::now();
  std::clock_t cpu = std::clock();
  double Wall() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - wall).count();
  }
  double Cpu() const { return static_cast<double>(std::clock() - cpu) / CLOCKS_PER_SEC; }
};

// Lyric lines in Shift-JIS: kanji, kana, Latin letters, LRC time tags and CR LF.
std::string ShiftJisLyrics(std::size_t bytes) {
  const std::u16string lines[] = {
      u"[00:12.34]夜空に輝く星たちよ　君の名前を呼んでいる",
      u"[00:17.80]ひとりきりの帰り道　ポケットの中の手紙",
      u"風が運んだメロディー　忘れられない約束",
      u"Ｌａ　ｌａ　ｌａ　Sing along with me!",
      u"[01:02.03]桜舞う季節に　涙を拭いて歩き出す",
      u"カタカナとひらがなと漢字と、ＡＢＣ123。",
      u"",
      u"明日へ続く坂道を　僕らは駆け上がってゆく",
  };
  std::vector<std::string> encoded;
  for (const auto& line : lines) {
    std::string b;
    if (!line.empty() && !common::EncodeText(932, line, b)) std::abort();
    encoded.push_back(b + "\r\n");
  }
  std::string out;
  out.reserve(bytes + 128);
  std::uint32_t seed = 12345;
  while (out.size() < bytes) {
    seed = seed * 1103515245 + 12345;
    out += encoded[(seed >> 16) % encoded.size()];
  }
  out.resize(bytes);
  // Never end inside a double-byte character: drop a trailing lead byte.
  while (!out.empty() && out.back() != '\n') out.pop_back();
  return out;
}

int Generate(const char* path, const char* megabytes) {
  const std::size_t bytes = static_cast<std::size_t>(std::atof(megabytes) * 1024 * 1024);
  const std::string text = ShiftJisLyrics(bytes);
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  return out ? 0 : 1;
}

// The whole file in memory, as the batch holds it: mapped, the way iconv reads its input too.
int ConvertFile(const char* from, const char* to, const char* in_path, const char* out_path) {
  const int in = open(in_path, O_RDONLY);
  if (in < 0) return 1;
  struct stat st;
  if (fstat(in, &st) != 0 || st.st_size == 0) return 1;
  const auto size = static_cast<std::size_t>(st.st_size);
  void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, in, 0);
  close(in);
  if (mapped == MAP_FAILED) return 1;
  std::u16string text;
  const bool decoded = common::DecodeBytes(static_cast<common::CodePage>(std::atoi(from)),
                                           std::string_view(static_cast<const char*>(mapped), size), text);
  munmap(mapped, size);
  if (!decoded) return 1;
  std::string encoded;
  if (!common::EncodeText(static_cast<common::CodePage>(std::atoi(to)), text, encoded)) return 1;
  std::u16string().swap(text);
  std::FILE* out = std::fopen(out_path, "wb");
  if (out == nullptr) return 1;
  const bool written = std::fwrite(encoded.data(), 1, encoded.size(), out) == encoded.size();
  return std::fclose(out) == 0 && written ? 0 : 1;
}

int InMemory() {
  const std::string sjis = ShiftJisLyrics(100u * 1024 * 1024);
  const double mb = static_cast<double>(sjis.size()) / (1024 * 1024);
  std::u16string text;
  auto report = [mb](const char* what, const Timer& t) {
    const double wall = t.Wall();
    const double cpu = t.Cpu();
    std::printf("  %-13s wall %.3f s (%.0f MB/s)  cpu %.3f s (%.0f MB/s)\n", what, wall, mb / wall,
                cpu, mb / cpu);
  };
  std::printf("%.1f MB Shift-JIS, MB/s counted on the Shift-JIS size\n", mb);
  Timer t;
  if (!common::DecodeBytes(932, sjis, text)) return 1;
  report("decode 932", t);
  std::string utf8;
  t = Timer();
  if (!common::EncodeText(65001, text, utf8)) return 1;
  report("encode 65001", t);
  std::string gbk;
  t = Timer();
  if (!common::EncodeText(936, text, gbk)) return 1;
  report("encode 936", t);
  std::string().swap(gbk);
  std::u16string back;
  t = Timer();
  if (!common::DecodeBytes(65001, utf8, back)) return 1;
  report("decode 65001", t);
  return back == text ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--generate") return Generate(argv[2], argv[3]);
  if (argc == 5) return ConvertFile(argv[1], argv[2], argv[3], argv[4]);
  if (argc == 1) return InMemory();
  std::fprintf(stderr, "usage: codepage_bench [--generate PATH MB | FROM TO IN OUT]\n");
  return 2;
}
