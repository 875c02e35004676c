// Feeds arbitrary texts and settings to the lyric format step.
//
// Input: byte 0 chooses the settings (source 0-2, destination 0-2); byte 1 chooses how the rest
// becomes text: odd maps every byte onto a small alphabet of lyric tag characters, even reads
// the bytes as UTF-16LE.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "converter/core/lyric_format.h"

namespace {

struct NullLog : quenlite::StatusLog {
  void LogStatus(std::u16string_view) override {}
};

constexpr char16_t kAlphabet[] = u"@[]:.0123456789tiTaArbylofse=\r\n x\0";
constexpr std::size_t kAlphabetSize = sizeof kAlphabet / sizeof kAlphabet[0] - 1;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  const quenlite::FormatConversionOptions options{
      static_cast<quenlite::FormatSource>(data[0] % 3),
      static_cast<quenlite::FormatDestination>((data[0] / 3) % 3)};
  std::u16string text;
  if (data[1] & 1) {
    for (std::size_t i = 2; i < size; ++i) text.push_back(kAlphabet[data[i] % kAlphabetSize]);
  } else {
    for (std::size_t i = 2; i + 1 < size; i += 2) {
      text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
  }

  NullLog log;
  const quenlite::StepResult result = quenlite::ConvertFormat(text, options, log);
  Check(result.outcome != quenlite::StepOutcome::Failed);
  if (result.outcome == quenlite::StepOutcome::Bypassed) {
    Check(result.text == text);
    return 0;
  }
  // Without "@" or "[" there are no tags: the text passes through whole.
  const std::u16string visible = text.substr(0, text.find(u'\0'));
  if (visible.find_first_of(u"@[") == std::u16string::npos) Check(result.text == visible);
  return 0;
}
