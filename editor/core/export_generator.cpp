#include "editor/core/export_generator.h"

#include <algorithm>
#include <vector>

namespace orvi {
namespace {

using common::EditorTagType;

enum class Dialect { Html, Bbs, Brackets };

struct Pieces {
  std::u16string_view start;
  std::u16string_view between;
  std::u16string_view end;
};

constexpr Pieces kHtmlPieces{u"<ruby><rb>", u"</rb><rp>(</rp><rt>", u"</rt><rp>)</rp></ruby>"};
constexpr Pieces kBbsPieces{u"[ruby][rb]", u"[/rb][rp]([/rp][rt]", u"[/rt][rp])[/rp][/ruby]"};
constexpr Pieces kBracketPieces{u"", u"(", u")"};

constexpr std::u16string_view kFillerGroup = u"[ruby][rb] [/rb][rt]\u3000[/rt][/ruby]";

// Which attributes the kana need not repeat because the kanji tags around them set them.
struct Shared {
  bool font = false;
  bool size = false;
  bool colour = false;
  bool bold = false;
  bool italic = false;
};

bool SameValue(const std::optional<std::u16string>& a, const std::optional<std::u16string>& b) {
  return a && b && *a == *b;
}

Shared SharedAttributes(const StyleRecord& kanji, const StyleRecord& kana) {
  return Shared{SameValue(kanji.font, kana.font), SameValue(kanji.size, kana.size),
                SameValue(kanji.colour, kana.colour), kanji.bold && kana.bold,
                kanji.italic && kana.italic};
}

// A style with the shared attributes taken out (for the kana), or the style itself.
StyleRecord Without(const StyleRecord& style, const Shared& shared) {
  StyleRecord s = style;
  if (shared.font) s.font.reset();
  if (shared.size) s.size.reset();
  if (shared.colour) s.colour.reset();
  if (shared.bold) s.bold = false;
  if (shared.italic) s.italic = false;
  return s;
}

void AppendOpeningTags(std::u16string& out, Dialect dialect, const StyleRecord& s) {
  const bool font_element = s.font || s.size || s.colour;
  if (dialect == Dialect::Html) {
    if (font_element) out += u"<font";
    if (s.font) out.append(u" face=\"").append(*s.font).append(u"\"");
    if (s.size) out.append(u" size=\"").append(*s.size).append(u"\"");
    if (s.colour) out.append(u" color=\"").append(*s.colour).append(u"\"");
    if (font_element) out += u">";
    if (s.bold) out += u"<b>";
    if (s.italic) out += u"<i>";
  } else {
    if (s.font) out.append(u"[font=").append(*s.font).append(u"]");
    if (s.size) out.append(u"[size=").append(*s.size).append(u"]");
    if (s.colour) out.append(u"[color=").append(*s.colour).append(u"]");
    if (s.bold) out += u"[b]";
    if (s.italic) out += u"[i]";
  }
}

void AppendClosingTags(std::u16string& out, Dialect dialect, const StyleRecord& s) {
  if (dialect == Dialect::Html) {
    if (s.italic) out += u"</i>";
    if (s.bold) out += u"</b>";
    if (s.font || s.size || s.colour) out += u"</font>";
  } else {
    if (s.italic) out += u"[/i]";
    if (s.bold) out += u"[/b]";
    if (s.colour) out += u"[/color]";
    if (s.size) out += u"[/size]";
    if (s.font) out += u"[/font]";
  }
}

void AppendCssProperties(std::u16string& out, const StyleRecord& s) {
  if (s.font) out.append(u" FONT-FAMILY: ").append(*s.font).append(u"; ");
  if (s.size) out.append(u" FONT-SIZE: ").append(*s.size).append(u"; ");
  if (s.colour) out.append(u" COLOR: ").append(*s.colour).append(u"; ");
  if (s.bold) out += u" FONT-WEIGHT: bold; ";
  if (s.italic) out += u" FONT-STYLE: italic; ";
}

Dialect DialectOf(EditorTagType type) {
  switch (type) {
    case EditorTagType::Html: return Dialect::Html;
    case EditorTagType::Bbs: return Dialect::Bbs;
    default: return Dialect::Brackets;
  }
}

// The last character of the output that is not a blank or an ideographic space is a line end.
bool EndsWithLineEnd(std::u16string_view out) {
  const std::size_t last = out.find_last_not_of(u" \u3000");
  return last != std::u16string_view::npos && (out[last] == u'\r' || out[last] == u'\n');
}

}  // namespace

std::u16string Generate(const ExportOptions& options, const StyleRecord& kanji_style,
                        const StyleRecord& kana_style, std::u16string_view text,
                        const RubyList& list) {
  const Dialect dialect = DialectOf(options.tag_type);
  const Pieces& pieces = dialect == Dialect::Html  ? kHtmlPieces
                         : dialect == Dialect::Bbs ? kBbsPieces
                                                   : kBracketPieces;
  StyleRecord kanji = kanji_style;
  StyleRecord kana = kana_style;
  if (options.black_as_default) {
    for (StyleRecord* s : {&kanji, &kana}) {
      if (s->colour && *s->colour == u"#000000") s->colour.reset();
    }
  }
  const bool styles = options.styles_enabled;
  const bool css = styles && dialect == Dialect::Html && options.use_css;
  const bool kanji_tags = styles && dialect != Dialect::Brackets && !css;

  // The kana tags are the same around every reading: build them once.
  std::u16string kana_open;
  std::u16string kana_close;
  if (css) {
    kana_open = u"<span class=\"kana\">";
    kana_close = u"</span>";
  } else if (kanji_tags) {
    const StyleRecord own = Without(kana, SharedAttributes(kanji, kana));
    AppendOpeningTags(kana_open, dialect, own);
    AppendClosingTags(kana_close, dialect, own);
  }

  const std::vector<const RubyEntry*> entries = list.Entries();

  // Reserve what the output can take at most, so that a large text is written in one go.
  std::size_t per_annotation = pieces.start.size() + pieces.between.size() + kana_open.size() +
                               kana_close.size() + pieces.end.size();
  std::size_t readings = 0;
  for (const RubyEntry* e : entries) readings += e->reading.size();
  const auto line_ends = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\r'));
  std::u16string out;
  out.reserve(text.size() + entries.size() * per_annotation + readings +
              (line_ends + 1) * kFillerGroup.size() + 1024);
  if (css) {
    out += u"<head>\r\n<style type=\"text/css\">\r\n.kanji {";
    AppendCssProperties(out, kanji);
    out += u"}\r\n.kana {";
    AppendCssProperties(out, kana);
    out += u"}\r\n</style>\r\n</head>\r\n<body>\r\n";
  }
  if (kanji_tags) AppendOpeningTags(out, dialect, kanji);

  // Entries are ordered and never overlap, and the position only grows: the first entry
  // holding the position is always at or after the cursor.
  std::size_t next_entry = 0;
  std::size_t i = 0;
  std::int64_t p = 0;
  bool line_annotated = false;
  bool first_line = true;
  while (i < text.size()) {
    while (next_entry < entries.size() && entries[next_entry]->end <= p) ++next_entry;
    if (next_entry < entries.size() && entries[next_entry]->start <= p) {
      const RubyEntry& e = *entries[next_entry];
      out.append(pieces.start).append(e.base).append(pieces.between);
      out.append(kana_open).append(e.reading).append(kana_close);
      out.append(pieces.end);
      p += static_cast<std::int64_t>(e.base.size());
      i += e.base.size();
      line_annotated = true;
      continue;
    }
    const char16_t c = text[i];
    if (c == u'\r') {
      if (dialect == Dialect::Bbs && !line_annotated && !first_line) out += kFillerGroup;
      line_annotated = false;
      first_line = false;
      if (dialect == Dialect::Html && options.add_br) out += u"<br>";
    } else {
      ++p;
    }
    out.push_back(c);
    ++i;
  }
  if (dialect == Dialect::Bbs && !line_annotated && !first_line && !EndsWithLineEnd(out)) {
    out += kFillerGroup;
  }
  if (kanji_tags) AppendClosingTags(out, dialect, kanji);
  if (css) out += u"\r\n</body>";
  return out;
}

std::u16string GenerateExport(const ExportSettings& settings, std::u16string_view text,
                              const RubyList& list) {
  return Generate(settings.options, ReadStyle(settings.kanji), ReadStyle(settings.kana), text,
                  list);
}

std::u16string MakeVerifyText(std::u16string_view text, const RubyList& list) {
  const std::vector<const RubyEntry*> entries = list.Entries();
  std::u16string out;
  out.reserve(text.size());
  std::size_t next_entry = 0;
  std::size_t i = 0;
  std::int64_t p = 0;
  while (i < text.size()) {
    while (next_entry < entries.size() && entries[next_entry]->end <= p) ++next_entry;
    if (next_entry < entries.size() && entries[next_entry]->start <= p) {
      const RubyEntry& e = *entries[next_entry];
      out += e.reading;
      p += static_cast<std::int64_t>(e.base.size());
      i += e.base.size();
      continue;
    }
    if (text[i] != u'\r') ++p;
    out.push_back(text[i]);
    ++i;
  }
  return out;
}

}  // namespace orvi
