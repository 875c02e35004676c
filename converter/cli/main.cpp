#include <cstdio>
#include <cstring>

namespace {

constexpr const char* kUsage = "usage: quenlite-cli [options] SOURCE...\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--help") == 0) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  std::fputs(argc < 2 ? "quenlite-cli: missing source\n" : "quenlite-cli: not available yet\n",
             stderr);
  std::fputs(kUsage, stderr);
  return 2;
}
