#include "converter/core/settings.h"

#include <gtest/gtest.h>

using quenlite::Settings;

TEST(Settings, StartValuesAndReset) {
  Settings s;
  EXPECT_FALSE(s.show_status_window);
  EXPECT_EQ(s.source_mode, quenlite::SourceMode::Files);
  EXPECT_TRUE(s.recursive_subdirectories);
  EXPECT_TRUE(s.encoding_conversion_with_content);
  EXPECT_FALSE(s.encoding_conversion_with_file_name);
  EXPECT_FALSE(s.format_conversion);
  EXPECT_FALSE(s.tag_type_conversion);
  EXPECT_FALSE(s.split_album_name);
  EXPECT_TRUE(s.auto_rename);
  EXPECT_TRUE(s.force_unicode_check);
  EXPECT_TRUE(s.add_break_at_line_ends);
  EXPECT_EQ(s.source_code_page, 932u);
  EXPECT_EQ(s.destination_code_page, 936u);
  EXPECT_FALSE(s.advanced.Active());

  // Content conversion off keeps the pair; Reset then restores every setting but that pair.
  s.source_code_page = 950;
  s.destination_code_page = 65001;
  s.SetContentConversion(false, 1252);
  EXPECT_EQ(s.source_code_page, 1252u);
  EXPECT_EQ(s.destination_code_page, 1252u);
  s.SetContentConversion(false, 1252);  // already off: the saved pair is not overwritten
  s.advanced.upper_case = true;
  s.split_album_name = true;
  s.Reset();
  EXPECT_TRUE(s.encoding_conversion_with_content);
  EXPECT_EQ(s.source_code_page, 932u);
  EXPECT_FALSE(s.advanced.Active());
  EXPECT_FALSE(s.split_album_name);
  EXPECT_EQ(s.saved_source_code_page, 950u);
  EXPECT_EQ(s.saved_destination_code_page, 65001u);
  s.encoding_conversion_with_content = false;
  s.SetContentConversion(true, 1252);
  EXPECT_EQ(s.source_code_page, 950u);
  EXPECT_EQ(s.destination_code_page, 65001u);
}

TEST(Settings, FormatAndTagConversionExcludeEachOther) {
  Settings s;
  s.SetTagTypeConversion(true);
  s.SetFormatConversion(true);
  EXPECT_TRUE(s.format_conversion);
  EXPECT_FALSE(s.tag_type_conversion);
  s.SetTagTypeConversion(true);
  EXPECT_FALSE(s.format_conversion);
  s.SetTagTypeConversion(false);
  EXPECT_FALSE(s.format_conversion);
  EXPECT_FALSE(s.tag_type_conversion);
}
