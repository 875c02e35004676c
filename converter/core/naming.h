#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "converter/core/settings.h"

namespace quenlite {

// Paths inside the converter are UTF-16 with "/" as separator; folders end with "/".
inline constexpr char16_t kPathSeparator = u'/';

// What the user picked: the source (selected names of one folder, or a folder) and the
// destination (a folder, plus a file name when exactly one source file is converted).
struct Selection {
  std::u16string source_folder;              // ends with "/"
  std::vector<std::u16string> source_names;  // file mode: names without folder, in pick order
  std::u16string destination_folder;         // ends with "/"; empty while no destination is set
  std::u16string destination_file_name;      // file mode with one name: generated or chosen

  bool SourceSet(const Settings& settings) const {
    return settings.source_mode == SourceMode::Directory ? !source_folder.empty()
                                                        : !source_names.empty();
  }
  bool DestinationSet() const { return !destination_folder.empty(); }
};

// The destination file name for a source file name: optionally re-encoded (destination code
// page out, source code page back in), with a parenthesised album name at its start made a
// folder, with the "_quenlite_" infix and with its extension matched to the destination format.
std::u16string MakeDestName(const Settings& settings, std::u16string_view source_name);

// While format conversion is on, a name ending exactly in ".lrc", ".kra" or ".txt" (and longer
// than that ending) gets the extension of the destination format.
void AdjustExtension(const Settings& settings, std::u16string& name);

// The full destination path of a source file found in folder under name. File mode with one
// name uses the destination file name as it stands; otherwise the destination folder, the
// subfolder path below the source folder (directory mode with recursion) and MakeDestName of
// the name. Nothing when no destination folder is set.
std::optional<std::u16string> MakeDestPath(const Settings& settings, const Selection& selection,
                                           std::u16string_view folder, std::u16string_view name);

// File-system names are bytes. They are read as UTF-8; a byte that is not part of valid UTF-8
// becomes U+DC80 + byte, so that every name read from a folder is written back unchanged.
std::u16string FromFileSystemName(std::string_view bytes);
std::string ToFileSystemName(std::u16string_view name);

}  // namespace quenlite
