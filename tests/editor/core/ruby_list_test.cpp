#include "editor/core/ruby_list.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using orvi::RubyEntry;
using orvi::RubyList;
using orvi::VerifySpan;

namespace {

// Records what the list tells its owner.
struct Recorder : orvi::RubyListObserver {
  std::vector<std::int32_t> inserted;
  int filled = -1;
  int total = -1;
  int cleared = 0;
  void OnEntryInserted(const RubyEntry& e) override { inserted.push_back(e.id); }
  void OnCountsChanged(int f, int t) override {
    filled = f;
    total = t;
  }
  void OnCurrentEntryCleared() override { ++cleared; }
};

std::int32_t Add(RubyList& list, std::int32_t start, std::u16string_view base,
                 std::u16string_view reading = u"") {
  list.FillBase(base);
  list.FillReading(reading);
  return list.Insert(start, start + static_cast<std::int32_t>(base.size()));
}

}  // namespace

TEST(RubyList, IdentifiersCountUpAndRestartAfterClear) {
  RubyList list;
  EXPECT_EQ(Add(list, 0, u"日"), 0);
  EXPECT_EQ(Add(list, 1, u"本"), 1);
  EXPECT_EQ(Add(list, 5, u"漢"), 2);
  EXPECT_EQ(Add(list, 7, u"字"), 3);
  list.Delete(3);
  EXPECT_EQ(list.FindById(3), nullptr);
  EXPECT_EQ(Add(list, 9, u"語"), 4);  // a deleted identifier is not given out again
  list.Clear();
  EXPECT_TRUE(list.empty());
  EXPECT_EQ(Add(list, 9, u"語"), 0);
}

TEST(RubyList, CanAnnotateGapsAndBaseRules) {
  RubyList list;
  Add(list, 2, u"日本");
  Add(list, 6, u"漢字");
  struct Case {
    std::int32_t start, end;
    std::u16string base;
    bool expected;
  };
  const Case cases[] = {
      {4, 6, u"ab", true},    // touches both neighbours
      {3, 5, u"ab", false},   {5, 7, u"ab", false}, {1, 9, u"abcdefgh", false},
      {0, 2, u"ab", true},    {8, 9, u"a", true},   {2, 4, u"ab", false},
      {10, 12, u"abc", false},  // length mismatch
      {10, 10, u"", false},     {11, 10, u"a", false},
      {10, 12, u"a ", false},   {10, 12, u"a\u3000", false},
      {10, 12, u"a\n", false},  {10, 12, u"\ra", false},
  };
  for (const Case& c : cases) {
    list.FillBase(c.base);
    EXPECT_EQ(list.CanAnnotate(c.start, c.end), c.expected) << c.start << "," << c.end;
  }
}

TEST(RubyList, InsertResultsAndBlankBases) {
  RubyList list;
  Add(list, 2, u"日本");
  // Insert does not test blanks; CanAnnotate does.
  list.FillBase(u"a b");
  EXPECT_FALSE(list.CanAnnotate(10, 13));
  EXPECT_EQ(list.Insert(10, 13), 1);
  EXPECT_EQ(Add(list, 3, u"本語"), -1);  // overlap
  list.FillBase(u"abc");
  EXPECT_EQ(list.Insert(20, 22), 0);  // length mismatch
  list.FillBase(u"a\nb");
  EXPECT_EQ(list.Insert(20, 23), 0);
  EXPECT_EQ(list.total_count(), 2);
}

TEST(RubyList, BuffersHoldTheirCapacityAndReadingIsConsumed) {
  RubyList list;
  EXPECT_TRUE(list.FillBase(std::u16string(31, u'漢')));
  EXPECT_FALSE(list.FillBase(std::u16string(32, u'漢')));
  EXPECT_TRUE(list.base_buffer().empty());
  EXPECT_FALSE(list.CanAnnotate(0, 32));
  EXPECT_TRUE(list.FillReading(std::u16string(63, u'か')));
  EXPECT_FALSE(list.FillReading(std::u16string(64, u'か')));
  EXPECT_TRUE(list.reading_buffer().empty());

  list.FillBase(u"漢");
  list.FillReading(u"かん");
  list.Insert(0, 1);
  EXPECT_TRUE(list.reading_buffer().empty());
  EXPECT_EQ(list.FindById(0)->reading, u"かん");
}

