#include <gtest/gtest.h>

#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "common/kanji.h"
#include "editor/core/export_generator.h"
#include "editor/core/markup_parser.h"

using common::EditorTagType;
using orvi::RubyList;

namespace {

using EntryTuple = std::tuple<std::int32_t, std::int32_t, std::u16string, std::u16string>;

std::vector<EntryTuple> EntriesOf(const RubyList& list) {
  std::vector<EntryTuple> out;
  for (const orvi::RubyEntry* e : list.Entries()) {
    out.emplace_back(e->start, e->end, e->base, e->reading);
  }
  return out;
}

// A random text of kanji, kana, Latin letters (including those of the tag names), blanks and
// CR LF line ends, with random annotations. With whole_kanji_runs, every base is a run of
// kanji that starts after a non-kanji or right where the previous annotation ends, as the
// brackets dialect needs.
struct Sample {
  std::u16string text;
  RubyList list;
};

void MakeSample(std::mt19937& rng, bool whole_kanji_runs, Sample& s) {
  static const std::u16string kKanji = u"漢字日本語人々花";
  static const std::u16string kKana = u"あいうかなカナー";
  static const std::u16string kLatin = u"abrtuyBRTUY";
  auto pick = [&](const std::u16string& from) {
    return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(rng)];
  };
  const int length = std::uniform_int_distribution<int>(0, 50)(rng);
  for (int n = 0; n < length; ++n) {
    switch (std::uniform_int_distribution<int>(0, 9)(rng)) {
      case 0: case 1: case 2: case 3: s.text += pick(kKanji); break;
      case 4: case 5: s.text += pick(kKana); break;
      case 6: s.text += pick(kLatin); break;
      case 7: s.text += (rng() & 1) ? u' ' : u'\u3000'; break;
      default: s.text += u"\r\n"; break;
    }
  }
  std::size_t previous_end = 0;
  std::int32_t carriage_returns = 0;
  for (std::size_t i = 0; i < s.text.size();) {
    const char16_t c = s.text[i];
    const bool may_start =
        !whole_kanji_runs ||
        (common::IsKanji(c) && (i == 0 || !common::IsKanji(s.text[i - 1]) || i == previous_end));
    if (may_start && rng() % 3 == 0) {
      std::size_t end = i;
      const std::size_t want = 1 + rng() % 4;
      while (end < s.text.size() && end - i < want) {
        const char16_t d = s.text[end];
        if (d == u'\r' || d == u'\n' || d == u' ' || d == u'\u3000') break;
        if (whole_kanji_runs && !common::IsKanji(d)) break;
        ++end;
      }
      if (end > i) {
        std::u16string reading;
        for (std::size_t k = rng() % 5; k > 0; --k) reading += pick(kKana);
        s.list.FillBase(s.text.substr(i, end - i));
        s.list.FillReading(reading);
        const auto start = static_cast<std::int32_t>(i) - carriage_returns;
        ASSERT_GE(s.list.Insert(start, start + static_cast<std::int32_t>(end - i)), 0);
        previous_end = end;
        i = end;
        continue;
      }
    }
    if (c == u'\r') ++carriage_returns;
    ++i;
  }
}

}  // namespace

// Generating markup and parsing it back gives the same text and annotations.
TEST(MarkupRoundTrip, RandomTextsSurviveExportAndImport) {
  struct Variant {
    const char* name;
    EditorTagType type;
    bool styles;
  };
  const Variant variants[] = {
      {"html plain", EditorTagType::Html, false},
      {"html default styles", EditorTagType::Html, true},
      {"bbs plain", EditorTagType::Bbs, false},
      {"bbs default styles", EditorTagType::Bbs, true},
      {"brackets", EditorTagType::Brackets, true},
  };
  std::mt19937 rng(20261211);
  for (const Variant& v : variants) {
    for (int round = 0; round < 400; ++round) {
      Sample s;
      MakeSample(rng, v.type == EditorTagType::Brackets, s);
      orvi::ExportSettings settings = orvi::DefaultExportSettings(v.type);
      settings.options.styles_enabled = v.styles;
      const std::u16string markup = orvi::GenerateExport(settings, s.text, s.list);

      RubyList parsed;
      std::u16string text;
      if (v.type == EditorTagType::Brackets) {
        text = orvi::ParseBrackets(markup, parsed);
      } else {
        text = orvi::ParseTags(markup, static_cast<int>(v.type), parsed).value_or(u"");
      }
      ASSERT_EQ(text, s.text) << v.name << " round " << round;
      ASSERT_EQ(EntriesOf(parsed), EntriesOf(s.list)) << v.name << " round " << round;
    }
  }
}
