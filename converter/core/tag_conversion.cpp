#include "converter/core/tag_conversion.h"

#include <new>
#include <string_view>

#include "common/kanji.h"
#include "common/tag_scanner.h"

namespace quenlite {
namespace {

using common::ConverterTagType;
using common::TagScanner;

constexpr std::u16string_view kHtmlOpen = u"<ruby><rb>";
constexpr std::u16string_view kHtmlMiddle = u"</rb><rp>(</rp><rt>";
constexpr std::u16string_view kHtmlClose = u"</rt><rp>)</rp></ruby>";
constexpr std::u16string_view kBbsOpen = u"[ruby][rb]";
constexpr std::u16string_view kBbsMiddle = u"[/rb][rp]([/rp][rt]";
constexpr std::u16string_view kBbsClose = u"[/rt][rp])[/rp][/ruby]";

bool IsOpeningBracket(char16_t c) { return c == u'(' || c == u'\uFF08'; }
bool IsClosingBracket(char16_t c) { return c == u')' || c == u'\uFF09'; }

bool IsDialect(ConverterTagType t) {
  return t == ConverterTagType::Html || t == ConverterTagType::Bbs ||
         t == ConverterTagType::Brackets;
}

// Number of input code units a token of the converter's scanner stands for. The converter
// recognises only exact tags (opening character, optional "/", name, closing character), so
// each token has a fixed width in either dialect.
std::size_t TokenWidth(common::TokenCode token) {
  switch (token) {
    case common::TokBreak: return 4;         // <br>
    case common::TokGroupOpen: return 6;     // <ruby>
    case common::TokBaseOpen: return 4;      // <rb>
    case common::TokReadingOpen: return 4;   // <rt>
    case common::TokGroupClose: return 7;    // </ruby>
    case common::TokBaseClose: return 5;     // </rb>
    case common::TokReadingClose: return 5;  // </rt>
    default: return 0;                       // TokEnd
  }
}

class Writer {
 public:
  Writer(ConverterTagType destination, bool add_br, std::size_t input_length)
      : destination_(destination), br_(add_br && destination == ConverterTagType::Html) {
    out_.reserve(input_length * 2);
  }

  // Text outside annotations; with the break option each CR gets a "<br>" before it.
  void Plain(std::u16string_view piece) {
    if (!br_) {
      out_.append(piece);
      return;
    }
    std::size_t from = 0;
    for (std::size_t i = 0; i < piece.size(); ++i) {
      if (piece[i] == u'\r') {
        out_.append(piece.substr(from, i - from));
        out_.append(u"<br>");
        from = i;
      }
    }
    out_.append(piece.substr(from));
  }

  // An annotation; without a reading the base is plain text.
  void Annotation(std::u16string_view base, const std::u16string_view* reading) {
    if (reading == nullptr) {
      Plain(base);
      return;
    }
    switch (destination_) {
      case ConverterTagType::Html:
        Wrap(kHtmlOpen, base, kHtmlMiddle, *reading, kHtmlClose);
        break;
      case ConverterTagType::Bbs:
        Wrap(kBbsOpen, base, kBbsMiddle, *reading, kBbsClose);
        break;
      case ConverterTagType::Brackets:
        Wrap({}, base, u"(", *reading, u")");
        break;
      default:  // None: the base stays, the reading goes
        Plain(base);
        break;
    }
  }

  std::u16string Take() { return std::move(out_); }

 private:
  void Wrap(std::u16string_view a, std::u16string_view base, std::u16string_view b,
            std::u16string_view reading, std::u16string_view c) {
    out_.append(a).append(base).append(b).append(reading).append(c);
  }

  ConverterTagType destination_;
  bool br_;
  std::u16string out_;
};

// Reads HTML or BBS markup with the converter's scanner. Markup that does not form a complete
// group is copied to the output exactly as it stands in the input, and reading goes on after
// it, so that no character of the input is lost.
class TagReader {
 public:
  TagReader(std::u16string_view input, int bracket_setting, Writer& writer)
      : input_(input), scanner_(common::ScannerConfig::Converter), writer_(writer) {
    scanner_.set_bracket_setting(bracket_setting);
    scanner_.Start(input_);
    end_ = 0;
    Advance();
  }

  void Run() {
    while (true) {
      if (!scanner_.is_tag()) {
        writer_.Plain(ReadRun());
      } else if (scanner_.value() == common::TokBreak) {
        Advance();  // break tags of the source go; the line end characters stay
      } else if (scanner_.value() == common::TokEnd) {
        return;
      } else if (scanner_.value() != common::TokGroupOpen) {
        // A structural tag outside a group stays as it was written.
        writer_.Plain(input_.substr(begin_, end_ - begin_));
        Advance();
      } else {
        const std::size_t group_begin = begin_;
        if (!Group()) {
          // The group broke off at the current item: keep what was read of it unchanged and
          // go on with that item, which may itself begin a group.
          writer_.Plain(input_.substr(group_begin, begin_ - group_begin));
        }
      }
    }
  }