TEST(RubyList, LookupsByOffset) {
  RubyList list;
  Add(list, 2, u"日本");   // [2,4)
  Add(list, 4, u"語");     // [4,5) touching
  Add(list, 8, u"漢字");   // [8,10)
  struct Case {
    std::int32_t p;
    std::int32_t covering;    // -1: none
    std::int32_t containing;  // -1: none
  };
  const Case cases[] = {
      {0, -1, -1}, {1, -1, -1}, {2, 0, 0},  {3, 0, 0},   {4, 0, 1},  {5, 1, -1},
      {6, -1, -1}, {8, 2, 2},   {9, 2, 2},  {10, 2, -1}, {11, -1, -1},
  };
  for (const Case& c : cases) {
    const RubyEntry* covering = list.FindCovering(c.p);
    const RubyEntry* containing = list.FindContaining(c.p);
    EXPECT_EQ(covering ? covering->id : -1, c.covering) << c.p;
    EXPECT_EQ(containing ? containing->id : -1, c.containing) << c.p;
  }
}

TEST(RubyList, VerifyMapping) {
  RubyList list;
  Add(list, 0, u"日本", u"にほん");  // +1
  Add(list, 2, u"語");               // -1, unfilled
  Add(list, 5, u"漢字", u"かんじ");  // +1
  VerifySpan span;
  ASSERT_TRUE(list.VerifyRange(*list.FindById(1), span));
  EXPECT_EQ(span.start, 3);
  EXPECT_EQ(span.end, 3);
  ASSERT_TRUE(list.VerifyRange(*list.FindById(2), span));
  EXPECT_EQ(span.start, 5);
  EXPECT_EQ(span.end, 8);

  const std::pair<std::int32_t, std::int32_t> to_verify[] = {
      {0, 0}, {1, 2}, {2, 3}, {3, 3}, {4, 4}, {5, 5}, {6, 7}, {7, 8}, {9, 10}};
  for (auto [p, q] : to_verify) EXPECT_EQ(list.ToVerifyOffset(p), q) << p;

  // q = 3 lies on the border of entries 0 and 1: the earlier one answers.
  const std::pair<std::int32_t, std::int32_t> at_verify[] = {
      {0, 0}, {2, 0}, {3, 0}, {4, -1}, {5, 2}, {8, 2}, {9, -1}};
  for (auto [q, id] : at_verify) {
    const RubyEntry* e = list.FindAtVerifyOffset(q);
    EXPECT_EQ(e ? e->id : -1, id) << q;
  }

  RubyEntry foreign;
  foreign.id = 0;
  EXPECT_FALSE(list.VerifyRange(foreign, span));
}

TEST(RubyList, SetReadingCountsAndObserver) {
  RubyList list;
  Recorder rec;
  list.set_observer(&rec);
  Add(list, 0, u"日", u"に");
  Add(list, 1, u"本", u"ほん");
  Add(list, 3, u"語");
  Add(list, 5, u"漢");
  Add(list, 7, u"字");
  EXPECT_EQ(rec.inserted, (std::vector<std::int32_t>{0, 1, 2, 3, 4}));
  EXPECT_EQ(rec.filled, 2);
  EXPECT_EQ(rec.total, 5);
  EXPECT_EQ(orvi::StatusText(rec.filled, rec.total), u"Filled/Total:  2/5 rubies");

  // Emptying a reading unfills the entry and shifts the verify text.
  list.FillReading(u"");
  list.SetReading(*list.FindById(1));
  EXPECT_EQ(rec.filled, 1);
  EXPECT_EQ(list.ToVerifyOffset(3), 2);
  list.FillReading(u"ごご");
  list.SetReading(*list.FindById(2));
  EXPECT_EQ(rec.filled, 2);
  EXPECT_EQ(list.ToVerifyOffset(5), 5);
  EXPECT_TRUE(list.reading_buffer().empty());
}

