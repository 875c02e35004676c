// Decodes arbitrary file bytes the way the batch does, then encodes the text again, and checks
// what must hold whatever the bytes: a decoded text is never empty and holds no U+0000, UTF-16
// output reads back to the same text, UTF-8 output reads back for text without unpaired
// surrogates, and code-page output never holds a zero byte. The double-byte code pages, which
// decode by their own tables, must give exactly what ICU's converter gives.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>

#include "common/codepages.h"
#include "converter/core/encoding.h"

namespace {

struct NullLog : quenlite::StatusLog {
  int lines = 0;
  void LogStatus(std::u16string_view) override { ++lines; }
};

void Check(bool ok) {
  if (!ok) std::abort();
}

bool HasUnpairedSurrogate(const std::u16string& t) {
  for (std::size_t i = 0; i < t.size(); ++i) {
    const char16_t c = t[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < t.size() && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) {
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      return true;
    }
  }
  return false;
}

// ICU's own decoding of bytes, cut at the first U+0000.
void WriteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*, int32_t,
                               UConverterCallbackReason reason, UErrorCode* err) {
  if (reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR) {
    *err = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
  }
}

std::u16string IcuDecode(const char* name, std::string_view bytes, bool replacement_character) {
  UErrorCode err = U_ZERO_ERROR;
  UConverter* conv = ucnv_open(name, &err);
  Check(U_SUCCESS(err));
  if (replacement_character) {
    ucnv_setToUCallBack(conv, WriteReplacementCharacter, nullptr, nullptr, nullptr, &err);
    Check(U_SUCCESS(err));
  }
  std::u16string out(bytes.size() + 2, u'\0');
  const int32_t n = ucnv_toUChars(conv, reinterpret_cast<UChar*>(out.data()),
                                  static_cast<int32_t>(out.size()), bytes.data(),
                                  static_cast<int32_t>(bytes.size()), &err);
  ucnv_close(conv);
  Check(U_SUCCESS(err));
  out.resize(static_cast<std::size_t>(n));
  const std::size_t nul = out.find(u'\0');
  if (nul != std::u16string::npos) out.resize(nul);
  return out;
}

void CompareWithIcu(std::string_view bytes) {
  const std::pair<common::CodePage, const char*> tables[] = {
      {932, "windows-932"}, {936, "windows-936"}, {949, "windows-949"}, {950, "windows-950"}};
  for (const auto& [cp, name] : tables) {
    std::u16string ours;
    const bool ok = common::DecodeBytes(cp, bytes, ours);
    std::u16string icu = IcuDecode(name, bytes, cp == 932);
    if (cp == 932) {
      // ICU rotates three control characters in this code page; ours keeps them as bytes, and
      // writes U+FFFD for what cannot be decoded.
      for (char16_t& c : icu) {
        c = c == 0x1C ? 0x1A : c == 0x7F ? 0x1C : c == 0x1A ? 0x7F : c;
      }
    }
    Check(ok == !icu.empty());
    Check(!ok || ours == icu);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const auto& pages = common::InstalledCodePages();
  quenlite::EncodingSettings settings;
  settings.force_unicode_check = (data[0] & 1) != 0;
  settings.source_code_page = pages[data[1] % pages.size()].number;
  settings.dest_code_page = pages[data[2] % pages.size()].number;
  const std::string_view bytes(reinterpret_cast<const char*>(data + 3), size - 3);

  CompareWithIcu(bytes);

  NullLog log;
  const auto text = quenlite::DecodeSource(bytes, settings, log);
  Check(log.lines == 1);
  if (!text) return 0;
  Check(!text->empty());
  Check(text->find(u'\0') == std::u16string::npos);

  const auto out = quenlite::EncodeDestination(*text, settings.dest_code_page);
  if (out) {
    Check(!out->empty());
    if (settings.dest_code_page != common::kCodePageUtf16Le &&
        settings.dest_code_page != common::kCodePageUtf16Be) {
      Check(out->find('\0') == std::string::npos);
    }
  } else {
    Check(false);  // a non-empty text without U+0000 always encodes
  }

  // UTF-16 is lossless both ways, signature included.
  for (common::CodePage cp : {common::kCodePageUtf16Le, common::kCodePageUtf16Be}) {
    const auto utf16 = quenlite::EncodeDestination(*text, cp);
    Check(utf16.has_value() && utf16->size() == 2 + 2 * text->size());
    quenlite::EncodingSettings back{common::kCodePageUtf8, cp, true};
    Check(quenlite::DecodeSource(*utf16, back, log) == text);
  }
  if (!HasUnpairedSurrogate(*text)) {
    std::string utf8;
    Check(common::EncodeText(common::kCodePageUtf8, *text, utf8));
    std::u16string again;
    Check(common::DecodeBytes(common::kCodePageUtf8, utf8, again) && again == *text);
  }
  return 0;
}
