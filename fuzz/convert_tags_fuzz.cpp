// Feeds arbitrary texts and settings to the tag step and checks that it never loses text it
// cannot read.
//
// Input: byte 0 chooses the settings (source 0-3, destination 0-3, the break option); byte 1
// chooses how the rest becomes text: odd maps every byte onto a small alphabet of markup
// characters, even reads the bytes as UTF-16LE.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "common/tag_type.h"
#include "converter/core/tag_conversion.h"

namespace {

struct NullLog : quenlite::StatusLog {
  void LogStatus(std::u16string_view) override {}
};

constexpr char16_t kAlphabet[] = u"<>[]/rubytpRB()\uFF08\uFF09漢字々かな\r\n a\0";
constexpr std::size_t kAlphabetSize = sizeof kAlphabet / sizeof kAlphabet[0] - 1;

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  using common::ConverterTagType;
  const quenlite::TagConversionOptions options{static_cast<ConverterTagType>(data[0] & 3),
                                               static_cast<ConverterTagType>((data[0] >> 2) & 3),
                                               (data[0] & 16) != 0};
  std::u16string text;
  if (data[1] & 1) {
    for (std::size_t i = 2; i < size; ++i) text.push_back(kAlphabet[data[i] % kAlphabetSize]);
  } else {
    for (std::size_t i = 2; i + 1 < size; i += 2) {
      text.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
    }
  }

  NullLog log;
  const quenlite::StepResult result = quenlite::ConvertTags(text, options, log);
  Check(result.outcome != quenlite::StepOutcome::Failed);
  if (result.outcome == quenlite::StepOutcome::Bypassed) {
    Check(result.text == text);
    return 0;
  }

  // A text without any character that could start markup of its dialect comes out unchanged.
  const std::u16string visible = text.substr(0, text.find(u'\0'));
  ConverterTagType source = options.source;
  if (source == ConverterTagType::AutoOrNone) {
    source = common::ToConverterTagType(common::DetectTagType(visible));
  }
  const std::u16string_view starters = source == ConverterTagType::Brackets ? u"(\uFF08"
                                       : source == ConverterTagType::Html   ? u"<"
                                                                            : u"[";
  const bool breaks = options.add_br && options.destination == ConverterTagType::Html;
  if (!breaks && visible.find_first_of(starters) == std::u16string::npos) {
    Check(result.text == visible);
  }
  return 0;
}
