#include "editor/core/notation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

#include "reading_fixture.h"

using namespace orvi;

namespace {

const std::vector<std::pair<std::u16string, std::u16string>> kSmall = {
    {u"日本", u"_にほん_"},
    {u"日本語", u"_にほんご_"},
    {u"読", u"をよむ"},
    {u"来", u"_らい_"},
    {u"漢", u"_かん_"},
    {u"字", u"_じ_"},
    {u"語", u"_ご_"},
    {u"人", u"_じん_"},
    {u"一", u"_いち_"},
    {u"一二三四五六七八九十百千万億兆京", u"_ながい_"},  // sixteen kanji
    {u"上下左右", u"_じょうげさゆう_"},
};
const std::vector<std::pair<std::u16string, std::u16string>> kLarge = {
    {u"日本", u"_にっぽん_"},
    {u"弐", u"_に_"},  // best 54: Semi-auto asks
};

struct Event {
  enum Kind { HighlightOn, HighlightOff, Caret, Colour, Ask, Current } kind;
  std::int32_t a = 0;
  std::int32_t b = 0;
  std::u16string run;
  bool operator==(const Event&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Event& e) {
  return os << int(e.kind) << "(" << e.a << "," << e.b << "," << e.run.size() << ")";
}

// Plays the editor window: records what the walk shows and answers the Pronunce dialog from a
// script (Cancelled once the script runs out).
class ScriptedView : public NotationView {
 public:
  void SeriesStarted() override { series = true; }
  void SeriesEnded() override { series = false; }
  void SetHighlight(std::int32_t s, std::int32_t e, bool on) override {
    events.push_back({on ? Event::HighlightOn : Event::HighlightOff, s, e, {}});
  }
  void PutCaret(std::int32_t p) override { events.push_back({Event::Caret, p, p, {}}); }
  void ColourAnnotated(std::int32_t s, std::int32_t e) override {
    events.push_back({Event::Colour, s, e, {}});
  }
  PronunceAnswer AskPronunce(std::u16string_view run, CandidateSet& set) override {
    EXPECT_TRUE(series);
    events.push_back({Event::Ask, 0, 0, std::u16string(run)});
    const std::u16string* best = set.TakeBest();
    offered.push_back(best ? *best : u"");
    if (answers.empty()) return {PronunceAnswer::Kind::Cancelled, {}};
    PronunceAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  void MakeCurrentAt(std::int32_t p) override { events.push_back({Event::Current, p, p, {}}); }

  std::vector<std::pair<std::int32_t, std::int32_t>> Highlights() const {
    std::vector<std::pair<std::int32_t, std::int32_t>> out;
    for (const auto& e : events) {
      if (e.kind == Event::HighlightOn) out.emplace_back(e.a, e.b);
    }
    return out;
  }
  std::vector<std::u16string> Asked() const {
    std::vector<std::u16string> out;
    for (const auto& e : events) {
      if (e.kind == Event::Ask) out.push_back(e.run);
    }
    return out;
  }

  bool series = false;
  std::vector<Event> events;
  std::deque<PronunceAnswer> answers;
  std::vector<std::u16string> offered;
};

PronunceAnswer Ok(std::u16string reading) {
  return {PronunceAnswer::Kind::Accepted, std::move(reading)};
}
const PronunceAnswer kCancel{PronunceAnswer::Kind::Cancelled, {}};
const PronunceAnswer kStop{PronunceAnswer::Kind::Stopped, {}};

using Spans = std::vector<std::pair<std::int32_t, std::int32_t>>;

class Notation : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto status = LoadReadingDictionary(orvi_test::PackTable(kSmall),
                                              orvi_test::PackTable(kLarge),
                                              orvi_test::ConjugationBytes(), dict_);
    ASSERT_TRUE(status.ok) << status.message;
  }
  NotationOutcome Run(std::u16string_view text, NotationMode mode = NotationMode::Auto) {
    NotationRequest request;
    request.mode = mode;
    return Notate(dict_, text, list_, request, view_);
  }
  NotationOutcome RunSelected(std::u16string_view text, std::int32_t a, std::int32_t b) {
    NotationRequest request;
    request.scope = NotationScope::Selected;
    request.selection_start = a;
    request.selection_end = b;
    return Notate(dict_, text, list_, request, view_);
  }
  // The entries as "start-end base=reading".
  std::vector<std::u16string> Entries() const {
    std::vector<std::u16string> out;
    for (const RubyEntry* e : list_.Entries()) {
      std::u16string s;
      for (char c : std::to_string(e->start) + "-" + std::to_string(e->end) + " ") s += c;
      out.push_back(s + e->base + u"=" + e->reading);
    }
    return out;
  }
  void Preset(std::int32_t start, std::u16string_view base, std::u16string_view reading) {
    list_.FillBase(base);
    list_.FillReading(reading);
    list_.Insert(start, start + static_cast<std::int32_t>(base.size()));
  }

