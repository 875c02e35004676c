#include "common/codepages.h"

#include <langinfo.h>
#include <sys/mman.h>
#include <locale.h>
#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <mutex>
#include <cctype>
#include <cstring>
#include <memory>
#include <optional>

namespace common {
namespace {

struct CodePageEntry {
  CodePage number;
  const char* icu_name;      // nullptr: converted by our own code
  const char16_t* display;  // begins with the number
};

// Every code page the programs offer, in ascending order. 28603 is deliberately absent.
constexpr CodePageEntry kCodePages[] = {
    {437, "ibm-437", u"437  (OEM - United States)"},
    {850, "ibm-850", u"850  (OEM - Multilingual Latin I)"},
    {866, "ibm-866", u"866  (OEM - Russian)"},
    {874, "windows-874", u"874  (ANSI/OEM - Thai)"},
    {932, "windows-932", u"932  (ANSI/OEM - Japanese Shift-JIS)"},
    {936, "windows-936", u"936  (ANSI/OEM - Simplified Chinese GBK)"},
    {949, "windows-949", u"949  (ANSI/OEM - Korean)"},
    {950, "windows-950", u"950  (ANSI/OEM - Traditional Chinese Big5)"},
    {1200, nullptr, u"1200 (Unicode UCS-2 Little-Endian (BMP of ISO 10646))"},
    {1201, nullptr, u"1201 (Unicode UCS-2 Big-Endian)"},
    {1250, "windows-1250", u"1250  (ANSI - Central Europe)"},
    {1251, "windows-1251", u"1251  (ANSI - Cyrillic)"},
    {1252, "windows-1252", u"1252  (ANSI - Latin I)"},
    {1253, "windows-1253", u"1253  (ANSI - Greek)"},
    {1254, "windows-1254", u"1254  (ANSI - Turkish)"},
    {1255, "windows-1255", u"1255  (ANSI - Hebrew)"},
    {1256, "windows-1256", u"1256  (ANSI - Arabic)"},
    {1257, "windows-1257", u"1257  (ANSI - Baltic)"},
    {1258, "windows-1258", u"1258  (ANSI/OEM - Viet Nam)"},
    {20127, "US-ASCII", u"20127  (US-ASCII)"},
    {20866, "KOI8-R", u"20866  (Russian - KOI8-R)"},
    {20932, "EUC-JP", u"20932  (JIS X 0208-1990 & 0212-1990)"},
    {28591, "ISO-8859-1", u"28591  (ISO 8859-1 Latin I)"},
    {28592, "ISO-8859-2", u"28592  (ISO 8859-2 Central Europe)"},
    {28593, "ISO-8859-3", u"28593  (ISO 8859-3 Latin 3)"},
    {28594, "ISO-8859-4", u"28594  (ISO 8859-4 Baltic)"},
    {28595, "ISO-8859-5", u"28595  (ISO 8859-5 Cyrillic)"},
    {28596, "ISO-8859-6", u"28596  (ISO 8859-6 Arabic)"},
    {28597, "ISO-8859-7", u"28597  (ISO 8859-7 Greek)"},
    {28598, "ISO-8859-8", u"28598  (ISO 8859-8 Hebrew: Visual Ordering)"},
    {28599, "ISO-8859-9", u"28599  (ISO 8859-9 Latin 5)"},
    {28605, "ISO-8859-15", u"28605  (ISO 8859-15 Latin 9)"},
    {50220, "ISO-2022-JP", u"50220  (ISO-2022 Japanese with no halfwidth Katakana)"},
    {51932, "EUC-JP", u"51932  (EUC-Japanese)"},
    {51949, "EUC-KR", u"51949  (EUC-Korean)"},
    {54936, "GB18030", u"54936  (GB18030 Simplified Chinese)"},
    {65001, "UTF-8", u"65001  (UTF-8)"},
};

const CodePageEntry* FindEntry(CodePage cp) {
  for (const CodePageEntry& e : kCodePages) {
    if (e.number == cp) return &e;
  }
  return nullptr;
}

struct ConverterCloser {
  void operator()(UConverter* c) const { ucnv_close(c); }
};
using ConverterPtr = std::unique_ptr<UConverter, ConverterCloser>;

ConverterPtr OpenConverter(const CodePageEntry& e) {
  if (e.icu_name == nullptr) return nullptr;
  UErrorCode err = U_ZERO_ERROR;
  ConverterPtr conv(ucnv_open(e.icu_name, &err));
  if (U_FAILURE(err)) return nullptr;
  return conv;
}

bool CanOpen(const CodePageEntry& e) {
  if (e.icu_name == nullptr) return true;
  return OpenConverter(e) != nullptr;
}

// --- large buffers ---------------------------------------------------------------------------

// Fresh memory costs a page fault per 4 KB page; a whole lyric file or a 100 MB text passes
// through several buffers, so ask for transparent huge pages on big ones before they are
// touched. Only a hint: where the system declines, nothing changes.
void PreferHugePages(const void* data, std::size_t bytes) {
  constexpr std::uintptr_t kHuge = 2u << 20;
  if (bytes < 4 * kHuge) return;
  const auto begin = reinterpret_cast<std::uintptr_t>(data);
  const std::uintptr_t first = (begin + kHuge - 1) & ~(kHuge - 1);
  const std::uintptr_t last = (begin + bytes) & ~(kHuge - 1);
  if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
}

template <typename String>
void Reserve(String& s, std::size_t size) {
  if (size > s.capacity()) {
    s.reserve(size);
    PreferHugePages(s.data(), s.capacity() * sizeof(typename String::value_type));
  }
}

// --- UTF-16 by our own code -------------------------------------------------------------------

// Little- or big-endian code units from bytes; an odd final byte becomes the low (LE) or high
// (BE) byte of a last code unit.
void DecodeUtf16(std::string_view bytes, bool big_endian, std::u16string& out) {
  const std::size_t n = bytes.size();
  out.resize((n + 1) / 2);
  const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
  const std::size_t pairs = n / 2;
  for (std::size_t i = 0; i < pairs; ++i) {
    const unsigned a = p[2 * i];
    const unsigned b = p[2 * i + 1];
    out[i] = static_cast<char16_t>(big_endian ? (a << 8 | b) : (b << 8 | a));
  }
  if (n % 2 != 0) {
    const unsigned last = p[n - 1];
    out[pairs] = static_cast<char16_t>(big_endian ? last << 8 : last);
  }
}

void EncodeUtf16(std::u16string_view text, bool big_endian, std::string& out) {
  out.resize(text.size() * 2);
  char* q = out.data();
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF);
    const char hi = static_cast<char>(c >> 8);
    *q++ = big_endian ? hi : lo;
    *q++ = big_endian ? lo : hi;
  }
}

