// Times the converter's tag step and lyric format step on texts of about 10 MB (5 million
// UTF-16 code units): ordinary lyrics with many annotations or time tags, and degenerate texts
// (long runs of openers, broken groups) that must stay linear.
#include <chrono>
#include <cstdio>
#include <string>

#include "converter/core/lyric_format.h"
#include "converter/core/tag_conversion.h"

namespace {

using common::ConverterTagType;
using quenlite::FormatDestination;
using quenlite::FormatSource;

struct NullLog : quenlite::StatusLog {
  void LogStatus(std::u16string_view) override {}
};

constexpr std::size_t kUnits = 5000000;

std::u16string Repeat(std::u16string_view piece) {
  std::u16string text;
  text.reserve(kUnits + piece.size());
  while (text.size() < kUnits) text += piece;
  return text;
}

template <typename Step>
void Time(const char* what, const std::u16string& input, Step step) {
  const auto start = std::chrono::steady_clock::now();
  const quenlite::StepResult result = step(input);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%-44s %6.1f MB in %6.3f s  (%7.1f MB/s, output %.1f MB)\n", what,
              input.size() * 2 / 1e6, seconds, input.size() * 2 / 1e6 / seconds,
              result.text.size() * 2 / 1e6);
}

void Tags(const char* what, std::u16string_view piece, ConverterTagType from,
          ConverterTagType to, bool add_br) {
  const std::u16string input = Repeat(piece);
  Time(what, input, [&](const std::u16string& text) {
    NullLog log;
    return quenlite::ConvertTags(text, {from, to, add_br}, log);
  });
}

void Format(const char* what, std::u16string_view piece, FormatSource from,
            FormatDestination to) {
  const std::u16string input = Repeat(piece);
  Time(what, input, [&](const std::u16string& text) {
    NullLog log;
    return quenlite::ConvertFormat(text, {from, to}, log);
  });
}

}  // namespace

int main() {
  // Ten code units per annotation: about 500,000 annotations in each text.
  Tags("tags: brackets -> html, <br>", u"漢字(かんじ)で\r\n", ConverterTagType::Brackets,
       ConverterTagType::Html, true);
  Tags("tags: html -> bbs",
       u"<ruby><rb>漢字</rb><rp>(</rp><rt>かんじ</rt><rp>)</rp></ruby>です<br>\r\n",
       ConverterTagType::Html, ConverterTagType::Bbs, false);
  Tags("tags: auto (bbs) -> brackets",
       u"[ruby][rb]漢字[/rb][rp]([/rp][rt]かんじ[/rt][rp])[/rp][/ruby]です\r\n",
       ConverterTagType::AutoOrNone, ConverterTagType::Brackets, false);
  Tags("tags: broken html groups -> none", u"<ruby><rb>漢<ruby></rb>x", ConverterTagType::Html,
       ConverterTagType::AutoOrNone, false);
  Tags("tags: brackets, only openers -> html", u"漢(", ConverterTagType::Brackets,
       ConverterTagType::Html, false);

  Format("format: lrc -> kra", u"[00:01.50]la la la la la la\r\n", FormatSource::Lrc,
         FormatDestination::Kra);
  Format("format: auto (kra) -> lrc", u"[00:01:50]la la[00:02:00]la la la la\r\n",
         FormatSource::AutoDetect, FormatDestination::Lrc);
  Format("format: kra, only '[' -> lrc", u"[", FormatSource::Kra, FormatDestination::Lrc);
  Format("format: kra, '@' runs -> plain", u"@titlex", FormatSource::Kra,
         FormatDestination::PlainText);
  return 0;
}
