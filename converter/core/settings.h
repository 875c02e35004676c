#pragma once

#include "common/codepages.h"
#include "common/tag_type.h"

namespace quenlite {

// Where the batch takes its files from: the selected file names of one folder, or a whole
// folder (and, when asked, its subfolders).
enum class SourceMode : int { Files = 0, Directory = 1 };

// Lyric format numbers, as the two format lists of the main dialog number them. Index 0 is
// "Automatically Detect" in the source list and "Plain Text" in the destination list.
inline constexpr int kFormatAutoOrPlain = 0;
inline constexpr int kFormatKra = 1;
inline constexpr int kFormatLrc = 2;

// The six text mappings of the Advanced Options dialog, in three pairs; at most one flag of a
// pair is set. The batch applies them after decoding, case first, then Chinese, then kana.
struct AdvancedOptions {
  bool upper_case = false;
  bool lower_case = false;
  bool to_traditional = false;
  bool to_simplified = false;
  bool to_katakana = false;
  bool to_hiragana = false;

  // The options count as active when at least one flag is set; only then does the batch run
  // the step.
  bool Active() const {
    return upper_case || lower_case || to_traditional || to_simplified || to_katakana ||
           to_hiragana;
  }
  bool operator==(const AdvancedOptions&) const = default;
};

// The converter's settings: one set per program run, never saved. A default-constructed
// record holds the start values; Reset() returns to them except for the saved code page pair.
struct Settings {
  static constexpr common::CodePage kDefaultSourceCodePage = 932;
  static constexpr common::CodePage kDefaultDestinationCodePage = 936;

  bool show_status_window = false;
  SourceMode source_mode = SourceMode::Files;
  bool recursive_subdirectories = true;
  bool encoding_conversion_with_content = true;
  bool encoding_conversion_with_file_name = false;
  bool format_conversion = false;
  bool tag_type_conversion = false;
  bool split_album_name = false;
  bool auto_rename = true;           // "Automatically rename destination file"
  bool force_unicode_check = true;
  bool add_break_at_line_ends = true;  // "Add <br> when a line ends"
  common::CodePage source_code_page = kDefaultSourceCodePage;
  common::CodePage destination_code_page = kDefaultDestinationCodePage;
  int source_format = kFormatAutoOrPlain;
  int destination_format = kFormatAutoOrPlain;
  common::ConverterTagType source_tag_type = common::ConverterTagType::AutoOrNone;
  common::ConverterTagType destination_tag_type = common::ConverterTagType::AutoOrNone;
  AdvancedOptions advanced;  // the committed flags, which the batch uses

  // The code pages that were in use when content conversion was switched off; they come back
  // when it is switched on again. Reset leaves them alone.
  common::CodePage saved_source_code_page = kDefaultSourceCodePage;
  common::CodePage saved_destination_code_page = kDefaultDestinationCodePage;

  // Every setting back to its start value; the saved code page pair stays.
  void Reset();

  // Switches content conversion. Off: the current pair is saved and both code pages become
  // ansi_code_page. On: the saved pair comes back. Setting the current state again does nothing.
  void SetContentConversion(bool on, common::CodePage ansi_code_page);

  // Format and tag type conversion are never on together: switching one on switches the other
  // off.
  void SetFormatConversion(bool on);
  void SetTagTypeConversion(bool on);

  bool operator==(const Settings&) const = default;
};

}  // namespace quenlite
