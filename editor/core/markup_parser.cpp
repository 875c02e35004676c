#include "editor/core/markup_parser.h"

#include "common/kanji.h"
#include "common/tag_scanner.h"

namespace orvi {
namespace {

using common::TokenCode;

// Reads one text in the HTML or BBS dialect with the editor's scanner configuration.
//
// The scanner delivers the items in input order, so the parser follows each item's place in
// the input: a text character takes one code unit, a tag runs from its opening character to
// the first closing character after it (no closing character can stand inside a tag). That
// lets a piece that does not parse be copied back exactly as it was written.
class TagParser {
 public:
  TagParser(std::u16string_view text, int bracket_setting, RubyList& list)
      : scanner_(common::ScannerConfig::Editor),
        text_(text),
        bracket_setting_(bracket_setting),
        close_char_(bracket_setting == common::kSquareBrackets ? u']' : u'>'),
        list_(list) {
    scanner_.set_bracket_setting(bracket_setting);
  }

  std::optional<std::u16string> Run() {
    if (!scanner_.Start(text_)) return std::nullopt;
    out_.reserve(text_.size());
    Advance();
    while (true) {
      if (!scanner_.is_tag()) {
        AppendCounted(ReadRun());
        continue;
      }
      const TokenCode token = scanner_.value();
      if (token == common::TokEnd) break;
      if (token == common::TokBreak || token == common::TokOtherTag) {
        Advance();
      } else if (token == common::TokGroupOpen) {
        ParseGroup();
      } else {
        // A base, reading or group-close tag outside a group is not markup we can read: it
        // stays in the text as written.
        AppendCounted(text_.substr(item_begin_, next_index_ - item_begin_));
        Advance();
      }
    }
    return std::move(out_);
  }

 private:
  bool AtTag(TokenCode token) const { return scanner_.is_tag() && scanner_.value() == token; }

  // Loads the next item and notes where it stands in the input.
  void Advance() {
    item_begin_ = next_index_;
    if (!scanner_.Next()) {
      next_index_ = item_begin_ + 1;
    } else if (scanner_.value() == common::TokEnd) {
      item_begin_ = next_index_ = text_.size();
    } else {
      next_index_ = text_.find(close_char_, item_begin_) + 1;
    }
  }

  // The text characters from the current item up to the next tag (possibly none). Characters
  // delivered one after another are neighbours in the input, so the run is a slice of it.
  std::u16string_view ReadRun() {
    const std::size_t begin = item_begin_;
    while (!scanner_.is_tag()) Advance();
    return text_.substr(begin, item_begin_ - begin);
  }

  void SkipOtherTags() {
    while (AtTag(common::TokOtherTag)) Advance();
  }

  bool Expect(TokenCode token) {
    if (!AtTag(token)) return false;
    Advance();
    return true;
  }

  // Appends plain text, counting every character but CR towards the text offset.
  void AppendCounted(std::u16string_view s) {
    out_.append(s);
    for (char16_t c : s) {
      if (c != u'\r') ++position_;
    }
  }

  // One ruby group, starting at its group-open tag. A group that does not parse is put back
  // into the text as written, from its opening tag up to the item that broke it; parsing
  // resumes at that item.
  void ParseGroup() {
    const std::size_t group_begin = item_begin_;
    const std::size_t out_mark = out_.size();
    const std::int32_t position_mark = position_;
    auto keep_as_text = [&] {
      out_.resize(out_mark);
      position_ = position_mark;
      AppendCounted(text_.substr(group_begin, item_begin_ - group_begin));
    };

    Expect(common::TokGroupOpen);
    ReadRun();
    if (!Expect(common::TokBaseOpen)) return keep_as_text();
    SkipOtherTags();
    const std::int32_t start = position_;
    const std::u16string_view base = ReadRun();
    AppendCounted(base);
    SkipOtherTags();
    if (!Expect(common::TokBaseClose)) return keep_as_text();
    SkipOtherTags();
    ReadRun();  // the opening parenthesis of an rp element
    SkipOtherTags();
    if (!Expect(common::TokReadingOpen)) return keep_as_text();
    SkipOtherTags();
    const std::u16string_view reading = ReadRun();
    SkipOtherTags();
    if (!Expect(common::TokReadingClose)) return keep_as_text();
    SkipOtherTags();
    ReadRun();  // the closing parenthesis of an rp element
    SkipOtherTags();
    if (!Expect(common::TokGroupClose)) return keep_as_text();

    if (bracket_setting_ == common::kSquareBrackets && base == u" " && reading == u"\u3000") {
      // The filler group written on BBS lines without annotation: not part of the text.
      out_.resize(out_mark);
      position_ = position_mark;
      return;
    }
    // A base or reading longer than the list's buffers cannot be held: keep the group as text.
    if (!list_.FillBase(base) || reading.size() > RubyList::kReadingCapacity) {
      return keep_as_text();
    }
    if (list_.CanAnnotate(start, position_)) {
      list_.FillReading(reading);
      list_.Insert(start, position_);
    }
    // Otherwise the base stays in the text without an annotation.
  }

  common::TagScanner scanner_;
  std::u16string_view text_;
  int bracket_setting_;
  char16_t close_char_;
  RubyList& list_;
  std::u16string out_;
  std::int32_t position_ = 0;
  std::size_t item_begin_ = 0;
  std::size_t next_index_ = 0;
};

bool IsOpeningBracket(char16_t c) { return c == u'(' || c == u'\uFF08'; }
bool IsClosingBracket(char16_t c) { return c == u')' || c == u'\uFF09'; }

constexpr std::size_t kMaxBracketGroup = 40;

}  // namespace

std::optional<std::u16string> ParseTags(std::u16string_view text, int bracket_setting,
                                        RubyList& list) {
  return TagParser(text, bracket_setting, list).Run();
}

std::u16string ParseBrackets(std::u16string_view text, RubyList& list) {
  std::u16string out;
  out.reserve(text.size());
  bool in_group = false;
  std::size_t group_open = 0;  // input index of the open group's bracket
  std::size_t last_close = 0;  // output length where the last group closed
  std::int32_t carriage_returns = 0;

  // An open group that cannot become an entry goes back into the text as it was written.
  auto write_back = [&](std::size_t end) {
    out.append(text.substr(group_open, end - group_open));
    in_group = false;
  };

  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (IsOpeningBracket(c)) {
      if (in_group) write_back(i);
      in_group = true;
      group_open = i;
    } else if (IsClosingBracket(c)) {
      if (!in_group) {
        out.push_back(c);
        continue;
      }
      const std::u16string_view reading = text.substr(group_open + 1, i - group_open - 1);
      std::size_t base_start = out.size();
      while (base_start > 0 && common::IsKanji(out[base_start - 1])) --base_start;
      if (base_start < last_close) base_start = last_close;
      const auto start = static_cast<std::int32_t>(base_start) - carriage_returns;
      const auto end = static_cast<std::int32_t>(out.size()) - carriage_returns;
      const bool made = reading.size() <= kMaxBracketGroup && base_start < out.size() &&
                        list.FillBase(std::u16string_view(out).substr(base_start)) &&
                        list.CanAnnotate(start, end);
      if (made) {
        list.FillReading(reading);
        list.Insert(start, end);
      } else {
        write_back(i + 1);
      }
      in_group = false;
      last_close = out.size();
    } else if (c == u'\r' || c == u'\n') {
      if (c == u'\r') ++carriage_returns;
      if (in_group) write_back(i);
      out.push_back(c);
    } else if (!in_group) {
      out.push_back(c);
    }
  }
  if (in_group) write_back(text.size());
  return out;
}

}  // namespace orvi
