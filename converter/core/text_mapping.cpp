#include "converter/core/text_mapping.h"

#include <opencc.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf16.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <optional>
#include <string_view>

namespace quenlite {
namespace {

// --- letter case ------------------------------------------------------------------------------

// Maps every code point to exactly one code point, so that the text keeps its length and
// shape: the locale's own mapping where it yields a single code point (Turkish dotted and
// dotless i, for instance), otherwise the plain Unicode simple mapping (ß stays ß in upper case).
class CaseMapper {
 public:
  CaseMapper(const std::string& locale, bool upper) : locale_(locale), upper_(upper) {
    const std::string_view lang = std::string_view(locale_).substr(0, 2);
    ascii_is_plain_ = !(lang == "tr" || lang == "az");
  }

  char32_t Map(char32_t c) const {
    if (c < 0x80 && ascii_is_plain_) {
      if (upper_ && c >= u'a' && c <= u'z') return c - 0x20;
      if (!upper_ && c >= u'A' && c <= u'Z') return c + 0x20;
      return c;
    }
    // Most characters of a lyric (kana, kanji, punctuation) have no case at all.
    if (!u_hasBinaryProperty(static_cast<UChar32>(c), upper_ ? UCHAR_CHANGES_WHEN_UPPERCASED
                                                              : UCHAR_CHANGES_WHEN_LOWERCASED)) {
      return c;
    }
    UChar in[2];
    int32_t in_len = 0;
    U16_APPEND_UNSAFE(in, in_len, c);
    UChar out[8];
    UErrorCode err = U_ZERO_ERROR;
    const int32_t n = upper_ ? u_strToUpper(out, 8, in, in_len, locale_.c_str(), &err)
                             : u_strToLower(out, 8, in, in_len, locale_.c_str(), &err);
    if (U_SUCCESS(err) && n > 0 && n <= 2) {
      int32_t i = 0;
      UChar32 mapped;
      U16_NEXT(out, i, n, mapped);
      if (i == n) return static_cast<char32_t>(mapped);
    }
    return static_cast<char32_t>(upper_ ? u_toupper(static_cast<UChar32>(c))
                                        : u_tolower(static_cast<UChar32>(c)));
  }

 private:
  std::string locale_;
  bool upper_;
  bool ascii_is_plain_ = true;
};

std::u16string MapCase(std::u16string_view text, const std::string& locale, bool upper) {
  const CaseMapper mapper(locale, upper);
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const char16_t u = text[i];
    if (U16_IS_LEAD(u) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
      const char32_t c = static_cast<char32_t>(U16_GET_SUPPLEMENTARY(u, text[i + 1]));
      const char32_t m = mapper.Map(c);
      if (m > 0xFFFF) {
        out += static_cast<char16_t>(U16_LEAD(m));
        out += static_cast<char16_t>(U16_TRAIL(m));
      } else {
        out += static_cast<char16_t>(m);
      }
      i += 2;
      continue;
    }
    // An unpaired surrogate passes through unchanged.
    if (U16_IS_SURROGATE(u)) {
      out += u;
    } else {
      const char32_t m = mapper.Map(u);
      if (m > 0xFFFF) {
        out += static_cast<char16_t>(U16_LEAD(m));
        out += static_cast<char16_t>(U16_TRAIL(m));
      } else {
        out += static_cast<char16_t>(m);
      }
    }
    ++i;
  }
  return out;
}

// --- Chinese ----------------------------------------------------------------------------------

// Loaded conversions, kept for the program's run: loading the phrase tables is the slow part.
class ChineseConverters {
 public:
  static ChineseConverters& Instance() {
    static ChineseConverters instance;
    return instance;
  }

  // Converts valid UTF-8; nothing when the conversion data cannot be loaded or the conversion fails.
  std::optional<std::string> Convert(const std::string& config_path, std::string_view utf8) {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(config_path);
    if (it == handles_.end()) {
      opencc_t handle = opencc_open(config_path.c_str());
      if (handle == reinterpret_cast<opencc_t>(-1)) return std::nullopt;  // not cached: may appear later
      it = handles_.emplace(config_path, handle).first;
    }
    if (utf8.empty()) return std::string();
    char* converted = opencc_convert_utf8(it->second, utf8.data(), utf8.size());
    if (converted == nullptr) return std::nullopt;
    std::string result(converted);
    opencc_convert_utf8_free(converted);
    return result;
  }

