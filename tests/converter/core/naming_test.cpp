#include "converter/core/naming.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using quenlite::AdjustExtension;
using quenlite::FormatDestination;
using quenlite::MakeDestName;
using quenlite::MakeDestPath;
using quenlite::Selection;
using quenlite::Settings;
using quenlite::SourceMode;

namespace {

std::string Narrow(const std::u16string& s) { return quenlite::ToFileSystemName(s); }

}  // namespace

TEST(MakeDestName, NamingOptionsTable) {
  auto none = [](Settings&) {};
  auto no_rename = [](Settings& s) { s.auto_rename = false; };
  auto split = [](Settings& s) { s.split_album_name = true; };
  auto split_no_rename = [](Settings& s) {
    s.split_album_name = true;
    s.auto_rename = false;
  };
  auto to_kra = [](Settings& s) {
    s.format_conversion = true;
    s.destination_format = FormatDestination::Kra;
  };
  auto to_plain = [](Settings& s) {
    s.format_conversion = true;
    s.destination_format = FormatDestination::PlainText;
  };
  auto split_to_lrc = [](Settings& s) {
    s.split_album_name = true;
    s.format_conversion = true;
    s.destination_format = FormatDestination::Lrc;
  };
  struct Case {
    const char* what;
    std::function<void(Settings&)> setup;
    std::u16string source;
    std::u16string expected;
  };
  const Case cases[] = {
      {"default: infix in front", none, u"song.lrc", u"_quenlite_song.lrc"},
      {"rename off: name unchanged", no_rename, u"song.lrc", u"song.lrc"},
      {"format to kra", to_kra, u"song.lrc", u"_quenlite_song.kra"},
      {"format to plain", to_plain, u"song.lrc", u"_quenlite_song.txt"},
      {"album split with infix", split, u"(Album) 01 Title.txt", u"Album/_quenlite_ 01 Title.txt"},
      {"nested parentheses", split_no_rename, u"(A (B)) x.txt", u"A (B)/ x.txt"},
      {"nested with infix", split, u"(A (B)) x.txt", u"A (B)/_quenlite_ x.txt"},
      {"full-width opening, half-width closing", split, u"\uFF08Album ) x.txt",
       u"Album /_quenlite_ x.txt"},
      {"full-width pair", split_no_rename, u"\uFF08\u30A2\uFF09x.txt", u"\u30A2/x.txt"},
      {"empty pair: no split", split, u"()x.txt", u"_quenlite_()x.txt"},
      {"never closed: no split", split, u"(Album x.txt", u"_quenlite_(Album x.txt"},
      {"closing last: no split", split, u"(Album)", u"_quenlite_(Album)"},
      {"not first: no split", split, u"x (Album) y.txt", u"_quenlite_x (Album) y.txt"},
      {"parent folder as album: no split", split, u"(..) x.txt", u"_quenlite_(..) x.txt"},
      {"current folder as album: no split", split, u"(.) x.txt", u"_quenlite_(.) x.txt"},
      {"split off keeps parentheses", none, u"(Album) x.txt", u"_quenlite_(Album) x.txt"},
      {"split then extension", split_to_lrc, u"(Al) t.kra", u"Al/_quenlite_ t.lrc"},
  };
  for (const Case& c : cases) {
    Settings settings;
    c.setup(settings);
    EXPECT_EQ(Narrow(MakeDestName(settings, c.source)), Narrow(c.expected)) << c.what;
  }
}

TEST(MakeDestName, NameConversionRoundTripsThroughBothCodePages) {
  Settings settings;
  settings.encoding_conversion_with_file_name = true;
  settings.destination_code_page = 65001;  // "é" goes out as C3 A9 ...
  settings.source_code_page = 1252;        // ... and comes back as "Ã©"
  EXPECT_EQ(Narrow(MakeDestName(settings, u"\u00E9.txt")), Narrow(u"_quenlite_\u00C3\u00A9.txt"));

  // The album split looks for the parentheses in the re-encoded name, the name it cuts, so a
  // re-encoding that lengthens the album name still splits at its closing parenthesis.
  settings.split_album_name = true;
  EXPECT_EQ(Narrow(MakeDestName(settings, u"(\u00E9) x.txt")),
            Narrow(u"\u00C3\u00A9/_quenlite_ x.txt"));
  settings.split_album_name = false;

  // A conversion that cannot be done leaves the name exactly as it was: no infix either.
  settings.destination_code_page = 12345;
  EXPECT_EQ(Narrow(MakeDestName(settings, u"a.txt")), "a.txt");

  // UTF-16 on both sides: the zero bytes of the encoded name are part of it, so the name
  // comes back whole.
  for (const common::CodePage cp : {1200u, 1201u}) {
    settings.destination_code_page = cp;
    settings.source_code_page = cp;
    EXPECT_EQ(Narrow(MakeDestName(settings, u"ab.txt")), "_quenlite_ab.txt") << cp;
  }

  // Bytes that come back as a separator would move the file elsewhere: treated as failed.
  // U+2F41 in UTF-16LE is 41 2F, which code page 932 reads as "A/".
  settings.destination_code_page = 1200;
  settings.source_code_page = 932;
  EXPECT_EQ(Narrow(MakeDestName(settings, u"\u2F41")), Narrow(u"\u2F41"));
}

