#include "editor/cli/convert_command.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "common/tag_type.h"
#include "editor/core/export_generator.h"
#include "editor/core/export_options.h"
#include "editor/core/markup_parser.h"

namespace orvi::cli {

const char* const kConvertUsage =
    "usage: orvi-cli convert [--from auto|html|bbs|brackets] [--to html|bbs|brackets|verify]\n"
    "                        [--plain] [--css] [--no-br] [--encoding CP] [-o FILE] [FILE]\n"
    "\n"
    "Reads ruby markup from FILE (or standard input), takes it apart into text and annotations\n"
    "and writes them again in another dialect.\n"
    "\n"
    "  --from D      input dialect; auto (default) detects it from the first ruby tag\n"
    "  --to D        output dialect (default brackets), or verify: the text with every\n"
    "                annotated run replaced by its reading\n"
    "  --plain       no kanji and kana styles\n"
    "  --css         a CSS head instead of font tags (HTML only)\n"
    "  --no-br       no <br> before line ends (HTML only)\n"
    "  --encoding CP code page of input without a UTF-16 signature (default 65001, UTF-8)\n"
    "  -o FILE       write FILE as UTF-16LE with signature instead of UTF-8 on standard output\n"
    "  --help        show this text\n"
    "\n"
    "Exit status: 0 done, 1 input unreadable or undecodable or output unwritable, 2 usage error.\n";

namespace {

bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string& value,
               std::string& error) {
  if (i + 1 >= args.size()) {
    error = "option " + args[i] + " needs a value";
    return false;
  }
  value = args[++i];
  return true;
}

template <typename Enum, std::size_t N>
bool Lookup(const std::pair<const char*, Enum> (&names)[N], const std::string& option,
            const std::string& value, Enum& out, std::string& error) {
  for (const auto& [name, e] : names) {
    if (value == name) {
      out = e;
      return true;
    }
  }
  error = "unknown value '" + value + "' for " + option;
  return false;
}

bool ReadAll(const std::string& path, std::string& bytes, std::string& error) {
  std::FILE* f = path.empty() ? stdin : std::fopen(path.c_str(), "rb");
  const std::string name = path.empty() ? std::string("standard input") : path;
  if (!f) {
    error = "cannot open " + name + ": " + std::strerror(errno);
    return false;
  }
  bytes.clear();
  char buffer[65536];
  std::size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
  const bool failed = std::ferror(f) != 0;
  const int saved = errno;
  if (f != stdin) std::fclose(f);
  if (failed) {
    error = "cannot read " + name + ": " + std::strerror(saved);
    return false;
  }
  return true;
}

void DecodeUtf16(std::string_view bytes, bool big_endian, std::u16string& out) {
  out.resize(bytes.size() / 2);
  for (std::size_t k = 0; k < out.size(); ++k) {
    const auto b0 = static_cast<unsigned char>(bytes[2 * k]);
    const auto b1 = static_cast<unsigned char>(bytes[2 * k + 1]);
    out[k] = static_cast<char16_t>(big_endian ? (b0 << 8) | b1 : (b1 << 8) | b0);
  }
}

// Well-formed UTF-8: no stray or missing continuation bytes, overlong forms, surrogates or
// code points above U+10FFFF.
bool IsValidUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t extra;
    std::uint32_t cp;
    if (b < 0x80) {
      ++i;
      continue;
    } else if (b >= 0xC2 && b <= 0xDF) {
      extra = 1;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3;
      cp = b & 0x07;
    } else {
      return false;
    }
    if (s.size() - i <= extra) return false;
    for (std::size_t k = 1; k <= extra; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (c & 0x3F);
    }
    if ((extra == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) ||
        (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF))) {
      return false;
    }
    i += extra + 1;
  }
  return true;
}

