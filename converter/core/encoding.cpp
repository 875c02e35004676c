#include "converter/core/encoding.h"

namespace quenlite {
namespace {

constexpr char16_t kBypassed[] = u"  check unicode signature: bypassed.";
constexpr char16_t kFound[] = u"  check unicode signature: found.";
constexpr char16_t kReverseFound[] = u"  check unicode signature: reverse signature found.";
constexpr char16_t kNotFound[] = u"  check unicode signature: not found.";

std::optional<std::u16string> Decode(common::CodePage cp, std::string_view bytes) {
  std::u16string text;
  if (!common::DecodeBytes(cp, bytes, text)) return std::nullopt;
  return text;
}

}  // namespace

std::optional<std::u16string> DecodeSource(std::string_view bytes, const EncodingSettings& settings,
                                           StatusLog& log, SignatureCheck* check) {
  auto report = [&](SignatureCheck c, const char16_t* line) {
    if (check != nullptr) *check = c;
    log.LogStatus(line);
  };
  if (!settings.force_unicode_check) {
    report(SignatureCheck::kBypassed, kBypassed);
    return Decode(settings.source_code_page, bytes);
  }
  // Only the two signature bytes decide; whatever follows them is decoded as UTF-16.
  if (bytes.size() >= 2) {
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    if (b0 == 0xFE && b1 == 0xFF) {
      report(SignatureCheck::kReverseFound, kReverseFound);
      return Decode(common::kCodePageUtf16Be, bytes.substr(2));
    }
    if (b0 == 0xFF && b1 == 0xFE) {
      report(SignatureCheck::kFound, kFound);
      return Decode(common::kCodePageUtf16Le, bytes.substr(2));
    }
  }
  report(SignatureCheck::kNotFound, kNotFound);
  return Decode(settings.source_code_page, bytes);
}

std::optional<std::string> EncodeDestination(std::u16string_view text, common::CodePage dest_code_page) {
  std::string body;
  if (!common::EncodeText(dest_code_page, text, body)) return std::nullopt;
  if (dest_code_page == common::kCodePageUtf16Le) return "\xFF\xFE" + body;
  if (dest_code_page == common::kCodePageUtf16Be) return "\xFE\xFF" + body;
  return body;
}

}  // namespace quenlite