 private:
  // Loads the next item; begin_ and end_ delimit the input code units it stands for.
  void Advance() {
    begin_ = end_;
    const bool tag = scanner_.Next();
    end_ = begin_ + (tag ? TokenWidth(scanner_.value()) : 1);
  }

  bool At(common::TokenCode token) const {
    return scanner_.is_tag() && scanner_.value() == token;
  }

  bool Expect(common::TokenCode token) {
    if (!At(token)) return false;
    Advance();
    return true;
  }

  // All characters up to the next tag (possibly none).
  std::u16string_view ReadRun() {
    const std::size_t from = begin_;
    while (!scanner_.is_tag()) Advance();
    return input_.substr(from, begin_ - from);
  }

  bool Group() {
    if (!Expect(common::TokGroupOpen)) return false;
    ReadRun();
    if (!Expect(common::TokBaseOpen)) return false;
    const std::u16string_view base = ReadRun();
    if (!Expect(common::TokBaseClose)) return false;
    ReadRun();  // "<rp>(</rp>", which is text to the converter's scanner
    if (!Expect(common::TokReadingOpen)) return false;
    const std::u16string_view reading = ReadRun();
    if (!Expect(common::TokReadingClose)) return false;
    ReadRun();
    if (!Expect(common::TokGroupClose)) return false;
    if (!base.empty()) writer_.Annotation(base, reading.empty() ? nullptr : &reading);
    return true;
  }

  std::u16string_view input_;
  TagScanner scanner_;
  Writer& writer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
};

// Reads the brackets dialect: a kanji run followed by a reading in brackets, on one line and
// without nested brackets, is an annotation; everything else is text.
class BracketsReader {
 public:
  BracketsReader(std::u16string_view input, Writer& writer) : input_(input), writer_(writer) {}

  void Run() {
    int depth = 0;
    int line_max_depth = 0;
    for (std::size_t i = 0; i < input_.size(); ++i) {
      const char16_t c = input_[i];
      if (c == u'\n') {
        depth = 0;
        line_max_depth = 0;
      } else if (IsOpeningBracket(c)) {
        ++depth;
        if (line_max_depth < depth) line_max_depth = depth;
        open_ = i;
      } else if (IsClosingBracket(c)) {
        --depth;
        if (depth == 0) {
          if (line_max_depth == 1) Group(i);
          line_max_depth = 0;
        }
      }
    }
    writer_.Plain(input_.substr(written_));
  }

 private:
  void KeepAsText(std::size_t close) {
    writer_.Plain(input_.substr(written_, close + 1 - written_));
    written_ = close + 1;
  }

  void Group(std::size_t close) {
    if (open_ <= written_) {
      KeepAsText(close);
      return;
    }
    if (!common::IsKanji(input_[open_ - 1])) {
      KeepAsText(close);
      return;
    }
    std::size_t base_begin = open_ - 1;
    while (base_begin > written_ && common::IsKanji(input_[base_begin - 1])) --base_begin;
    const std::u16string_view reading = input_.substr(open_ + 1, close - open_ - 1);
    writer_.Plain(input_.substr(written_, base_begin - written_));
    writer_.Annotation(input_.substr(base_begin, open_ - base_begin), &reading);
    written_ = close + 1;
  }

  std::u16string_view input_;
  Writer& writer_;
  std::size_t written_ = 0;
  std::size_t open_ = 0;
};

std::u16string_view DetectionLine(common::DetectedTagType t) {
  switch (t) {
    case common::DetectedTagType::Html: return u"  detect tag type: html tags";
    case common::DetectedTagType::Bbs: return u"  detect tag type: vexa bbs tags";
    default: return u"  detect tag type: brackets";
  }
}

}  // namespace

StepResult ConvertTags(std::u16string text, const TagConversionOptions& options, StatusLog& log) {
  const bool source_ok =
      options.source == ConverterTagType::AutoOrNone || IsDialect(options.source);
  const bool destination_ok =
      options.destination == ConverterTagType::AutoOrNone || IsDialect(options.destination);
  if (!source_ok || !destination_ok) return {StepOutcome::Failed, {}};

  std::u16string_view input = text;
  input = input.substr(0, input.find(u'\0'));

  ConverterTagType source = options.source;
  if (source == ConverterTagType::AutoOrNone) {
    const common::DetectedTagType detected = common::DetectTagType(input);
    log.LogStatus(DetectionLine(detected));
    source = common::ToConverterTagType(detected);
  }
  if (source == options.destination) return {StepOutcome::Bypassed, std::move(text)};

  try {
    Writer writer(options.destination, options.add_br, input.size());
    if (source == ConverterTagType::Brackets) {
      BracketsReader(input, writer).Run();
    } else {
      const int setting =
          source == ConverterTagType::Html ? common::kAngleBrackets : common::kSquareBrackets;
      TagReader(input, setting, writer).Run();
    }
    return {StepOutcome::Converted, writer.Take()};
  } catch (const std::bad_alloc&) {
    return {StepOutcome::Failed, {}};
  }
}

}  // namespace quenlite