// Code pages that can hold U+FFFD themselves; for every other one a U+FFFD in the decoded text
// stands for bytes the code page could not decode.
bool CanHoldReplacementCharacter(common::CodePage cp) {
  return cp == common::kCodePageUtf8 || cp == 54936 || cp == 65000 || cp == 12000 ||
         cp == 12001;
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool WriteFileReplacing(const std::string& path, std::string_view data, std::string& error) {
  std::string temp = path + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) {
    error = "cannot write " + path + ": " + std::strerror(errno);
    return false;
  }
  // mkstemp makes the file private; give it the permissions a new file would get.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(fd, 0666 & ~mask);
  bool ok = WriteAll(fd, data);
  int saved = errno;
  if (ok && ::fsync(fd) != 0) {
    ok = false;
    saved = errno;
  }
  if (::close(fd) != 0 && ok) {
    ok = false;
    saved = errno;
  }
  if (ok && std::rename(temp.c_str(), path.c_str()) != 0) {
    ok = false;
    saved = errno;
  }
  if (!ok) {
    ::unlink(temp.c_str());
    error = "cannot write " + path + ": " + std::strerror(saved);
  }
  return ok;
}

}  // namespace

bool ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& options,
                         std::string& error, const ExtraOptionParser& extra) {
  static const std::pair<const char*, InputDialect> kFrom[] = {
      {"auto", InputDialect::Auto},
      {"html", InputDialect::Html},
      {"bbs", InputDialect::Bbs},
      {"brackets", InputDialect::Brackets}};
  static const std::pair<const char*, OutputDialect> kTo[] = {
      {"html", OutputDialect::Html},
      {"bbs", OutputDialect::Bbs},
      {"brackets", OutputDialect::Brackets},
      {"verify", OutputDialect::Verify}};
  bool have_input = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    std::string value;
    if (a == "--help" || a == "-h") {
      options.help = true;
      return true;
    } else if (a == "--from") {
      if (!TakeValue(args, i, value, error) || !Lookup(kFrom, a, value, options.from, error)) {
        return false;
      }
    } else if (a == "--to") {
      if (!TakeValue(args, i, value, error) || !Lookup(kTo, a, value, options.to, error)) {
        return false;
      }
    } else if (a == "--plain") {
      options.plain = true;
    } else if (a == "--css") {
      options.css = true;
    } else if (a == "--no-br") {
      options.no_br = true;
    } else if (a == "--encoding") {
      if (!TakeValue(args, i, value, error)) return false;
      common::CodePage cp = 0;
      const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), cp);
      if (ec != std::errc() || end != value.data() + value.size() ||
          !common::IsCodePageAvailable(cp)) {
        error = "unknown code page '" + value + "'";
        return false;
      }
      options.code_page = cp;
    } else if (a == "-o") {
      if (!TakeValue(args, i, value, error)) return false;
      if (value.empty()) {
        error = "option -o needs a file name";
        return false;
      }
      options.output_path = value;
    } else if (a.size() > 1 && a[0] == '-') {
      const int taken = extra ? extra(args, i, error) : 0;
      if (taken < 0) return false;
      if (taken == 0) {
        error = "unknown option '" + a + "'";
        return false;
      }
      i += static_cast<std::size_t>(taken) - 1;
    } else {
      if (have_input) {
        error = "more than one input file";
        return false;
      }
      have_input = true;
      options.input_path = a;
    }
  }
  return true;
}

std::u16string NormaliseLineEnds(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r') {
      out += u"\r\n";
      if (i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else if (c == u'\n') {
      out += u"\r\n";
    } else {
      out.push_back(c);
    }
  }
  return out;
}

bool ReadInputText(const ConvertOptions& options, std::u16string& text, std::string& error) {
  std::string bytes;
  if (!ReadAll(options.input_path, bytes, error)) return false;
  const std::string name = options.input_path.empty() ? "standard input" : options.input_path;
  std::string_view view = bytes;
  std::u16string decoded;
  const bool le_signature = view.starts_with("\xFF\xFE");
  const bool be_signature = view.starts_with("\xFE\xFF");
  const common::CodePage cp = options.code_page;
  if (le_signature || be_signature || cp == common::kCodePageUtf16Le ||
      cp == common::kCodePageUtf16Be) {
    const bool big_endian = be_signature || (!le_signature && cp == common::kCodePageUtf16Be);
    if (le_signature || be_signature) view.remove_prefix(2);
    if (view.size() % 2 != 0) {
      error = name + " is not UTF-16: it has an odd number of bytes";
      return false;
    }
    DecodeUtf16(view, big_endian, decoded);
  } else {
    if (cp == common::kCodePageUtf8 && view.starts_with("\xEF\xBB\xBF")) view.remove_prefix(3);
    if (view.find('\0') != std::string_view::npos) {
      error = name + " holds a NUL byte: not a text in code page " + std::to_string(cp);
      return false;
    }
    // Undecodable bytes come out as U+FFFD, or as the substitute control character U+001A
    // in code pages that have no U+FFFD; either means the input is not in this code page.
    const bool bad_utf8 = cp == common::kCodePageUtf8 && !IsValidUtf8(view);
    const bool decoded_ok = view.empty() || common::DecodeBytes(cp, view, decoded);
    const auto substitutes = std::count(decoded.begin(), decoded.end(), u'\u001A');
    if (bad_utf8 || !decoded_ok ||
        (!CanHoldReplacementCharacter(cp) &&
         (decoded.find(u'\uFFFD') != std::u16string::npos ||
          substitutes > std::count(view.begin(), view.end(), '\x1A')))) {
      error = "cannot decode " + name + " in code page " + std::to_string(cp);
      return false;
    }
  }
  if (decoded.find(u'\0') != std::u16string::npos) {
    error = name + " holds a NUL character: not a text";
    return false;
  }
  text = NormaliseLineEnds(decoded);
  return true;
}

