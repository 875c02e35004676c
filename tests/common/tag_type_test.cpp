#include "common/tag_type.h"

#include <gtest/gtest.h>

using common::DetectedTagType;
using common::DetectTagType;

TEST(DetectTagType, FirstRubyTagDecides) {
  struct Case {
    const char16_t* text;
    DetectedTagType expected;
  };
  const Case cases[] = {
      {u"", DetectedTagType::Brackets},
      {u"漢字(かんじ)", DetectedTagType::Brackets},
      {u"plain text", DetectedTagType::Brackets},
      {u"a<ruby>b", DetectedTagType::Html},
      {u"<RuBy><rb>", DetectedTagType::Html},
      {u"x[RUBY] then <ruby>", DetectedTagType::Bbs},
      {u"<ruby> then [ruby]", DetectedTagType::Html},
      {u"<ruby class=a>", DetectedTagType::Brackets},
      {u"text <ruby", DetectedTagType::Brackets},  // unfinished at the very end
      {u"[rub", DetectedTagType::Brackets},
      {u"<<ruby>", DetectedTagType::Html},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DetectTagType(c.text), c.expected);
  }
}

TEST(TagTypeNumbering, EditorAndConverterNumbersFollowDetection) {
  EXPECT_EQ(common::ToEditorTagType(DetectedTagType::Html), common::EditorTagType::Html);
  EXPECT_EQ(static_cast<int>(common::ToEditorTagType(DetectedTagType::Brackets)), 2);
  EXPECT_EQ(static_cast<int>(common::ToConverterTagType(DetectedTagType::Bbs)), 2);
  EXPECT_EQ(static_cast<int>(common::EditorTagType::Bbs), 1);
}