  ReadingDictionary dict_;
  RubyList list_;
  ScriptedView view_;
};

using Strings = std::vector<std::u16string>;

}  // namespace

TEST_F(Notation, AutoLooksUpWholeRunsWithTheirNeighbours) {
  const auto outcome = Run(u"日本語を読む");
  EXPECT_EQ(Entries(), (Strings{u"0-3 日本語=にほんご", u"4-5 読=よ"}));
  EXPECT_EQ(view_.Highlights(), (Spans{{0, 3}, {4, 5}}));
  EXPECT_EQ(outcome.inserted, 2);
  EXPECT_EQ(outcome.runs, 2);
  // The previous highlight is removed before the next; each entry is coloured; the caret ends
  // after the last run and its entry becomes current.
  const std::vector<Event> expected = {
      {Event::HighlightOn, 0, 3, {}}, {Event::Caret, 3, 3, {}},   {Event::Colour, 0, 3, {}},
      {Event::Caret, 3, 3, {}},       {Event::HighlightOff, 0, 3, {}},
      {Event::HighlightOn, 4, 5, {}}, {Event::Caret, 5, 5, {}},   {Event::Colour, 4, 5, {}},
      {Event::Caret, 5, 5, {}},       {Event::Current, 5, 5, {}},
  };
  EXPECT_EQ(view_.events, expected);
  EXPECT_FALSE(view_.series);
}

TEST_F(Notation, LongRunsSplitAtSixteen) {
  // Twenty kanji: the sixteen-kanji word, then 上下左右 with a kanji as its left neighbour.
  Run(u"一二三四五六七八九十百千万億兆京上下左右");
  EXPECT_EQ(view_.Highlights(), (Spans{{0, 16}, {16, 20}}));
  EXPECT_EQ(Entries(), (Strings{u"0-16 一二三四五六七八九十百千万億兆京=ながい",
                                u"16-20 上下左右=じょうげさゆう"}));
}

TEST_F(Notation, UnknownRunsShortenFromTheEnd) {
  // 日本人 is unknown: 日本人, then 日本 (right neighbour 人), then 人 as a run of its own.
  Run(u"日本人。弍");
  EXPECT_EQ(view_.Highlights(), (Spans{{0, 3}, {0, 2}, {2, 3}, {4, 5}}));
  EXPECT_EQ(Entries(), (Strings{u"0-2 日本=にほん", u"2-3 人=じん"}));
}

TEST_F(Notation, RunsShortenAroundExistingEntries) {
  Preset(2, u"語", u"かたり");
  view_.answers = {Ok(u"にほん"), Ok(u"ご")};
  Run(u"日本語", NotationMode::Manual);
  // 日本語 overlaps the entry: the free prefix 日本 is notated without looking up 日本語; the
  // single 語 is still looked up (and asked, in Manual) but nothing is added.
  EXPECT_EQ(view_.Highlights(), (Spans{{0, 2}, {2, 3}}));
  EXPECT_EQ(view_.Asked(), (Strings{u"日本", u"語"}));
  EXPECT_EQ(Entries(), (Strings{u"0-2 日本=にほん", u"2-3 語=かたり"}));
}