TEST(AdjustExtension, OnlyExactLowerCaseLyricEndingsChange) {
  Settings on;
  on.format_conversion = true;
  on.destination_format = FormatDestination::Lrc;
  struct Case {
    std::u16string name;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"a.txt", u"a.lrc"},         {u"a.kra", u"a.lrc"},     {u"a.lrc", u"a.lrc"},
      {u"lyric.LRC", u"lyric.LRC"}, {u"a.cue", u"a.cue"},     {u".txt", u".txt"},
      {u"a.txt.bak", u"a.txt.bak"}, {u"", u""},
  };
  for (const Case& c : cases) {
    std::u16string name = c.name;
    AdjustExtension(on, name);
    EXPECT_EQ(Narrow(name), Narrow(c.expected)) << Narrow(c.name);
  }
  Settings off;
  off.destination_format = FormatDestination::Kra;
  std::u16string name = u"a.txt";
  AdjustExtension(off, name);
  EXPECT_EQ(Narrow(name), "a.txt");
}

TEST(MakeDestPath, FileAndDirectoryModes) {
  Settings files;
  Selection one;
  one.source_folder = u"/src/";
  one.source_names = {u"song.lrc"};
  one.destination_folder = u"/dst/";
  one.destination_file_name = u"chosen.txt";
  EXPECT_EQ(Narrow(*MakeDestPath(files, one, u"/src/", u"song.lrc")), "/dst/chosen.txt");
  one.destination_file_name.clear();  // not chosen yet: generated from the name
  EXPECT_EQ(Narrow(*MakeDestPath(files, one, u"/src/", u"song.lrc")), "/dst/_quenlite_song.lrc");

  Selection several = one;
  several.source_names = {u"a.txt", u"b.txt"};
  several.destination_file_name = u"ignored.txt";
  EXPECT_EQ(Narrow(*MakeDestPath(files, several, u"/src/", u"b.txt")), "/dst/_quenlite_b.txt");

  Settings directory;
  directory.source_mode = SourceMode::Directory;
  Selection tree;
  tree.source_folder = u"/src/";
  tree.destination_folder = u"/dst/";
  EXPECT_EQ(Narrow(*MakeDestPath(directory, tree, u"/src/sub/deeper/", u"a.txt")),
            "/dst/sub/deeper/_quenlite_a.txt");
  EXPECT_EQ(Narrow(*MakeDestPath(directory, tree, u"/src/", u"a.txt")), "/dst/_quenlite_a.txt");
  directory.recursive_subdirectories = false;
  EXPECT_EQ(Narrow(*MakeDestPath(directory, tree, u"/src/sub/", u"a.txt")),
            "/dst/_quenlite_a.txt");

  tree.destination_folder.clear();
  EXPECT_FALSE(MakeDestPath(directory, tree, u"/src/", u"a.txt").has_value());
}

TEST(FileSystemNames, EveryByteSequenceRoundTrips) {
  struct Case {
    std::string bytes;
    std::u16string name;
  };
  const Case cases[] = {
      {"plain.txt", u"plain.txt"},
      {"\xE6\x97\xA5\xE6\x9C\xAC.txt", u"\u65E5\u672C.txt"},
      {"\xF0\x9F\x8E\xB5", u"\U0001F3B5"},
      {"\x93\xFA\x96\x7B.txt", u"\xDC93\xDCFA\xDC96\x7B.txt"},  // Shift-JIS bytes kept one by one
      {"\xC0\xAF", u"\xDCC0\xDCAF"},                          // overlong "/" is not a separator
      {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},                // encoded surrogate
      {"\xE6\x97", u"\xDCE6\xDC97"},                          // cut short at the end
  };
  for (const Case& c : cases) {
    const std::u16string name = quenlite::FromFileSystemName(c.bytes);
    EXPECT_EQ(name, c.name) << c.bytes;
    EXPECT_EQ(quenlite::ToFileSystemName(name), c.bytes);
  }
}