// --- UTF-8 output by our own code (the converter's usual destination, kept fast) -------------

// Encodes text into q, which has room for 3 bytes a unit, up to the text's first U+0000.
// Returns the bytes written; *units receives how many units were encoded. Unpaired surrogates
// become U+FFFD, as the platform converters write them.
std::size_t EncodeUtf8Piece(std::u16string_view text, unsigned char* q, std::size_t* units) {
  unsigned char* const q0 = q;
  const char16_t* const begin = text.data();
  const char16_t* p = begin;
  const char16_t* const end = p + text.size();
  while (p < end) {
    const std::uint32_t c = *p++;
    if (c < 0x80) {
      if (c == 0) {
        --p;
        break;
      }
      *q++ = static_cast<unsigned char>(c);
      // Runs of ASCII without U+0000, four units at a time.
      while (end - p >= 4) {
        std::uint64_t v;
        std::memcpy(&v, p, 8);
        const bool wide = (v & 0xFF80FF80FF80FF80ULL) != 0;
        const bool zero = ((v - 0x0001000100010001ULL) & ~v & 0x8000800080008000ULL) != 0;
        if (wide || zero) break;
        q[0] = static_cast<unsigned char>(p[0]);
        q[1] = static_cast<unsigned char>(p[1]);
        q[2] = static_cast<unsigned char>(p[2]);
        q[3] = static_cast<unsigned char>(p[3]);
        q += 4;
        p += 4;
      }
    } else if (c < 0x800) {
      *q++ = static_cast<unsigned char>(0xC0 | c >> 6);
      *q++ = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c >= 0xD800 && c <= 0xDBFF && p < end && *p >= 0xDC00 && *p <= 0xDFFF) {
      const std::uint32_t cp = 0x10000 + ((c - 0xD800) << 10) + (*p++ - 0xDC00);
      *q++ = static_cast<unsigned char>(0xF0 | cp >> 18);
      *q++ = static_cast<unsigned char>(0x80 | (cp >> 12 & 0x3F));
      *q++ = static_cast<unsigned char>(0x80 | (cp >> 6 & 0x3F));
      *q++ = static_cast<unsigned char>(0x80 | (cp & 0x3F));
    } else {
      const std::uint32_t u = (c >= 0xD800 && c <= 0xDFFF) ? 0xFFFD : c;
      *q++ = static_cast<unsigned char>(0xE0 | u >> 12);
      *q++ = static_cast<unsigned char>(0x80 | (u >> 6 & 0x3F));
      *q++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
    }
  }
  *units = static_cast<std::size_t>(p - begin);
  return static_cast<std::size_t>(q - q0);
}

