#pragma once

#include <string>

#include "common/codepages.h"
#include "converter/core/step_result.h"

namespace quenlite {

// The six advanced text options, three pairs with at most one flag of a pair set.
struct AdvancedOptions {
  bool upper_case = false;      // "Lowercase to Uppercase"
  bool lower_case = false;      // "Uppercase to Lowercase"
  bool to_traditional = false;  // "Simplified to Traditional"
  bool to_simplified = false;   // "Traditional to Simplified "
  bool to_katakana = false;     // "Hiragana to Katakana"
  bool to_hiragana = false;     // "Katakana to Hiragana "

  // The step runs only while at least one flag is set.
  bool Active() const {
    return upper_case || lower_case || to_traditional || to_simplified || to_katakana || to_hiragana;
  }
};

// Where the mappings take their locale and data from.
struct MappingLocale {
  std::string case_locale;        // ICU locale id for letter case, e.g. "tr_TR"; "" = root
  bool taiwan_chinese = false;    // Taiwan standard for the Chinese mappings
  std::string chinese_data_dir;   // folder of the Chinese conversion data; "" = installed data

  // The user's locale (LC_ALL / LC_CTYPE / LANG) and the ANSI code page recorded at start-up:
  // Taiwan standard when that code page is 950 or the user's locale is Taiwanese.
  static MappingLocale FromUser(common::CodePage ansi_code_page);
};

// Applies the set options to text in the fixed order case, Chinese, Japanese, each at most once.
// No option set: Bypassed with the text unchanged. A mapping that cannot be done (the Chinese
// conversion data is missing) fails the whole step.
StepResult ApplyAdvancedOptions(std::u16string text, const AdvancedOptions& options,
                                const MappingLocale& locale);

}  // namespace quenlite
