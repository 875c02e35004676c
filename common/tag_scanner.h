#pragma once

#include <cstdint>
#include <string_view>

namespace common {

// Token codes delivered by TagScanner. They are 16-bit values compared unsigned.
using TokenCode = std::uint16_t;
inline constexpr TokenCode TokEnd = 1;
inline constexpr TokenCode TokBreak = 10000;
inline constexpr TokenCode TokGroupOpen = 20000;
inline constexpr TokenCode TokBaseOpen = 20001;
inline constexpr TokenCode TokReadingOpen = 20002;
inline constexpr TokenCode TokGroupClose = 30000;
inline constexpr TokenCode TokBaseClose = 30001;
inline constexpr TokenCode TokReadingClose = 30002;
inline constexpr TokenCode TokOtherTag = 40000;

// The two scanner configurations. The editor recognises any tag (unknown ones as TokOtherTag)
// and keeps reading after an opening character until the closing one; the converter knows only
// the seven ruby and break tags and delivers everything else as text.
enum class ScannerConfig { Editor, Converter };

// Bracket setting: 0 = angle brackets (HTML), 1 = square brackets (BBS); any other value means
// that no character starts a tag.
inline constexpr int kAngleBrackets = 0;
inline constexpr int kSquareBrackets = 1;

// Table-driven tokenizer for the HTML and BBS ruby dialects.
//
// Callers call Next once to load the first item and again each time they consume the current
// one; Next returns true for a tag token (TokEnd included) and false for a text character, and
// the item is then available as value(). Characters come out in input order; a character run
// that turns out not to be a tag is delivered as text exactly as read.
//
// The pending items of one read are always a contiguous run of input characters, optionally
// followed by one token, so they are kept as an index range: tags and runs of any length are
// handled without a size limit and without allocation.
class TagScanner {
 public:
  explicit TagScanner(ScannerConfig config) : config_(config) {}

  void set_bracket_setting(int setting) { bracket_setting_ = setting; }
  int bracket_setting() const { return bracket_setting_; }

  // Starts scanning text, which the caller keeps alive and unchanged until the scan is over.
  // In the editor configuration an empty text is refused (returns false).
  bool Start(std::u16string_view text);

  bool Next();

  std::uint16_t value() const { return value_; }
  bool is_tag() const { return is_tag_; }

 private:
  bool DeliverPending();

  ScannerConfig config_;
  int bracket_setting_ = kAngleBrackets;
  std::u16string_view text_;
  std::size_t position_ = 0;
  // Pending items: text characters text_[pending_begin_, pending_end_), then the token if
  // pending_token_ is non-zero.
  std::size_t pending_begin_ = 0;
  std::size_t pending_end_ = 0;
  TokenCode pending_token_ = 0;
  std::uint16_t value_ = 0;
  bool is_tag_ = false;
};

}  // namespace common