// The text ends at its first U+0000. Works piece by piece through a small buffer, so that the
// output is written once, by appending. The room for the longest output is reserved at once;
// only the part the output fills is ever touched.
void EncodeUtf8(std::u16string_view text, std::string& out) {
  constexpr std::size_t kPiece = 8 * 1024;
  unsigned char piece[3 * kPiece + 3];
  Reserve(out, text.size() * 3);
  while (!text.empty()) {
    std::size_t take = std::min(kPiece, text.size());
    // Keep a surrogate pair in one piece.
    if (take < text.size() && text[take - 1] >= 0xD800 && text[take - 1] <= 0xDBFF) ++take;
    std::size_t units = 0;
    const std::size_t bytes = EncodeUtf8Piece(text.substr(0, take), piece, &units);
    out.append(reinterpret_cast<const char*>(piece), bytes);
    if (units < take) break;  // a U+0000 ends the text
    text.remove_prefix(take);
  }
}

// --- control characters of the IBM-derived converters ----------------------------------------

// ICU's converters for the PC code pages (437, 850, 866) and for 932 follow IBM's habit of
// rotating three control characters (byte 1A <-> U+001C, 1C <-> U+007F, 7F <-> U+001A). These
// code pages map every byte below 80 to itself, so the rotation is undone on the way in and
// done on the way out, and a control character survives a round trip unchanged.
bool RotatesControls(CodePage cp) { return cp == 437 || cp == 850 || cp == 866 || cp == 932; }

// Decoded by ICU -> the code page's own meaning.
char16_t UnrotateDecoded(char16_t c) {
  switch (c) {
    case 0x001C: return 0x001A;
    case 0x007F: return 0x001C;
    case 0x001A: return 0x007F;
    default: return c;
  }
}

// The code page's own meaning -> what ICU must be given to write that byte.
char16_t RotateForEncoding(char16_t c) {
  switch (c) {
    case 0x001A: return 0x001C;
    case 0x001C: return 0x007F;
    case 0x007F: return 0x001A;
    default: return c;
  }
}

// --- double-byte code pages by table ----------------------------------------------------------

// The double-byte code pages (932, 936, 949, 950) decode a byte or a byte pair to one UTF-16
// unit. Their tables are read once from ICU, so that well-formed text decodes in a tight loop;
// any input the tables do not cover (a broken pair, an unassigned code) goes through ICU whole,
// which keeps every result identical to ICU's.
class DoubleByteTable {
 public:
  static const DoubleByteTable* For(const CodePageEntry& e) {
    struct Slot {
      std::once_flag once;
      std::unique_ptr<DoubleByteTable> table;
    };
    static Slot slots[4];
    int index = -1;
    switch (e.number) {
      case 932: index = 0; break;
      case 936: index = 1; break;
      case 949: index = 2; break;
      case 950: index = 3; break;
      default: return nullptr;
    }
    Slot& slot = slots[index];
    std::call_once(slot.once, [&] { slot.table = Build(e); });
    return slot.table.get();
  }

  struct Extent {
    const unsigned char* stop;  // where decoding stopped
    std::size_t units;          // how many UTF-16 units were written
    bool nul;                   // stopped at a zero byte, the end of the text
  };

  // Decodes the bytes from p on into q until limit (a pair that begins before limit is taken
  // whole, within end), or until the first zero byte, the only byte that decodes to U+0000 and
  // the end of the text. Nothing when the tables do not cover the bytes.
  std::optional<Extent> DecodePiece(const unsigned char* p, const unsigned char* limit,
                                    const unsigned char* end, char16_t* q) const {
    char16_t* const q0 = q;
    while (p < limit) {
      const unsigned b = *p;
      const char16_t single = single_[b];
      if (single != 0) {
        *q++ = single;
        ++p;
        if (b < 0x80 && ascii_identity_) {
          while (limit - p >= 8 && PlainAscii(p)) {
            for (int i = 0; i < 8; ++i) q[i] = p[i];
            p += 8;
            q += 8;
          }
        }
        continue;
      }
      if (b == 0) return Extent{p, static_cast<std::size_t>(q - q0), true};
      if (end - p < 2) return std::nullopt;
      const char16_t pair = pair_[b << 8 | p[1]];
      if (pair == 0) return std::nullopt;
      *q++ = pair;
      p += 2;
    }
    return Extent{p, static_cast<std::size_t>(q - q0), false};
  }