std::u16string ImportMarkup(std::u16string_view text, InputDialect from, RubyList& list) {
  common::EditorTagType type = common::EditorTagType::Brackets;
  switch (from) {
    case InputDialect::Auto: type = common::ToEditorTagType(common::DetectTagType(text)); break;
    case InputDialect::Html: type = common::EditorTagType::Html; break;
    case InputDialect::Bbs: type = common::EditorTagType::Bbs; break;
    case InputDialect::Brackets: type = common::EditorTagType::Brackets; break;
  }
  if (type == common::EditorTagType::Brackets) return ParseBrackets(text, list);
  return ParseTags(text, static_cast<int>(type), list).value_or(std::u16string());
}

std::u16string ExportMarkup(std::u16string_view text, const RubyList& list,
                            const ConvertOptions& options) {
  common::EditorTagType type = common::EditorTagType::Brackets;
  switch (options.to) {
    case OutputDialect::Verify: return MakeVerifyText(text, list);
    case OutputDialect::Html: type = common::EditorTagType::Html; break;
    case OutputDialect::Bbs: type = common::EditorTagType::Bbs; break;
    case OutputDialect::Brackets: type = common::EditorTagType::Brackets; break;
  }
  ExportSettings settings = DefaultExportSettings(type);
  if (options.plain) settings.options.styles_enabled = false;
  if (options.css) settings.options.use_css = true;
  if (options.no_br) settings.options.add_br = false;
  return GenerateExport(settings, text, list);
}

bool WriteOutput(const ConvertOptions& options, std::u16string_view output, std::string& error) {
  if (!options.output_path.empty()) {
    std::string bytes = "\xFF\xFE";
    bytes.reserve(2 + 2 * output.size());
    for (char16_t c : output) {
      bytes.push_back(static_cast<char>(c & 0xFF));
      bytes.push_back(static_cast<char>(c >> 8));
    }
    return WriteFileReplacing(options.output_path, bytes, error);
  }
  std::string bytes;
  if (!output.empty() && !common::EncodeText(common::kCodePageUtf8, output, bytes)) {
    error = "cannot encode the output as UTF-8";
    return false;
  }
  if (!WriteAll(STDOUT_FILENO, bytes)) {
    error = std::string("cannot write standard output: ") + std::strerror(errno);
    return false;
  }
  return true;
}

int RunConvert(const std::vector<std::string>& args) {
  ConvertOptions options;
  std::string error;
  if (!ParseConvertOptions(args, options, error)) {
    std::fprintf(stderr, "orvi-cli convert: %s\n%s", error.c_str(), kConvertUsage);
    return kExitUsage;
  }
  if (options.help) {
    std::fputs(kConvertUsage, stdout);
    return kExitOk;
  }
  std::u16string input;
  if (!ReadInputText(options, input, error)) {
    std::fprintf(stderr, "orvi-cli convert: %s\n", error.c_str());
    return kExitInputError;
  }
  RubyList list;
  const std::u16string text = ImportMarkup(input, options.from, list);
  if (!WriteOutput(options, ExportMarkup(text, list, options), error)) {
    std::fprintf(stderr, "orvi-cli convert: %s\n", error.c_str());
    return kExitInputError;
  }
  return kExitOk;
}

}  // namespace orvi::cli
