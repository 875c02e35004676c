#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "editor/core/reading_lookup.h"
#include "editor/core/reading_table.h"
#include "editor/core/ruby_list.h"

namespace orvi {

enum class NotationScope { FullText, Selected };
enum class NotationMode { Auto, SemiAuto, Manual };

// The longest kanji run looked up at once; a longer run continues as a new run.
inline constexpr std::int32_t kMaxRunLength = 16;

// How the Pronunce dialog closed when the walk asked it for a reading.
struct PronunceAnswer {
  enum class Kind { Accepted, Cancelled, Stopped };
  Kind kind = Kind::Cancelled;
  std::u16string reading;  // when accepted; may be empty (an entry without a reading)
};

// What the walk needs from the editor window. Ranges and positions are text offsets.
class NotationView {
 public:
  virtual ~NotationView() = default;
  // The walk begins (the series flag is set) or has ended (cleared).
  virtual void SeriesStarted() {}
  virtual void SeriesEnded() {}
  // Bold and underline on or off over [start, end): the run in hand is highlighted.
  virtual void SetHighlight(std::int32_t start, std::int32_t end, bool on) = 0;
  // Collapses the selection to p.
  virtual void PutCaret(std::int32_t p) = 0;
  // Gives [start, end) the annotated-text colour.
  virtual void ColourAnnotated(std::int32_t start, std::int32_t end) = 0;
  // Opens the Pronunce dialog for the run (already in the list's base buffer) with the
  // candidates as the current candidate set; the dialog may take readings from it.
  virtual PronunceAnswer AskPronunce(std::u16string_view run, CandidateSet& candidates) = 0;
  // The walk is over and the caret rests at p: the entry there (if any) becomes current.
  virtual void MakeCurrentAt(std::int32_t p) = 0;
};

// A view that shows nothing and never answers a question; enough for Auto mode without a window.
class SilentNotationView : public NotationView {
 public:
  void SetHighlight(std::int32_t, std::int32_t, bool) override {}
  void PutCaret(std::int32_t) override {}
  void ColourAnnotated(std::int32_t, std::int32_t) override {}
  PronunceAnswer AskPronunce(std::u16string_view, CandidateSet&) override {
    return {PronunceAnswer::Kind::Cancelled, {}};
  }
  void MakeCurrentAt(std::int32_t) override {}
};

struct NotationRequest {
  NotationScope scope = NotationScope::FullText;
  NotationMode mode = NotationMode::Auto;
  // The selection [selection_start, selection_end) in text offsets, for the Selected scope.
  std::int32_t selection_start = 0;
  std::int32_t selection_end = 0;
};

struct NotationOutcome {
  std::int32_t runs = 0;      // runs visited (a shortened run counts once)
  std::int32_t inserted = 0;  // entries added
  bool stopped = false;       // the Pronunce dialog's Stop ended the walk
};

// Walks the text (paragraph breaks as CR LF), cuts it into kanji runs, finds a reading for each
// as the mode says and inserts an entry for each run that gets one. Runs the dictionary does not
// know, or whose range is taken, are shortened from their end.
NotationOutcome Notate(const ReadingDictionary& dictionary, std::u16string_view text,
                       RubyList& list, const NotationRequest& request, NotationView& view);

}  // namespace orvi
