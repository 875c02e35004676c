#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/tag_type.h"

namespace orvi {

// The options of the Export dialog, kept for the editor's whole run.
struct ExportOptions {
  // HTML tags, VEXA BBS tags or Brackets; Cancelled until a type is first applied (the dialog
  // then shows Brackets).
  common::EditorTagType tag_type = common::EditorTagType::Cancelled;
  bool styles_enabled = true;
  bool add_br = true;            // "<br>" before each line end (HTML only)
  bool use_css = false;          // CSS head and kana class instead of font tags (HTML only)
  bool black_as_default = true;  // black is left to the page instead of being written
};

// The presentation of the kanji (the whole text) or of the kana (the readings), as the
// generator uses it. Absent values are not written.
struct StyleRecord {
  std::optional<std::u16string> colour;  // "#rrggbb", lower-case hexadecimal
  std::optional<std::u16string> size;    // as the user typed it, e.g. "1"
  std::optional<std::u16string> font;    // font face
  bool bold = false;
  bool italic = false;
};

// One entry of the style colour lists.
struct ColourEntry {
  std::u16string_view name;
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
};

inline constexpr int kColourRed = 0;
inline constexpr int kColourDarkPurple = 5;
inline constexpr int kColourBlack = 12;
inline constexpr int kColourOrange = 13;

// The 18 colours both style colour lists offer, in list order.
inline constexpr std::array<ColourEntry, 18> kColourList{{
    {u"red", 255, 0, 0},
    {u"turqouise", 0, 255, 255},
    {u"light blue", 0, 0, 255},
    {u"dark blue", 0, 0, 160},
    {u"light purple", 255, 0, 128},
    {u"dark purple", 128, 0, 128},
    {u"yellow", 255, 255, 0},
    {u"pastel green", 0, 255, 0},
    {u"pink", 255, 0, 255},
    {u"white", 255, 255, 255},
    {u"light grey", 192, 192, 192},
    {u"dark grey", 128, 128, 128},
    {u"black", 0, 0, 0},
    {u"orange", 255, 128, 64},
    {u"brown", 128, 64, 0},
    {u"burgundy", 128, 0, 0},
    {u"forest green", 128, 128, 0},
    {u"grass green", 64, 128, 128},
}};

// "#" and the three components as two lower-case hexadecimal digits each.
std::u16string ColourText(std::uint8_t red, std::uint8_t green, std::uint8_t blue);

// The values of one style group's controls: the selected colour (an index into kColourList,
// or a custom colour chosen by the user), the font and size fields and the two boxes.
struct StyleControls {
  std::optional<int> colour_index;            // entry of kColourList, when one is selected
  std::optional<std::uint32_t> custom_colour;  // 0xRRGGBB of the "custom" entry, when selected
  std::u16string font;
  std::u16string size;
  bool bold = false;
  bool italic = false;
};

// What the style controls say, as the generator takes it: the selected colour's text, and the
// font and size when their fields are not empty.
StyleRecord ReadStyle(const StyleControls& controls);

// Everything the Export dialog holds between generations.
struct ExportSettings {
  ExportOptions options;
  StyleControls kanji;
  StyleControls kana;
};

// Applies a tag type as choosing it in the dialog does: styles on, and the style controls and
// options set to the defaults of that type. For Brackets the colours are left as they are; the
// HTML type also sets Add <br> on, Use CSS off and Black as default on.
void ApplyTagType(ExportSettings& settings, common::EditorTagType type);

// The settings the Export dialog shows once the given tag type is chosen, starting from a
// fresh run of the editor.
ExportSettings DefaultExportSettings(common::EditorTagType type);

}  // namespace orvi
