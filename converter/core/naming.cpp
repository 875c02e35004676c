#include "converter/core/naming.h"

#include <cstdint>

namespace quenlite {

namespace {

constexpr std::u16string_view kRenameInfix = u"_quenlite_";

bool IsOpenParenthesis(char16_t c) { return c == u'(' || c == u'\uFF08'; }
bool IsCloseParenthesis(char16_t c) { return c == u')' || c == u'\uFF09'; }

// Re-encodes a name: out through the destination code page, back in through the source code
// page, as a file name written on one system and read on another would come out. Nothing when
// either conversion fails or the result could not serve as a single name.
std::optional<std::u16string> ReencodeName(const Settings& settings, const std::u16string& name) {
  std::string bytes;
  // Every byte goes on to the decoder: the zero bytes of a UTF-16 encoding are part of the
  // name, and the decoded text ends at its first U+0000 in any case.
  if (!common::EncodeText(settings.destination_code_page, name, bytes)) return std::nullopt;
  if (bytes.empty()) return std::nullopt;
  std::u16string decoded;
  if (!common::DecodeBytes(settings.source_code_page, bytes, decoded)) return std::nullopt;
  const std::size_t end = decoded.find(u'\0');
  if (end != std::u16string::npos) decoded.resize(end);
  // A separator produced by the round trip, or a name that means a folder, would put the file
  // somewhere else.
  if (decoded.empty() || decoded == u"." || decoded == u".." ||
      decoded.find(kPathSeparator) != std::u16string::npos) {
    return std::nullopt;
  }
  return decoded;
}

// Turns a parenthesised album name at the start of name into a folder: "(Album) x.txt"
// becomes "Album/ x.txt". Returns the position of the new separator, or npos when the name
// does not qualify (no opening parenthesis first, never closed, an empty pair at the start,
// the closing parenthesis as the last unit, or an album name that would leave the folder).
std::size_t SplitAlbum(std::u16string& name) {
  if (name.empty() || !IsOpenParenthesis(name[0])) return std::u16string::npos;
  int depth = 1;
  for (std::size_t i = 1; i < name.size(); ++i) {
    if (IsOpenParenthesis(name[i])) {
      ++depth;
    } else if (IsCloseParenthesis(name[i])) {
      --depth;
    }
    if (depth != 0) continue;
    if (i == 1 || i == name.size() - 1) return std::u16string::npos;
    const std::u16string_view album = std::u16string_view(name).substr(1, i - 1);
    if (album == u"." || album == u"..") return std::u16string::npos;
    name.erase(0, 1);
    name[i - 1] = kPathSeparator;
    return i - 1;
  }
  return std::u16string::npos;
}

}  // namespace

void AdjustExtension(const Settings& settings, std::u16string& name) {
  if (!settings.format_conversion || name.size() < 5) return;
  const std::u16string_view ending = std::u16string_view(name).substr(name.size() - 4);
  if (ending != u".lrc" && ending != u".kra" && ending != u".txt") return;
  std::u16string_view replacement = u".txt";
  switch (settings.destination_format) {
    case FormatDestination::PlainText: replacement = u".txt"; break;
    case FormatDestination::Kra: replacement = u".kra"; break;
    case FormatDestination::Lrc: replacement = u".lrc"; break;
  }
  name.replace(name.size() - 4, 4, replacement);
}

std::u16string MakeDestName(const Settings& settings, std::u16string_view source_name) {
  std::u16string name(source_name);
  if (settings.encoding_conversion_with_file_name) {
    std::optional<std::u16string> reencoded = ReencodeName(settings, name);
    if (!reencoded) return name;
    name = std::move(*reencoded);
  }
  std::size_t separator = std::u16string::npos;
  if (settings.split_album_name) separator = SplitAlbum(name);
  if (settings.auto_rename) {
    if (separator != std::u16string::npos) {
      name.insert(separator + 1, kRenameInfix);
    } else {
      name.insert(0, kRenameInfix);
    }
  }
  AdjustExtension(settings, name);
  return name;
}

std::optional<std::u16string> MakeDestPath(const Settings& settings, const Selection& selection,
                                           std::u16string_view folder, std::u16string_view name) {
  if (selection.destination_folder.empty()) return std::nullopt;
  std::u16string path = selection.destination_folder;
  if (path.back() != kPathSeparator) path += kPathSeparator;
  if (settings.source_mode == SourceMode::Files && selection.source_names.size() == 1) {
    path += selection.destination_file_name.empty() ? MakeDestName(settings, name)
                                                    : selection.destination_file_name;
    return path;
  }
  if (settings.source_mode == SourceMode::Directory && settings.recursive_subdirectories &&
      folder.size() > selection.source_folder.size() &&
      folder.substr(0, selection.source_folder.size()) == selection.source_folder) {
    path += folder.substr(selection.source_folder.size());
  }
  path += MakeDestName(settings, name);
  return path;
}

std::u16string FromFileSystemName(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  std::size_t i = 0;
  while (i < bytes.size()) {
    const auto b0 = static_cast<std::uint8_t>(bytes[i]);
    std::size_t length = 0;
    std::uint32_t cp = 0;
    std::uint32_t minimum = 0;
    if (b0 < 0x80) {
      out.push_back(b0);
      ++i;
      continue;
    } else if (b0 >= 0xC2 && b0 <= 0xDF) {
      length = 2, cp = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
      length = 3, cp = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
      length = 4, cp = b0 & 0x07, minimum = 0x10000;
    }
    bool valid = length != 0 && i + length <= bytes.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto b = static_cast<std::uint8_t>(bytes[i + k]);
      if ((b & 0xC0) != 0x80) {
        valid = false;
      } else {
        cp = (cp << 6) | (b & 0x3F);
      }
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not valid UTF-8.
    if (valid && (cp < minimum || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)) {
      valid = false;
    }
    if (!valid) {
      out.push_back(static_cast<char16_t>(0xDC00 + b0));
      ++i;
      continue;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += length;
  }
  return out;
}

std::string ToFileSystemName(std::u16string_view name) {
  std::string out;
  out.reserve(name.size());
  for (std::size_t i = 0; i < name.size(); ++i) {
    std::uint32_t cp = name[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < name.size() && name[i + 1] >= 0xDC00 &&
        name[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (name[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xDC80 && cp <= 0xDCFF) {
      out.push_back(static_cast<char>(cp - 0xDC00));  // a byte kept from a non-UTF-8 name
      continue;
    }
    // Any other lone surrogate (never produced by FromFileSystemName) takes the three-byte form.
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

}  // namespace quenlite
