#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "editor/core/ruby_list.h"

namespace orvi {

// Takes ruby markup apart: the markup is removed, the plain text is answered, and every
// annotation found is inserted into `list`, which the caller has emptied beforehand.
// Entry positions are text offsets of the answered text (a CR LF line end counts one).
//
// Neither parser ever drops the user's text: markup that cannot be read as an annotation
// stays in the plain text exactly as it was written.

// Reads the HTML dialect (bracket_setting 0) or the BBS dialect (1); with any other setting no
// character is a tag and the text comes back unchanged. Answers nothing for an empty text.
//
// Ruby groups are read leniently: other tags (span, font, rp...) may surround the base and
// the reading, and one run of text may stand between the base and the reading and after the
// reading (the parentheses of rp elements). A group that does not have this shape, and a base,
// reading or group-close tag standing outside a group, are kept as text, tags included, and
// parsing goes on after them. Line break tags and other tags outside groups are dropped; the
// line breaks of the text stay. A group whose base the list refuses keeps its base in the text
// without an annotation. In the BBS dialect the filler group that marks a line without
// annotation (base one blank, reading one ideographic space) is dropped entirely.
std::optional<std::u16string> ParseTags(std::u16string_view text, int bracket_setting,
                                        RubyList& list);

// Reads the brackets dialect: a run of kanji directly followed by "(" reading ")" (either
// bracket may be full width) becomes an entry. A group that cannot become an entry (no kanji
// before it, a base the list refuses, more than 40 characters, or no closing bracket before
// the line end) stays in the text as it was written.
std::u16string ParseBrackets(std::u16string_view text, RubyList& list);

}  // namespace orvi
