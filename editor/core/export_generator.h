#pragma once

#include <string>
#include <string_view>

#include "editor/core/export_options.h"
#include "editor/core/ruby_list.h"

namespace orvi {

// Writes the text and its annotations in one markup dialect: HTML (with a CSS head, or with
// font, bold and italic tags), VEXA BBS tags, or brackets. `text` is the editor's whole text
// with CR LF line ends; the entries address it by text offsets. A tag type that is none of
// the three is written as Brackets.
//
// The kanji style wraps the whole body, the kana style each reading; the kana leave out what
// the kanji tags around them already set. In HTML, Add <br> puts "<br>" before each line end;
// in BBS, each line after the first that carries no annotation gets a filler group (a blank
// annotated with an ideographic space) before its line end, so that all lines keep the same
// height on the page.
//
// Runs in time linear in the text length plus the number of entries.
std::u16string Generate(const ExportOptions& options, const StyleRecord& kanji,
                        const StyleRecord& kana, std::u16string_view text, const RubyList& list);

// The output the Export dialog shows for these settings: the styles read from the controls,
// switched off entirely when styles are disabled.
std::u16string GenerateExport(const ExportSettings& settings, std::u16string_view text,
                              const RubyList& list);

// The verify text: `text` with every annotated run replaced by its reading (by nothing when the
// entry has no reading).
std::u16string MakeVerifyText(std::u16string_view text, const RubyList& list);

}  // namespace orvi
