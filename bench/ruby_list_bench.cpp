// Times inserting 100,000 entries and answering 1,000,000 offset queries.
#include "editor/core/ruby_list.h"

#include <chrono>
#include <cstdio>
#include <algorithm>
#include <random>
#include <vector>

namespace {

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void Run(const char* order, bool shuffled) {
  constexpr int kEntries = 100000;
  constexpr int kQueries = 1000000;
  std::vector<int> slots(kEntries);
  for (int i = 0; i < kEntries; ++i) slots[i] = i;
  std::mt19937 rng(1);
  if (shuffled) std::shuffle(slots.begin(), slots.end(), rng);

  orvi::RubyList list;
  auto t0 = std::chrono::steady_clock::now();
  for (int slot : slots) {
    // Entries of two kanji every 5 units, readings of 1 to 4 kana.
    list.FillBase(u"漢字");
    list.FillReading(std::u16string(1 + slot % 4, u'か'));
    list.Insert(slot * 5, slot * 5 + 2);
  }
  const double insert_s = Seconds(t0);

  std::vector<std::int32_t> probes(kQueries);
  for (auto& p : probes) p = static_cast<std::int32_t>(rng() % (kEntries * 5));
  long long sink = 0;
  t0 = std::chrono::steady_clock::now();
  for (std::int32_t p : probes) {
    const orvi::RubyEntry* e = list.FindCovering(p);
    sink += e ? e->id : 0;
  }
  const double covering_s = Seconds(t0);
  t0 = std::chrono::steady_clock::now();
  for (std::int32_t p : probes) sink += list.ToVerifyOffset(p);
  const double verify_s = Seconds(t0);

  std::printf("ruby list, %d entries inserted in %s order: insert %.3f s\n", kEntries, order,
              insert_s);
  std::printf("  %d FindCovering: %.3f s\n", kQueries, covering_s);
  std::printf("  %d ToVerifyOffset: %.3f s   (checksum %lld)\n", kQueries, verify_s, sink);
}

}  // namespace

int main() {
  Run("ascending", false);
  Run("random", true);
  return 0;
}
