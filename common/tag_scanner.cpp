#include "common/tag_scanner.h"

#include <array>

namespace common {
namespace {

// Character classes, in the column order of the transition tables.
enum CharClass { kOpen, kClose, kSlash, kB, kR, kT, kU, kY, kOther, kClassCount };

constexpr int kAccept = -1;

struct Row {
  int next[kClassCount];
  TokenCode token;
};

// The editor's table: states 0 to 17. State 17 is "inside another tag"; it runs until a
// closing character, and an opening character there is part of the tag.
constexpr std::array<Row, 18> kEditorTable{{
    /*  0 none   */ {{1, 0, 0, 0, 0, 0, 0, 0, 0}, 0},
    /*  1 <      */ {{1, -1, 10, 2, 4, 17, 17, 17, 17}, TokOtherTag},
    /*  2 <b     */ {{1, -1, 17, 17, 3, 17, 17, 17, 17}, TokOtherTag},
    /*  3 <br    */ {{1, -1, 17, 17, 17, 17, 17, 17, 17}, TokBreak},
    /*  4 <r     */ {{1, -1, 17, 5, 17, 6, 7, 17, 17}, TokOtherTag},
    /*  5 <rb    */ {{1, -1, 17, 17, 17, 17, 17, 17, 17}, TokBaseOpen},
    /*  6 <rt    */ {{1, -1, 17, 17, 17, 17, 17, 17, 17}, TokReadingOpen},
    /*  7 <ru    */ {{1, -1, 17, 8, 17, 17, 17, 17, 17}, TokOtherTag},
    /*  8 <rub   */ {{1, -1, 17, 17, 17, 17, 17, 9, 17}, TokOtherTag},
    /*  9 <ruby  */ {{1, -1, 17, 17, 17, 17, 17, 17, 17}, TokGroupOpen},
    /* 10 </     */ {{1, -1, 17, 17, 11, 17, 17, 17, 17}, TokOtherTag},
    /* 11 </r    */ {{1, -1, 17, 12, 17, 13, 14, 17, 17}, TokOtherTag},
    /* 12 </rb   */ {{1, -1, 17, 17, 17, 17, 17, 17, 17}, TokBaseClose},
    /* 13 </rt   */ {{1, -1, 17, 17, 17, 17, 17, 17, 17}, TokReadingClose},
    /* 14 </ru   */ {{1, -1, 17, 15, 17, 17, 17, 17, 17}, TokOtherTag},
    /* 15 </rub  */ {{1, -1, 17, 17, 17, 17, 17, 16, 17}, TokOtherTag},
    /* 16 </ruby */ {{1, -1, 17, 17, 17, 17, 17, 17, 17}, TokGroupClose},
    /* 17 other  */ {{17, -1, 17, 17, 17, 17, 17, 17, 17}, TokOtherTag},
}};

// The converter's table is the editor's rows 0 to 16 with "inside another tag" replaced by
// "no tag", and the states that name no complete tag neither accepting nor yielding a token.
constexpr std::array<Row, 17> MakeConverterTable() {
  std::array<Row, 17> table{};
  for (int s = 0; s < 17; ++s) {
    Row row = kEditorTable[s];
    for (int& n : row.next) {
      if (n == 17) n = 0;
    }
    const bool names_a_tag = s == 0 || s == 3 || s == 5 || s == 6 || s == 9 || s == 12 ||
                             s == 13 || s == 16;
    if (!names_a_tag) {
      row.next[kClose] = 0;
      row.token = 0;
    }
    table[s] = row;
  }
  return table;
}
constexpr std::array<Row, 17> kConverterTable = MakeConverterTable();

CharClass Classify(char16_t c, int bracket_setting) {
  switch (c) {
    case u'<': return bracket_setting == kAngleBrackets ? kOpen : kOther;
    case u'>': return bracket_setting == kAngleBrackets ? kClose : kOther;
    case u'[': return bracket_setting == kSquareBrackets ? kOpen : kOther;
    case u']': return bracket_setting == kSquareBrackets ? kClose : kOther;
    case u'/': return kSlash;
    case u'b': case u'B': return kB;
    case u'r': case u'R': return kR;
    case u't': case u'T': return kT;
    case u'u': case u'U': return kU;
    case u'y': case u'Y': return kY;
    default: return kOther;
  }
}

}  // namespace

bool TagScanner::Start(std::u16string_view text) {
  text_ = text;
  position_ = 0;
  pending_begin_ = pending_end_ = 0;
  pending_token_ = 0;
  value_ = 0;
  is_tag_ = false;
  return config_ == ScannerConfig::Converter || !text.empty();
}

bool TagScanner::DeliverPending() {
  if (pending_begin_ < pending_end_) {
    value_ = text_[pending_begin_++];
    is_tag_ = false;
    return true;
  }
  if (pending_token_ != 0) {
    value_ = pending_token_;
    is_tag_ = true;
    pending_token_ = 0;
    return true;
  }
  return false;
}

bool TagScanner::Next() {
  if (DeliverPending()) return is_tag_;
  if (position_ >= text_.size()) {
    value_ = TokEnd;
    is_tag_ = true;
    return true;
  }

  const Row* table = config_ == ScannerConfig::Editor ? kEditorTable.data() : kConverterTable.data();
  // Every read starts in state 0: it only happens once all earlier items are delivered.
  const std::size_t run_begin = position_;
  std::size_t last_tag_start = run_begin;  // index of the character that entered state 1
  int state = 0;
  while (true) {
    const std::size_t index = position_++;
    const int next = table[state].next[Classify(text_[index], bracket_setting_)];
    if (next == kAccept) {
      // The tag runs from the opening character that began it to this closing character;
      // the characters read before that opening character stay text.
      pending_begin_ = run_begin;
      pending_end_ = last_tag_start;
      pending_token_ = table[state].token;
      break;
    }
    if (next == 1) last_tag_start = index;
    state = next;
    if (next == 0 || position_ >= text_.size()) {
      pending_begin_ = run_begin;
      pending_end_ = position_;
      pending_token_ = 0;
      break;
    }
  }
  DeliverPending();
  return is_tag_;
}

}  // namespace common
