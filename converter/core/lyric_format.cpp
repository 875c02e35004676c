#include "converter/core/lyric_format.h"

#include <array>
#include <cstdio>
#include <new>

namespace quenlite {
namespace {

// The five header tags, each with its key in both forms, in the order the KRA header reader
// tries them.
enum Header { kTitle, kLyricsBy, kArtist, kAlbum, kOffset, kHeaderCount };
constexpr std::array<std::u16string_view, kHeaderCount> kKraKeys = {
    u"title", u"lyricsBy", u"artist", u"album", u"offset"};
constexpr std::array<std::u16string_view, kHeaderCount> kLrcKeys = {
    u"ti", u"by", u"ar", u"al", u"offset"};
// Detection tries the LRC keys in this order.
constexpr std::array<Header, kHeaderCount> kLrcDetectionOrder = {kOffset, kAlbum, kArtist,
                                                                  kLyricsBy, kTitle};

std::u16string_view EndAtNul(std::u16string_view text) {
  return text.substr(0, text.find(u'\0'));
}

char16_t Capital(char16_t c) { return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c; }

// Whether text from pos onward starts with key; ASCII letters compare without regard to case.
bool KeyAt(std::u16string_view text, std::size_t pos, std::u16string_view key) {
  if (pos > text.size() || text.size() - pos < key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i) {
    if (Capital(text[pos + i]) != Capital(key[i])) return false;
  }
  return true;
}

bool AnyKeyAt(std::u16string_view text, std::size_t pos,
              const std::array<std::u16string_view, kHeaderCount>& keys) {
  for (std::u16string_view key : keys) {
    if (KeyAt(text, pos, key)) return true;
  }
  return false;
}

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Decimal value of the digits from pos on; stops at the first non-digit. Saturates far above
// every accepted value, so that a long digit run cannot overflow.
long DigitsValue(std::u16string_view text, std::size_t pos) {
  long value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    value = value * 10 + (text[pos] - u'0');
    if (value > 1000000) value = 1000000;
  }
  return value;
}

class FormatConverter {
 public:
  FormatConverter(std::u16string_view input, FormatSource source, FormatDestination destination)
      : in_(input), source_(source), destination_(destination) {
    out_.reserve(input.size() * 2);
  }

  std::u16string Run() {
    std::size_t pending_begin = 0;
    std::size_t p = 0;
    while (p < in_.size()) {
      const char16_t c = in_[p];
      bool read = false;
      if (c == u'@' || c == u'[') {
        if (pending_begin < p) WriteText(in_.substr(pending_begin, p - pending_begin));
        pending_begin = p;
        read = c == u'@' ? ReadKraHeader(p) : ReadBracketTag(p);
      }
      ++p;
      // A tag that was read is consumed; anything else, a rejected "@" or "[" included, is
      // text and stays pending.
      if (read) pending_begin = p;
    }
    // Also when nothing is pending: this is where a time tag that ends the text goes.
    WriteText(in_.substr(pending_begin));
    return std::move(out_);
  }

 private:
  // At an "@" of a KRA source: "@key=value" up to the line end, the next "@" or the end.
  bool ReadKraHeader(std::size_t& p) {
    if (source_ != FormatSource::Kra) return false;
    std::size_t end = p + 1;
    bool has_equals = false;
    std::size_t equals = 0;
    for (; end < in_.size(); ++end) {
      const char16_t c = in_[end];
      if (c == u'\r' || c == u'\n' || c == u'@') break;
      if (c == u'=' && !has_equals) {
        has_equals = true;
        equals = end;
      }
    }
    if (end - (p + 1) < 2 || !has_equals) return false;
    const std::u16string_view value = in_.substr(equals + 1, end - equals - 1);
    for (int h = 0; h < kHeaderCount; ++h) {
      if (KeyAt(in_, p + 1, kKraKeys[h])) {
        WriteHeader(static_cast<Header>(h), value);
        break;
      }
    }
    p = end - 1;
    return true;
  }

  // At a "[": a time tag "[m:s]", "[m:s.xx]", "[m:s:xx]" or a header "[key:value]".
  bool ReadBracketTag(std::size_t& p) {
    constexpr std::size_t kNone = std::u16string_view::npos;
    std::size_t colon = kNone;
    std::size_t separator = kNone;
    bool only_time_characters = true;
    std::size_t close = p + 1;
    for (;; ++close) {
      if (close >= in_.size()) return false;
      const char16_t c = in_[close];
      if (c == u']') break;
      if (c == u'\r' || c == u'\n' || c == u'@' || c == u'[') return false;
      if (c == u':' && colon == kNone) {
        colon = close;
      } else if ((c == u':' || c == u'.') && colon != kNone && separator == kNone) {
        separator = close;
      }
      if (!IsDigit(c) && c != u':' && c != u'.') only_time_characters = false;
    }
    if (close == p + 1 || colon == kNone || colon == p + 1) return false;

    if (only_time_characters) {
      const long minutes = DigitsValue(in_, p + 1);
      const long seconds = DigitsValue(in_, colon + 1);
      long milliseconds = 0;
      if (separator != kNone) {
        const std::size_t fraction = close - separator - 1;
        if (fraction == 3) milliseconds = DigitsValue(in_, separator + 1);
        if (fraction == 2) milliseconds = 10 * DigitsValue(in_, separator + 1);
      }
      WriteTimeTag(minutes, seconds, milliseconds);
    } else {
      const std::u16string_view value = in_.substr(colon + 1, close - colon - 1);
      for (Header h : {kTitle, kLyricsBy, kArtist, kAlbum, kOffset}) {
        if (KeyAt(in_, p + 1, kLrcKeys[h])) {
          WriteHeader(h, value);
          break;
        }
      }
    }
    p = close;
    return true;
  }