TEST_F(Notation, ManualAnswersDecideEachRun) {
  view_.answers = {kCancel, Ok(u""), Ok(u"じ")};
  Run(u"日本語、漢字", NotationMode::Manual);
  // Cancel passes over the whole run without shortening it; OK with an empty reading inserts an
  // unfilled entry, still coloured.
  EXPECT_EQ(view_.Asked(), (Strings{u"日本語", u"漢", u"字"}));
  EXPECT_EQ(view_.offered, (Strings{u"にほんご", u"かん", u"じ"}));
  EXPECT_EQ(Entries(), (Strings{u"4-5 漢=", u"5-6 字=じ"}));
  EXPECT_EQ(list_.filled_count(), 1);
}

TEST_F(Notation, StopEndsTheWalkWithoutAddingTheRun) {
  view_.answers = {Ok(u"にほんご"), kStop, Ok(u"じ")};
  const auto outcome = Run(u"日本語、漢字", NotationMode::Manual);
  EXPECT_EQ(view_.Asked(), (Strings{u"日本語", u"漢"}));
  EXPECT_EQ(Entries(), (Strings{u"0-3 日本語=にほんご"}));
  EXPECT_TRUE(outcome.stopped);
  EXPECT_FALSE(view_.series);
}

TEST_F(Notation, SemiAutoAsksOnlyBelowSixty) {
  Run(u"日本、弐", NotationMode::SemiAuto);
  EXPECT_EQ(view_.Asked(), (Strings{u"弐"}));  // 日本 scores 60, 弐 only 54
  EXPECT_EQ(Entries(), (Strings{u"0-2 日本=にほん"}));
}

TEST_F(Notation, SelectedRangesMapAcrossLineBreaks) {
  const struct {
    const char16_t* text;
    std::int32_t a, b;
    Strings entries;
  } cases[] = {
      // Only 漢 is selected: its right neighbour is the CR, 字 is not walked.
      {u"漢\r\n字", 0, 1, {u"0-1 漢=かん"}},
      // The break counts once: 字 sits at text offset 2.
      {u"漢\r\n字", 1, 3, {u"2-3 字=じ"}},
      {u"漢\r\n字", 0, 3, {u"0-1 漢=かん", u"2-3 字=じ"}},
      {u"x\r\n\r\n漢字", 3, 5, {u"3-4 漢=かん", u"4-5 字=じ"}},
      // The run stops at the selection's end, but its right neighbour is read beyond it: 来 is
      // read く before る.
      {u"来る", 0, 1, {u"0-1 来=く"}},
      {u"漢字", 1, 1, {}},  // empty selection
      {u"漢字", 5, 9, {}},  // beyond the text
      {u"漢字", -2, 1, {u"0-1 漢=かん"}},  // from before the text: from its start
  };
  for (const auto& c : cases) {
    list_.Clear();
    view_.events.clear();
    RunSelected(c.text, c.a, c.b);
    EXPECT_EQ(Entries(), c.entries) << c.a << "-" << c.b;
    ASSERT_FALSE(view_.events.empty());
    const std::int32_t a = std::max(c.a, 0);
    EXPECT_EQ(view_.events.front(), (Event{Event::Caret, a, a, {}}));  // collapsed first
  }
}

TEST_F(Notation, FullTextOffsetsCountEachBreakOnce) {
  Run(u"漢\r\n\r\n字\r\n");
  EXPECT_EQ(Entries(), (Strings{u"0-1 漢=かん", u"3-4 字=じ"}));
  view_.events.clear();
  Run(u"");
  EXPECT_EQ(view_.events, (std::vector<Event>{{Event::Current, 0, 0, {}}}));
}
