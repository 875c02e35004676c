#include "common/kanji.h"

#include <gtest/gtest.h>

TEST(IsKanji, BoundsOfEveryRange) {
  struct Case {
    char16_t c;
    bool kanji;
  };
  const Case cases[] = {
      {0x33FF, false}, {0x3400, true},  {0x4DBE, true},  {0x4DBF, false}, {0x4DFF, false},
      {0x4E00, true},  {0x65E5, true},  {0x9FBF, true},  {0x9FC0, false}, {0xF8FF, false},
      {0xF900, true},  {0xFAFF, true},  {0xFB00, false}, {0x3005, true},  {0x3004, false},
      {0x3006, false}, {0x3042, false}, {0x30A2, false}, {u'A', false},   {0x3000, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(common::IsKanji(c.c), c.kanji) << std::hex << static_cast<int>(c.c);
  }
}