  // Decodes the text of bytes (up to the first zero byte) into out; false, with out in any
  // state, when the tables do not cover it. Works piece by piece through a small buffer, so
  // that the text itself is written once, by appending.
  bool DecodeAll(std::string_view bytes, std::u16string& out) const {
    constexpr std::size_t kPiece = 16 * 1024;
    char16_t piece[kPiece + 1];
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const auto* const end = p + bytes.size();
    Reserve(out, bytes.size());
    while (p < end) {
      const auto* const limit = end - p > static_cast<std::ptrdiff_t>(kPiece) ? p + kPiece : end;
      const std::optional<Extent> extent = DecodePiece(p, limit, end, piece);
      if (!extent) return false;
      out.append(piece, extent->units);
      if (extent->nul) break;
      p = extent->stop;
    }
    return true;
  }

 private:
  enum class Kind : std::uint8_t { kInvalid, kSingle, kLead };

  // Eight bytes of ASCII without a zero byte.
  static bool PlainAscii(const unsigned char* p) {
    std::uint64_t v;
    std::memcpy(&v, p, 8);
    const bool high = (v & 0x8080808080808080ULL) != 0;
    const bool zero = ((v - 0x0101010101010101ULL) & ~v & 0x8080808080808080ULL) != 0;
    return !high && !zero;
  }

  // One ICU conversion that stops at the first error: the units of a complete, valid input.
  static std::optional<std::u16string> Exact(UConverter* conv, const char* bytes, std::size_t n) {
    ucnv_resetToUnicode(conv);
    UChar buf[8];
    UChar* dst = buf;
    const char* src = bytes;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_toUnicode(conv, &dst, buf + 8, &src, bytes + n, nullptr, true, &err);
    if (U_FAILURE(err) || src != bytes + n) return std::nullopt;
    return std::u16string(reinterpret_cast<const char16_t*>(buf), static_cast<std::size_t>(dst - buf));
  }

  static std::unique_ptr<DoubleByteTable> Build(const CodePageEntry& e) {
    ConverterPtr conv = OpenConverter(e);
    if (!conv) return nullptr;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_setToUCallBack(conv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
    if (U_FAILURE(err)) return nullptr;
    auto t = std::make_unique<DoubleByteTable>();
    for (int b = 0; b < 256; ++b) {
      const char one = static_cast<char>(b);
      if (auto u = Exact(conv.get(), &one, 1)) {
        // U+0000 marks "not a single byte", so only the zero byte may decode to it.
        if (u->size() != 1 || ((*u)[0] == 0) != (b == 0)) continue;
        t->kind_[b] = Kind::kSingle;
        t->single_[b] = (*u)[0];
        continue;
      }
      bool lead = false;
      for (int trail = 0; trail < 256; ++trail) {
        const char two[2] = {one, static_cast<char>(trail)};
        const auto u = Exact(conv.get(), two, 2);
        // U+0000 marks "no pair", so a pair decoding to it (there is none) stays with ICU.
        if (u && u->size() == 1 && (*u)[0] != 0) {
          t->pair_[b << 8 | trail] = (*u)[0];
          lead = true;
        }
      }
      if (lead) t->kind_[b] = Kind::kLead;
    }
    if (RotatesControls(e.number)) {
      for (const int b : {0x1A, 0x1C, 0x7F}) t->single_[b] = UnrotateDecoded(t->single_[b]);
    }
    t->ascii_identity_ = true;
    for (int b = 1; b < 0x80; ++b) {
      if (t->kind_[b] != Kind::kSingle || t->single_[b] != b) t->ascii_identity_ = false;
    }
    return t;
  }

 public:
  DoubleByteTable() {
    kind_.fill(Kind::kInvalid);
    single_.fill(0);
    pair_.fill(0);
  }

 private:
  std::array<Kind, 256> kind_;
  std::array<char16_t, 256> single_;
  std::array<char16_t, 65536> pair_;
  bool ascii_identity_ = false;  // bytes 01..7F are themselves, as in every table so far
};

// --- everything else through ICU --------------------------------------------------------------

// Both ICU paths convert through a small buffer and append, so that the result is written
// once; the room reserved up front fits what most texts need and grows by doubling otherwise.
// Writes U+FFFD for every byte sequence the code page cannot decode.
void SubstituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*,
                                    int32_t, UConverterCallbackReason reason, UErrorCode* err) {
  if (reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR) {
    *err = U_ZERO_ERROR;
    const UChar replacement = 0xFFFD;
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
  }
}