  void WriteHeader(Header h, std::u16string_view value) {
    time_tag_pending_ = false;
    if (destination_ == FormatDestination::PlainText || value.empty()) return;
    if (destination_ == FormatDestination::Kra) {
      out_.append(u"@").append(kKraKeys[h]).append(u"=").append(value);
    } else {
      out_.append(u"[").append(kLrcKeys[h]).append(u":").append(value).append(u"]");
    }
  }

  void WriteTimeTag(long m, long s, long ms) {
    if (destination_ == FormatDestination::PlainText) return;
    if (destination_ == FormatDestination::Lrc && !out_.empty()) {
      // LRC keeps a time tag only at the start of a line; of several in a row there, the last.
      if (out_.back() != u'\n') {
        if (!time_tag_pending_) return;  // after words or a header on the same line
        RemoveTimeTag();
      }
    }
    if (m > 99 || s > 60 || ms > 999) {
      time_tag_pending_ = false;
      return;
    }
    char buffer[32];
    if (ms == 0) {
      std::snprintf(buffer, sizeof buffer, "[%02ld:%02ld]", m, s);
    } else if (destination_ == FormatDestination::Kra) {
      std::snprintf(buffer, sizeof buffer, "[%02ld:%02ld:%02ld]", m, s, ms / 10);
    } else {
      std::snprintf(buffer, sizeof buffer, "[%02ld:%02ld.%02ld]", m, s, ms / 10);
    }
    for (const char* b = buffer; *b != '\0'; ++b) out_.push_back(static_cast<char16_t>(*b));
    time_tag_pending_ = true;
  }

  void WriteText(std::u16string_view t) {
    if (destination_ == FormatDestination::Lrc && time_tag_pending_ && !out_.empty()) {
      // A time tag with no words after it on its line (CR or the end of the text) goes.
      if (t.empty()) {
        RemoveTimeTag();
        return;
      }
      if (t.front() == u'\r') RemoveTimeTag();
    }
    if (t.empty()) return;
    time_tag_pending_ = false;
    out_.append(t);
  }

  // Only called while the output ends with the time tag just written, so its last "[" is the
  // start of that tag.
  void RemoveTimeTag() { out_.erase(out_.rfind(u'[')); }

  std::u16string_view in_;
  FormatSource source_;
  FormatDestination destination_;
  std::u16string out_;
  bool time_tag_pending_ = false;
};

}  // namespace

FormatSource DetectFormat(std::u16string_view text) {
  text = EndAtNul(text);
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'[') {
      for (Header h : kLrcDetectionOrder) {
        if (KeyAt(text, i + 1, kLrcKeys[h])) return FormatSource::Lrc;
      }
    } else if (text[i] == u'@' && AnyKeyAt(text, i + 1, kKraKeys)) {
      return FormatSource::Kra;
    }
  }
  // A "." between a "[" and the next "]" (or the end) marks LRC time tags. Walking backwards
  // keeps this linear: dot_ahead tells whether a "." comes before the next "]".
  bool dot_ahead = false;
  for (std::size_t i = text.size(); i-- > 0;) {
    const char16_t c = text[i];
    if (c == u']') {
      dot_ahead = false;
    } else if (c == u'.') {
      dot_ahead = true;
    } else if (c == u'[' && dot_ahead) {
      return FormatSource::Lrc;
    }
  }
  return FormatSource::Kra;
}

StepResult ConvertFormat(std::u16string text, const FormatConversionOptions& options,
                         StatusLog& log) {
  const bool source_ok = options.source == FormatSource::AutoDetect ||
                         options.source == FormatSource::Kra ||
                         options.source == FormatSource::Lrc;
  const bool destination_ok = options.destination == FormatDestination::PlainText ||
                              options.destination == FormatDestination::Kra ||
                              options.destination == FormatDestination::Lrc;
  if (!source_ok || !destination_ok) return {StepOutcome::Failed, {}};

  const std::u16string_view input = EndAtNul(text);
  FormatSource source = options.source;
  if (source == FormatSource::AutoDetect) {
    source = DetectFormat(input);
    log.LogStatus(source == FormatSource::Kra ? u"  detect format: kra" : u"  detect format: lrc");
  }
  if (static_cast<int>(source) == static_cast<int>(options.destination)) {
    return {StepOutcome::Bypassed, std::move(text)};
  }
  try {
    return {StepOutcome::Converted, FormatConverter(input, source, options.destination).Run()};
  } catch (const std::bad_alloc&) {
    return {StepOutcome::Failed, {}};
  }
}

}  // namespace quenlite