TEST(RubyList, DeletingClearsCurrentEntry) {
  RubyList list;
  Recorder rec;
  list.set_observer(&rec);
  Add(list, 0, u"日");
  Add(list, 2, u"本");
  list.set_current(list.FindById(1));
  list.Delete(7);  // missing: nothing happens
  EXPECT_EQ(rec.cleared, 0);
  EXPECT_NE(list.current(), nullptr);
  list.Delete(0);  // any deletion removes the current highlight
  EXPECT_EQ(rec.cleared, 1);
  EXPECT_EQ(list.current(), nullptr);
  EXPECT_EQ(list.FindCovering(0), nullptr);
  EXPECT_EQ(list.FindCovering(2)->id, 1);
  list.set_current(list.FindById(1));
  list.Clear();
  EXPECT_EQ(list.current(), nullptr);
  EXPECT_EQ(rec.total, 0);
}

// The tree answers exactly what a linear walk over a sorted list would, under random
// inserts, reading changes and deletes.
TEST(RubyList, AgreesWithLinearWalk) {
  std::mt19937 rng(7);
  RubyList list;
  std::vector<RubyEntry> model;  // kept sorted by start
  for (int step = 0; step < 3000; ++step) {
    const int op = static_cast<int>(rng() % 10);
    if (op < 6) {
      const std::int32_t start = static_cast<std::int32_t>(rng() % 2000);
      const std::int32_t len = 1 + static_cast<std::int32_t>(rng() % 4);
      const std::u16string base(static_cast<std::size_t>(len), u'漢');
      const std::u16string reading(rng() % 6, u'か');
      list.FillBase(base);
      const bool can = list.CanAnnotate(start, start + len);
      bool model_free = true;
      for (const RubyEntry& e : model) {
        if (start < e.end && e.start < start + len) model_free = false;
      }
      ASSERT_EQ(can, model_free);
      list.FillReading(reading);
      const std::int32_t id = list.Insert(start, start + len);
      if (!model_free) {
        ASSERT_EQ(id, -1);
        continue;
      }
      RubyEntry e{id, start, start + len, base, reading};
      auto it = model.begin();
      while (it != model.end() && it->start < start) ++it;
      model.insert(it, e);
    } else if (op < 8 && !model.empty()) {
      RubyEntry& m = model[rng() % model.size()];
      m.reading.assign(rng() % 6, u'よ');
      list.FillReading(m.reading);
      list.SetReading(*list.FindById(m.id));
    } else if (!model.empty()) {
      const std::size_t k = rng() % model.size();
      list.Delete(model[k].id);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(k));
    }
    if (step % 50 != 0) continue;
    ASSERT_EQ(list.total_count(), static_cast<int>(model.size()));
    const std::vector<const RubyEntry*> entries = list.Entries();
    for (std::size_t k = 0; k < model.size(); ++k) ASSERT_EQ(entries[k]->id, model[k].id);
    for (std::int32_t p = -1; p < 2010; p += 3) {
      std::int32_t covering = -1, containing = -1, verify = p, at = -1;
      std::int32_t shift = 0;
      for (const RubyEntry& e : model) {
        if (covering < 0 && e.start <= p && p <= e.end) covering = e.id;
        if (containing < 0 && e.start <= p && p < e.end) containing = e.id;
        if (e.start < p) verify += e.displacement();
        const std::int32_t vs = e.start + shift;
        if (at < 0 && vs <= p && p <= vs + static_cast<std::int32_t>(e.reading.size())) at = e.id;
        shift += e.displacement();
      }
      const RubyEntry* c = list.FindCovering(p);
      const RubyEntry* n = list.FindContaining(p);
      const RubyEntry* a = list.FindAtVerifyOffset(p);
      ASSERT_EQ(c ? c->id : -1, covering) << p;
      ASSERT_EQ(n ? n->id : -1, containing) << p;
      ASSERT_EQ(a ? a->id : -1, at) << p;
      ASSERT_EQ(list.ToVerifyOffset(p), verify) << p;
    }
  }
}