bool DecodeWithIcu(const CodePageEntry& e, std::string_view bytes, std::u16string& out) {
  ConverterPtr conv = OpenConverter(e);
  if (!conv) return false;
  if (RotatesControls(e.number)) {
    // These converters substitute U+001A for what they cannot decode, which the undoing of
    // the rotation could not tell from the byte 7F; U+FFFD says plainly what happened.
    UErrorCode err = U_ZERO_ERROR;
    ucnv_setToUCallBack(conv.get(), SubstituteReplacementCharacter, nullptr, nullptr, nullptr,
                        &err);
    if (U_FAILURE(err)) return false;
  }
  Reserve(out, bytes.size() + 2);
  UChar piece[16 * 1024];
  const char* src = bytes.data();
  const char* const src_end = src + bytes.size();
  for (;;) {
    UChar* dst = piece;
    UErrorCode err = U_ZERO_ERROR;
    ucnv_toUnicode(conv.get(), &dst, piece + std::size(piece), &src, src_end, nullptr, true, &err);
    out.append(reinterpret_cast<const char16_t*>(piece), static_cast<std::size_t>(dst - piece));
    if (err == U_BUFFER_OVERFLOW_ERROR) continue;
    return U_SUCCESS(err);
  }
}

// Writes the substitution bytes for every character the code page cannot represent. ICU's own
// substitution silently drops default-ignorable characters (U+FEFF, U+200B, ...), which would
// lose them without a trace and can even leave nothing of a text.
void SubstituteEveryCharacter(const void*, UConverterFromUnicodeArgs* args, const UChar*, int32_t,
                              UChar32, UConverterCallbackReason reason, UErrorCode* err) {
  if (reason == UCNV_UNASSIGNED || reason == UCNV_ILLEGAL || reason == UCNV_IRREGULAR) {
    *err = U_ZERO_ERROR;
    ucnv_cbFromUWriteSub(args, 0, err);
  }
}

bool EncodeWithIcu(const CodePageEntry& e, std::u16string_view text, std::string& out) {
  ConverterPtr conv = OpenConverter(e);
  if (!conv) return false;
  UErrorCode err = U_ZERO_ERROR;
  // Characters the code page cannot represent, and unpaired surrogates, become "?".
  ucnv_setSubstChars(conv.get(), "?", 1, &err);
  // Like the platform conversion with no flags, write a close match where the code page has
  // one (WAVE DASH and MINUS SIGN in Shift-JIS, an accented letter as its base letter), so
  // that common lyric punctuation from Unicode sources is not lost as "?".
  ucnv_setFallback(conv.get(), true);
  ucnv_setFromUCallBack(conv.get(), SubstituteEveryCharacter, nullptr, nullptr, nullptr, &err);
  if (U_FAILURE(err)) return false;
  Reserve(out, text.size() * 2 + 16);
  char piece[32 * 1024];
  const UChar* src = reinterpret_cast<const UChar*>(text.data());
  const UChar* const src_end = src + text.size();
  for (;;) {
    char* dst = piece;
    err = U_ZERO_ERROR;
    ucnv_fromUnicode(conv.get(), &dst, piece + sizeof piece, &src, src_end, nullptr, true, &err);
    out.append(piece, static_cast<std::size_t>(dst - piece));
    if (err == U_BUFFER_OVERFLOW_ERROR) continue;
    return U_SUCCESS(err);
  }
}

std::string UpperAlnum(std::string_view s) {
  std::string r;
  for (char c : s) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      r += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
  }
  return r;
}

}  // namespace

const std::vector<CodePageInfo>& InstalledCodePages() {
  static const std::vector<CodePageInfo> list = [] {
    std::vector<CodePageInfo> v;
    for (const CodePageEntry& e : kCodePages) {
      if (CanOpen(e)) v.push_back({e.number, e.display});
    }
    return v;
  }();
  return list;
}

bool IsCodePageAvailable(CodePage cp) {
  const auto& list = InstalledCodePages();
  return std::any_of(list.begin(), list.end(), [cp](const CodePageInfo& i) { return i.number == cp; });
}

