#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage =
    "usage: orvi-cli COMMAND [OPTIONS] [FILE]\n"
    "\n"
    "Commands:\n"
    "  help    show this text\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "help") == 0)) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  if (argc < 2) {
    std::fputs("orvi-cli: missing command\n", stderr);
  } else {
    std::fprintf(stderr, "orvi-cli: unknown command '%s'\n", argv[1]);
  }
  std::fputs(kUsage, stderr);
  return 2;
}
