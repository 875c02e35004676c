#pragma once

#include "common/codepages.h"
#include "common/tag_type.h"
#include "converter/core/lyric_format.h"
#include "converter/core/text_mapping.h"

namespace quenlite {

// Where the batch takes its files from: the selected file names of one folder, or a whole
// folder (and, when asked, its subfolders).
enum class SourceMode : int { Files = 0, Directory = 1 };

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
  FormatSource source_format = FormatSource::AutoDetect;
  FormatDestination destination_format = FormatDestination::PlainText;
  common::ConverterTagType source_tag_type = common::ConverterTagType::AutoOrNone;
  common::ConverterTagType destination_tag_type = common::ConverterTagType::AutoOrNone;
  AdvancedOptions advanced;  // the committed flags of the Advanced Options dialog

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

};

}  // namespace quenlite