std::u16string CodePageDisplayName(CodePage cp) {
  for (const CodePageInfo& i : InstalledCodePages()) {
    if (i.number == cp) return i.display_name;
  }
  return {};
}

CodePage CodePageOfCharset(std::string_view charset) {
  const std::string key = UpperAlnum(charset);
  struct Alias {
    const char* key;
    CodePage cp;
  };
  static constexpr Alias kAliases[] = {
      {"SHIFTJIS", 932},   {"SJIS", 932},         {"CP932", 932},      {"WINDOWS31J", 932},
      {"GBK", 936},        {"GB2312", 936},       {"CP936", 936},      {"EUCCN", 936},
      {"GB18030", 54936},  {"BIG5", 950},         {"CP950", 950},      {"BIG5HKSCS", 950},
      {"EUCKR", 51949},    {"CP949", 949},        {"UHC", 949},        {"EUCJP", 20932},
      {"TIS620", 874},     {"CP874", 874},        {"KOI8R", 20866},    {"CP437", 437},
      {"CP850", 850},      {"CP866", 866},        {"ISO885915", 28605}, {"ISO88591", 28591},
      {"ISO88592", 28592}, {"ISO88593", 28593},   {"ISO88594", 28594}, {"ISO88595", 28595},
      {"ISO88596", 28596}, {"ISO88597", 28597},   {"ISO88598", 28598}, {"ISO88599", 28599},
  };
  for (const Alias& a : kAliases) {
    if (key == a.key) return IsCodePageAvailable(a.cp) ? a.cp : kCodePageUtf8;
  }
  for (CodePage cp = 1250; cp <= 1258; ++cp) {
    const std::string n = std::to_string(cp);
    if (key == "CP" + n || key == "WINDOWS" + n) return IsCodePageAvailable(cp) ? cp : kCodePageUtf8;
  }
  // UTF-8, plain ASCII (the C locale; UTF-8 reads it alike and loses nothing on output) and
  // every character set without a code page of ours.
  return kCodePageUtf8;
}

CodePage AnsiCodePage() {
  static const CodePage cp = [] {
    locale_t loc = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
    if (loc == static_cast<locale_t>(nullptr)) return kCodePageUtf8;
    const CodePage result = CodePageOfCharset(nl_langinfo_l(CODESET, loc));
    freelocale(loc);
    return result;
  }();
  return cp;
}

bool DecodeBytes(CodePage cp, std::string_view bytes, std::u16string& out) {
  out.clear();
  const CodePageEntry* e = FindEntry(cp);
  if (e == nullptr) return false;
  if (cp == kCodePageUtf16Le || cp == kCodePageUtf16Be) {
    DecodeUtf16(bytes, cp == kCodePageUtf16Be, out);
  } else {
    if (const DoubleByteTable* table = DoubleByteTable::For(*e);
        table != nullptr && table->DecodeAll(bytes, out)) {
      return !out.empty();
    }
    out.clear();  // whatever the tables decoded before they gave up
    if (!DecodeWithIcu(*e, bytes, out)) {
      out.clear();
      return false;
    }
    if (RotatesControls(cp)) {
      for (char16_t& c : out) c = UnrotateDecoded(c);
    }
  }
  // The text ends at its first U+0000; an empty text is no text.
  const std::size_t nul = out.find(u'\0');
  if (nul != std::u16string::npos) out.resize(nul);
  return !out.empty();
}

bool EncodeText(CodePage cp, std::u16string_view text, std::string& out) {
  out.clear();
  const CodePageEntry* e = FindEntry(cp);
  if (e == nullptr) return false;
  if (cp == kCodePageUtf16Le || cp == kCodePageUtf16Be) {
    if (text.empty()) return false;
    EncodeUtf16(text, cp == kCodePageUtf16Be, out);
    return true;
  }
  // Code-page output ends at its first zero byte, which only a U+0000 of the text produces.
  if (cp == kCodePageUtf8) {
    EncodeUtf8(text, out);
    return !out.empty();
  }
  const std::size_t nul = text.find(u'\0');
  if (nul != std::u16string_view::npos) text = text.substr(0, nul);
  std::u16string rotated;
  if (RotatesControls(cp) && text.find_first_of(u"\u001A\u001C\u007F") != std::u16string_view::npos) {
    rotated.assign(text);
    for (char16_t& c : rotated) c = RotateForEncoding(c);
    text = rotated;
  }
  if (!EncodeWithIcu(*e, text, out)) {
    out.clear();
    return false;
  }
  return !out.empty();
}

}  // namespace common