 private:
  ChineseConverters() = default;
  ~ChineseConverters() {
    for (auto& [path, handle] : handles_) opencc_close(handle);
  }
  std::mutex mutex_;
  std::map<std::string, opencc_t> handles_;
};

std::optional<std::string> ToUtf8(std::u16string_view text) {
  int32_t needed = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strToUTF8(nullptr, 0, &needed, reinterpret_cast<const UChar*>(text.data()),
              static_cast<int32_t>(text.size()), &err);
  if (err != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(err)) return std::nullopt;
  std::string out(static_cast<std::size_t>(needed), '\0');
  err = U_ZERO_ERROR;
  u_strToUTF8(out.data(), needed, &needed, reinterpret_cast<const UChar*>(text.data()),
              static_cast<int32_t>(text.size()), &err);
  if (U_FAILURE(err)) return std::nullopt;
  return out;
}

std::optional<std::u16string> FromUtf8(std::string_view utf8) {
  int32_t needed = 0;
  UErrorCode err = U_ZERO_ERROR;
  u_strFromUTF8(nullptr, 0, &needed, utf8.data(), static_cast<int32_t>(utf8.size()), &err);
  if (err != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(err)) return std::nullopt;
  std::u16string out(static_cast<std::size_t>(needed), u'\0');
  err = U_ZERO_ERROR;
  u_strFromUTF8(reinterpret_cast<UChar*>(out.data()), needed, &needed, utf8.data(),
                static_cast<int32_t>(utf8.size()), &err);
  if (U_FAILURE(err)) return std::nullopt;
  return out;
}

// Converts the text run by run: an unpaired surrogate (which has no UTF-8 form) is kept as it
// is between the converted runs, so nothing of the text is lost.
std::optional<std::u16string> MapChinese(std::u16string_view text, const std::string& config_path) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t run_start = 0;
  auto flush = [&](std::size_t end) -> bool {
    if (end == run_start) return true;
    const auto utf8 = ToUtf8(text.substr(run_start, end - run_start));
    if (!utf8) return false;
    const auto converted = ChineseConverters::Instance().Convert(config_path, *utf8);
    if (!converted) return false;
    const auto back = FromUtf8(*converted);
    if (!back) return false;
    out += *back;
    return true;
  };
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t u = text[i];
    if (U16_IS_LEAD(u) && i + 1 < text.size() && U16_IS_TRAIL(text[i + 1])) {
      ++i;
      continue;
    }
    if (U16_IS_SURROGATE(u)) {
      if (!flush(i)) return std::nullopt;
      out += u;
      run_start = i + 1;
    }
  }
  if (!flush(text.size())) return std::nullopt;
  // Load the conversion even for a text that is all unpaired surrogates, so that missing data
  // fails the step whatever the text.
  if (!ChineseConverters::Instance().Convert(config_path, {})) return std::nullopt;
  return out;
}

std::string ChineseConfigPath(const MappingLocale& locale, bool to_traditional) {
  const char* name = to_traditional ? (locale.taiwan_chinese ? "s2tw.json" : "s2t.json")
                                    : (locale.taiwan_chinese ? "tw2s.json" : "t2s.json");
  if (locale.chinese_data_dir.empty()) return name;  // found in the installed data folder
  std::string path = locale.chinese_data_dir;
  if (path.back() != '/') path += '/';
  return path + name;
}

// --- kana -------------------------------------------------------------------------------------

// Hiragana U+3041..U+3096 and the iteration marks U+309D..U+309E sit exactly 0x60 below their
// katakana. Katakana without a hiragana form (ヷ..ヺ, the halfwidth forms) stay as they are.
std::u16string MapKana(std::u16string text, bool to_katakana) {
  for (char16_t& c : text) {
    if (to_katakana) {
      if ((c >= 0x3041 && c <= 0x3096) || c == 0x309D || c == 0x309E) c += 0x60;
    } else {
      if ((c >= 0x30A1 && c <= 0x30F6) || c == 0x30FD || c == 0x30FE) c -= 0x60;
    }
  }
  return text;
}

// "tr_TR.UTF-8@euro" -> "tr_TR"; the C and POSIX locales -> "" (ICU's root).
std::string LocaleId(std::string name) {
  const std::size_t cut = name.find_first_of(".@");
  if (cut != std::string::npos) name.resize(cut);
  if (name == "C" || name == "POSIX") return {};
  return name;
}

}  // namespace

MappingLocale MappingLocale::FromUser(common::CodePage ansi_code_page) {
  std::string name;
  for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    const char* v = std::getenv(var);
    if (v != nullptr && *v != '\0') {
      name = v;
      break;
    }
  }
  MappingLocale locale;
  locale.case_locale = LocaleId(name);
  const std::string& id = locale.case_locale;
  const bool taiwanese = id.rfind("zh", 0) == 0 && id.find("_TW") != std::string::npos;
  locale.taiwan_chinese = ansi_code_page == 950 || taiwanese;
  return locale;
}

StepResult ApplyAdvancedOptions(std::u16string text, const AdvancedOptions& options,
                                const MappingLocale& locale) {
  if (!options.Active()) return {StepOutcome::Bypassed, std::move(text)};
  // The mappings work on the text up to its first U+0000.
  const std::size_t nul = text.find(u'\0');
  if (nul != std::u16string::npos) text.resize(nul);

  if (options.upper_case || options.lower_case) {
    text = MapCase(text, locale.case_locale, options.upper_case);
  }
  if (options.to_traditional || options.to_simplified) {
    auto mapped = MapChinese(text, ChineseConfigPath(locale, options.to_traditional));
    if (!mapped) return {StepOutcome::Failed, {}};
    text = std::move(*mapped);
  }
  if (options.to_katakana || options.to_hiragana) {
    text = MapKana(std::move(text), options.to_katakana);
  }
  return {StepOutcome::Converted, std::move(text)};
}

}  // namespace quenlite
