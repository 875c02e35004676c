#include "editor/core/notation.h"

#include <algorithm>

#include "common/kanji.h"

namespace orvi {

namespace {

// Index into s of the first code unit whose text offset is `offset` (a paragraph break's CR and
// LF share one offset), or s.size() when the text is shorter.
std::size_t FirstIndexAtOffset(std::u16string_view s, std::int32_t offset) {
  std::int32_t p = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (p == offset) return i;
    if (s[i] != u'\r') ++p;
  }
  return s.size();
}

// Index of the last code unit whose text offset is `offset`, or -1 when there is none.
std::int64_t LastIndexAtOffset(std::u16string_view s, std::int32_t offset) {
  if (offset < 0) return -1;
  std::int32_t p = 0;
  std::int64_t last = -1;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (p == offset) {
      last = static_cast<std::int64_t>(i);
    } else if (p > offset) {
      break;
    }
    if (s[i] != u'\r') ++p;
  }
  return last;
}

enum class AttemptEnd { Done, Shorten };

}  // namespace

NotationOutcome Notate(const ReadingDictionary& dictionary, std::u16string_view s,
                       RubyList& list, const NotationRequest& request, NotationView& view) {
  NotationOutcome outcome;
  view.SeriesStarted();
  bool stop = false;

  std::size_t i = 0;
  std::int64_t e = static_cast<std::int64_t>(s.size()) - 1;
  std::int32_t p = 0;
  if (request.scope == NotationScope::Selected) {
    // A selection reaching before the text starts at its beginning.
    const std::int32_t a = std::max(request.selection_start, 0);
    const std::int32_t b = request.selection_end;
    i = FirstIndexAtOffset(s, a);
    e = b > a ? LastIndexAtOffset(s, b - 1) : -1;
    p = a;
    view.PutCaret(a);
  }

  std::int32_t caret = p;
  bool highlighted = false;
  std::int32_t highlight_start = 0;
  std::int32_t highlight_end = 0;

  while (static_cast<std::int64_t>(i) <= e && !stop) {
    if (!common::IsKanji(s[i])) {
      if (s[i] != u'\r') ++p;
      ++i;
      continue;
    }
    // The run: up to kMaxRunLength kanji, none beyond the end index.
    std::size_t n = 0;
    while (i + n < s.size() && static_cast<std::int64_t>(i + n) <= e && n < kMaxRunLength &&
           common::IsKanji(s[i + n])) {
      ++n;
    }
    const char16_t left = i > 0 ? s[i - 1] : 0;
    ++outcome.runs;

    for (;;) {
      const std::u16string_view run = s.substr(i, n);
      // The right neighbour is read from the text even beyond the end index; after shortening it
      // is the dropped kanji.
      const char16_t right = i + n < s.size() ? s[i + n] : 0;
      const std::int32_t end = p + static_cast<std::int32_t>(n);
      list.FillBase(run);
      if (n > 1 && !list.CanAnnotate(p, end)) {
        --n;
        continue;
      }
      if (highlighted) view.SetHighlight(highlight_start, highlight_end, false);
      view.SetHighlight(p, end, true);
      highlighted = true;
      highlight_start = p;
      highlight_end = end;
      view.PutCaret(end);
      caret = end;

      std::optional<std::u16string> reading;
      std::unique_ptr<CandidateSet> set;
      bool ask = false;
      switch (request.mode) {
        case NotationMode::Auto:
          reading = BestReading(dictionary, left, right, run);
          break;
        case NotationMode::SemiAuto:
          set = LookupCandidates(dictionary, left, run, right);
          if (set && set->MaxScore() >= kConfidentScore) {
            if (const std::u16string* best = set->TakeBest()) reading = *best;
            set.reset();
          } else if (set) {
            ask = true;
          }
          break;
        case NotationMode::Manual:
          set = LookupCandidates(dictionary, left, run, right);
          ask = set != nullptr;
          break;
      }

      AttemptEnd how = AttemptEnd::Done;
      if (ask) {
        list.FillBase(run);
        list.FillReading(u"");
        PronunceAnswer answer = view.AskPronunce(run, *set);
        if (answer.kind == PronunceAnswer::Kind::Accepted) {
          reading = std::move(answer.reading);
        } else if (answer.kind == PronunceAnswer::Kind::Stopped) {
          stop = true;
        }
        // Cancel and Stop pass over the whole run as it stands.
      } else if (!reading && !set) {
        how = n > 1 ? AttemptEnd::Shorten : AttemptEnd::Done;
      }

      if (reading) {
        list.FillBase(run);
        list.FillReading(*reading);
        const int before = list.total_count();
        list.Insert(p, end);
        if (list.total_count() > before) {
          ++outcome.inserted;
          view.ColourAnnotated(p, end);
        }
        view.PutCaret(end);
      }
      if (how == AttemptEnd::Shorten) {
        --n;
        continue;
      }
      break;
    }
    i += n;
    p += static_cast<std::int32_t>(n);
  }

  outcome.stopped = stop;
  view.SeriesEnded();
  view.MakeCurrentAt(caret);
  return outcome;
}

}  // namespace orvi
