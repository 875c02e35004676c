#include "converter/core/settings.h"

namespace quenlite {

void Settings::Reset() {
  const common::CodePage saved_source = saved_source_code_page;
  const common::CodePage saved_destination = saved_destination_code_page;
  *this = Settings{};
  saved_source_code_page = saved_source;
  saved_destination_code_page = saved_destination;
}

void Settings::SetContentConversion(bool on, common::CodePage ansi_code_page) {
  if (on == encoding_conversion_with_content) return;
  encoding_conversion_with_content = on;
  if (on) {
    source_code_page = saved_source_code_page;
    destination_code_page = saved_destination_code_page;
  } else {
    saved_source_code_page = source_code_page;
    saved_destination_code_page = destination_code_page;
    source_code_page = ansi_code_page;
    destination_code_page = ansi_code_page;
  }
}

void Settings::SetFormatConversion(bool on) {
  format_conversion = on;
  if (on) tag_type_conversion = false;
}

void Settings::SetTagTypeConversion(bool on) {
  tag_type_conversion = on;
  if (on) format_conversion = false;
}

}  // namespace quenlite
