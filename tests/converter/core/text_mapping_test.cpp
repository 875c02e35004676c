#include "converter/core/text_mapping.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

namespace {

using quenlite::AdvancedOptions;
using quenlite::MappingLocale;
using quenlite::StepOutcome;

AdvancedOptions Upper() { AdvancedOptions o; o.upper_case = true; return o; }
AdvancedOptions Lower() { AdvancedOptions o; o.lower_case = true; return o; }
AdvancedOptions Trad() { AdvancedOptions o; o.to_traditional = true; return o; }
AdvancedOptions Simp() { AdvancedOptions o; o.to_simplified = true; return o; }
AdvancedOptions Kata() { AdvancedOptions o; o.to_katakana = true; return o; }
AdvancedOptions Hira() { AdvancedOptions o; o.to_hiragana = true; return o; }

MappingLocale Locale(std::string id, bool taiwan = false) {
  MappingLocale l;
  l.case_locale = std::move(id);
  l.taiwan_chinese = taiwan;
  return l;
}

TEST(ApplyAdvancedOptions, NoOptionBypassesWithTheSameText) {
  const auto r = quenlite::ApplyAdvancedOptions(u"abc\u3042", AdvancedOptions{}, Locale(""));
  EXPECT_EQ(r.outcome, StepOutcome::Bypassed);
  EXPECT_EQ(r.text, u"abc\u3042");
}

TEST(ApplyAdvancedOptions, Mappings) {
  struct Case {
    const char* what;
    AdvancedOptions options;
    MappingLocale locale;
    std::u16string in;
    std::u16string out;
  };
  AdvancedOptions upper_kata = Upper();
  upper_kata.to_katakana = true;
  AdvancedOptions lower_simp_hira = Lower();
  lower_simp_hira.to_simplified = true;
  lower_simp_hira.to_hiragana = true;
  const Case cases[] = {
      // Case maps one to one: ß has no single capital, ŉ no single one either.
      {"upper", Upper(), Locale(""), u"abc \u00E4\u00DF\u0149 \u03C3\U00010428 123",
       u"ABC \u00C4\u00DF\u0149 \u03A3\U00010400 123"},
      {"lower", Lower(), Locale("en_US"), u"ABC \u00C4\u0130 \u03A3", u"abc \u00E4i \u03C3"},
      {"upper tr", Upper(), Locale("tr_TR"), u"i\u0131", u"\u0130I"},
      {"lower tr", Lower(), Locale("tr_TR"), u"I\u0130", u"\u0131i"},
      {"upper en i", Upper(), Locale("en_US"), u"i", u"I"},
      {"katakana", Kata(), Locale(""), u"\u3072\u3089\u304C\u306A\u3041\u3094\u3096\u309D\u309E\u30FC",
       u"\u30D2\u30E9\u30AC\u30CA\u30A1\u30F4\u30F6\u30FD\u30FE\u30FC"},
      // ヷ and the halfwidth forms have no hiragana; hiragana stays hiragana.
      {"hiragana", Hira(), Locale(""), u"\u30AB\u30BF\u30F4\u30F5\u30F6\u30F7\uFF76\u3042",
       u"\u304B\u305F\u3094\u3095\u3096\u30F7\uFF76\u3042"},
      // Phrase-aware: 发 becomes 髮 in 头发 but 發 in 发展.
      {"traditional", Trad(), Locale(""), u"\u5934\u53D1\u53D1\u5C55 abc",
       u"\u982D\u9AEE\u767C\u5C55 abc"},
      {"traditional general", Trad(), Locale(""), u"\u7740", u"\u7740"},
      {"traditional taiwan", Trad(), Locale("", true), u"\u7740\u91CC\u9762", u"\u8457\u88E1\u9762"},
      {"simplified", Simp(), Locale(""), u"\u982D\u9AEE\u767C\u5C55\u6F22\u8A9E", u"\u5934\u53D1\u53D1\u5C55\u6C49\u8BED"},
      {"simplified taiwan", Simp(), Locale("", true), u"\u81FA\u7063", u"\u53F0\u6E7E"},
      // An unpaired surrogate has no UTF-8 form; it passes through the Chinese mapping unharmed.
      {"lone surrogate", Simp(), Locale(""), u"\u6F22\xD800\u8A9E", u"\u6C49\xD800\u8BED"},
      {"upper then katakana", upper_kata, Locale(""), u"abc\u3042\u3044", u"ABC\u30A2\u30A4"},
      {"all three", lower_simp_hira, Locale(""), u"ABC\u6F22\u30AB", u"abc\u6C49\u304B"},
  };
  for (const Case& c : cases) {
    const auto r = quenlite::ApplyAdvancedOptions(c.in, c.options, c.locale);
    EXPECT_EQ(r.outcome, StepOutcome::Converted) << c.what;
    EXPECT_EQ(r.text, c.out) << c.what;
  }
}

TEST(ApplyAdvancedOptions, MissingChineseDataFailsTheStep) {
  const auto empty_dir = std::filesystem::temp_directory_path() / "quenlite-no-opencc-data";
  std::filesystem::create_directories(empty_dir);
  for (bool to_traditional : {true, false}) {
    for (bool taiwan : {false, true}) {
      AdvancedOptions options = to_traditional ? Trad() : Simp();
      options.upper_case = true;  // an earlier mapping that succeeds does not save the step
      MappingLocale locale = Locale("", taiwan);
      locale.chinese_data_dir = empty_dir.string();
      const auto r = quenlite::ApplyAdvancedOptions(u"abc\u6F22", options, locale);
      EXPECT_EQ(r.outcome, StepOutcome::Failed) << to_traditional << taiwan;
      EXPECT_TRUE(r.text.empty());
    }
  }
  // Without a Chinese option the missing data does not matter.
  MappingLocale locale = Locale("");
  locale.chinese_data_dir = empty_dir.string();
  EXPECT_EQ(quenlite::ApplyAdvancedOptions(u"abc", Upper(), locale).text, u"ABC");
}

TEST(MappingLocale, FromUserFollowsLocaleAndAnsiCodePage) {
  const char* saved = std::getenv("LC_ALL");
  const std::optional<std::string> restore = saved ? std::optional<std::string>(saved) : std::nullopt;
  struct Case {
    const char* lc_all;
    common::CodePage ansi;
    const char* case_locale;
    bool taiwan;
  };
  const Case cases[] = {
      {"tr_TR.UTF-8", 65001, "tr_TR", false}, {"zh_TW.UTF-8", 65001, "zh_TW", true},
      {"zh_TW.BIG5", 950, "zh_TW", true},     {"zh_CN.UTF-8", 950, "zh_CN", true},
      {"zh_CN.GB18030", 54936, "zh_CN", false}, {"C", 65001, "", false},
      {"de_DE.UTF-8@euro", 65001, "de_DE", false},
  };
  for (const Case& c : cases) {
    setenv("LC_ALL", c.lc_all, 1);
    const MappingLocale l = MappingLocale::FromUser(c.ansi);
    EXPECT_EQ(l.case_locale, c.case_locale) << c.lc_all;
    EXPECT_EQ(l.taiwan_chinese, c.taiwan) << c.lc_all;
    EXPECT_TRUE(l.chinese_data_dir.empty());
  }
  if (restore) setenv("LC_ALL", restore->c_str(), 1); else unsetenv("LC_ALL");
}

}  // namespace
