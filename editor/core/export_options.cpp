#include "editor/core/export_options.h"

namespace orvi {

std::u16string ColourText(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
  static constexpr char16_t kHex[] = u"0123456789abcdef";
  std::u16string text = u"#";
  for (std::uint8_t v : {red, green, blue}) {
    text.push_back(kHex[v >> 4]);
    text.push_back(kHex[v & 0xF]);
  }
  return text;
}

StyleRecord ReadStyle(const StyleControls& controls) {
  StyleRecord style;
  if (controls.custom_colour) {
    const std::uint32_t rgb = *controls.custom_colour;
    style.colour = ColourText(static_cast<std::uint8_t>(rgb >> 16),
                              static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb));
  } else if (controls.colour_index && *controls.colour_index >= 0 &&
             *controls.colour_index < static_cast<int>(kColourList.size())) {
    const ColourEntry& e = kColourList[static_cast<std::size_t>(*controls.colour_index)];
    style.colour = ColourText(e.red, e.green, e.blue);
  }
  if (!controls.font.empty()) style.font = controls.font;
  if (!controls.size.empty()) style.size = controls.size;
  style.bold = controls.bold;
  style.italic = controls.italic;
  return style;
}

void ApplyTagType(ExportSettings& settings, common::EditorTagType type) {
  using common::EditorTagType;
  ExportOptions& options = settings.options;
  options.styles_enabled = true;
  options.tag_type = type;

  const bool marked = type == EditorTagType::Html || type == EditorTagType::Bbs;
  settings.kanji.font = marked ? u"MS Gothic" : u"";
  settings.kanji.size.clear();
  settings.kana.font = marked ? u"MS PGothic" : u"";
  settings.kana.size = marked ? u"1" : u"";
  for (StyleControls* group : {&settings.kanji, &settings.kana}) {
    group->bold = false;
    group->italic = false;
  }
  if (marked) {
    settings.kanji.custom_colour.reset();
    settings.kanji.colour_index = kColourBlack;
    settings.kana.custom_colour.reset();
    settings.kana.colour_index = type == EditorTagType::Html ? kColourOrange : kColourDarkPurple;
  }
  if (type == EditorTagType::Html) {
    options.add_br = true;
    options.use_css = false;
    options.black_as_default = true;
  }
}

ExportSettings DefaultExportSettings(common::EditorTagType type) {
  ExportSettings settings;
  ApplyTagType(settings, type);
  return settings;
}

}  // namespace orvi
