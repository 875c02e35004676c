#include "converter/core/pipeline.h"

#include <dirent.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using quenlite::Batch;
using quenlite::BatchSummary;
using quenlite::SaveAnswer;
using quenlite::SaveChoice;
using quenlite::SaveOutcome;
using quenlite::Selection;
using quenlite::Settings;
using quenlite::SourceMode;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// "日本語" in Shift-JIS and in GBK.
const std::string kSjisNihongo = "\x93\xfa\x96\x7b\x8c\xea";
const std::string kGbkNihongo = "\xc8\xd5\xb1\xbe\xd5\x5a";

std::string U8(std::u16string_view s) { return quenlite::ToFileSystemName(s); }
std::u16string U16(const std::string& s) { return quenlite::FromFileSystemName(s); }

class RecordingLog : public quenlite::StatusLog {
 public:
  void LogStatus(std::u16string_view line) override { lines.push_back(U8(line)); }
  std::vector<std::string> lines;
};

// Answers from a script and records every path it was asked about.
class ScriptedQuestion : public quenlite::SaveQuestion {
 public:
  SaveAnswer AskExisting(std::u16string_view pending_path) override {
    asked.push_back(U8(pending_path));
    if (answers.empty()) {
      ADD_FAILURE() << "unexpected question about " << U8(pending_path);
      return SaveAnswer{};
    }
    SaveAnswer a = answers.front();
    answers.pop_front();
    return a;
  }
  std::deque<SaveAnswer> answers;
  std::vector<std::string> asked;
};

class RecordingProgress : public quenlite::BatchProgress {
 public:
  void OnCounted(int total) override {
    events.push_back("total " + std::to_string(total));
    if (on_counted) on_counted();
  }
  void OnFileStarted(int processed) override {
    events.push_back("file " + std::to_string(processed));
    if (on_started) on_started(processed);
  }
  std::vector<std::string> events;
  std::function<void()> on_counted;
  std::function<void(int)> on_started;
};

SaveAnswer Answer(SaveChoice choice, bool to_all = false, std::string new_path = "") {
  SaveAnswer a;
  a.choice = choice;
  a.to_all = to_all;
  a.new_path = U16(new_path);
  return a;
}

std::string Processing(const std::string& path) { return "prcoessing \"" + path + "\"."; }
std::string Generated(const std::string& path) {
  return "  generate dest. filename: \"" + path + "\", succeeded.";
}

// The lines of one file converted without any optional step.
std::vector<std::string> PlainLines(const std::string& source, const std::string& dest,
                                    const std::string& save_line) {
  return {Processing(source),
          "  load file: succeeded.",
          "  check unicode signature: not found.",
          "  translate into unicode: succeeded.",
          "  encode from unicode: succeeded.",
          Generated(dest),
          save_line};
}

const char kCreated[] = "  save dest. file: succeeded. (create new)";
const char kOverwritten[] = "  save dest. file: succeeded. (overwrite exist)";
const char kSkipped[] = "  save dest. file: skipped.";
const char kRenamed[] = "  save dest. file: succeeded. (renamed)";
const char kUnknown[] = "  save dest. file: failed. (unknown)";
const char kWriteFailed[] = "  save dest. file: failed. (write)";

class PipelineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string templ = (fs::temp_directory_path() / "pipeline-test-XXXXXX").string();
    ASSERT_NE(::mkdtemp(templ.data()), nullptr);
    root_ = templ + "/";
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(root_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(root_, ec);
  }

  std::string Path(const std::string& relative) const { return root_ + relative; }

  void Write(const std::string& relative, const std::string& bytes) {
    const fs::path p = Path(relative);
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << bytes;
  }
  std::string Read(const std::string& relative) const {
    std::ifstream in(Path(relative), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
  }
  bool Exists(const std::string& relative) const {
    struct stat st {};
    return ::lstat(Path(relative).c_str(), &st) == 0;
  }
  // Every name in a folder, hidden ones included, so that a leftover temporary file shows.
  std::vector<std::string> Names(const std::string& relative) const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(Path(relative))) {
      names.push_back(e.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  // File mode over names in src/, written to dst/.
  Selection Files(std::vector<std::string> names, const std::string& dest = "dst/") {
    Selection s;
    s.source_folder = U16(Path("src/"));
    for (const std::string& n : names) s.source_names.push_back(U16(n));
    s.destination_folder = U16(Path(dest));
    if (names.size() == 1) s.destination_file_name = quenlite::MakeDestName(settings_, s.source_names[0]);
    return s;
  }
  Selection Tree(const std::string& dest = "dst/") {
    settings_.source_mode = SourceMode::Directory;
    Selection s;
    s.source_folder = U16(Path("src/"));
    s.destination_folder = U16(Path(dest));
    return s;
  }

  BatchSummary Run(const Selection& selection) {
    return quenlite::RunBatch(settings_, selection, log_, question_, &progress_);
  }

  std::string root_;
  Settings settings_;
  RecordingLog log_;
  ScriptedQuestion question_;
  RecordingProgress progress_;
};

TEST_F(PipelineTest, ConvertsFilesInListOrderAndLogsEveryStep) {
  Write("src/b.txt", kSjisNihongo + "\r\n");
  Write("src/a.txt", "abc");
  const BatchSummary summary = Run(Files({"b.txt", "a.txt"}));

  std::vector<std::string> expected =
      PlainLines(Path("src/b.txt"), Path("dst/_quenlite_b.txt"), kCreated);
  for (const std::string& l : PlainLines(Path("src/a.txt"), Path("dst/_quenlite_a.txt"), kCreated)) {
    expected.push_back(l);
  }
  EXPECT_THAT(log_.lines, ElementsAreArray(expected));
  EXPECT_EQ(Read("dst/_quenlite_b.txt"), kGbkNihongo + "\r\n");
  EXPECT_EQ(Read("dst/_quenlite_a.txt"), "abc");
  EXPECT_THAT(progress_.events, ElementsAre("total 2", "file 1", "file 2"));
  EXPECT_EQ(summary.written, 2);
  EXPECT_EQ(summary.failed, 0);
  EXPECT_THAT(Names("dst"), ElementsAre("_quenlite_a.txt", "_quenlite_b.txt"));

  struct stat st {};
  ASSERT_EQ(::stat(Path("dst/_quenlite_a.txt").c_str(), &st), 0);
  const mode_t mask = ::umask(0);
  ::umask(mask);
  EXPECT_EQ(st.st_mode & 0777, 0666 & ~mask);  // an ordinary new file, not a private one
}

TEST_F(PipelineTest, OptionalStepsLogTheirLinesInPipelineOrder) {
  settings_.advanced.upper_case = true;
  settings_.SetTagTypeConversion(true);
  settings_.destination_tag_type = common::ConverterTagType::Brackets;
  settings_.destination_code_page = 65001;
  Write("src/a.txt", "abc");
  Run(Files({"a.txt"}));
  EXPECT_THAT(log_.lines, ElementsAre(Processing(Path("src/a.txt")), "  load file: succeeded.",
                                      "  check unicode signature: not found.",
                                      "  translate into unicode: succeeded.",
                                      "  apply advanced options: succeeded.",
                                      "  detect tag type: brackets", "  convert tags: bypassed.",
                                      "  encode from unicode: succeeded.",
                                      Generated(Path("dst/_quenlite_a.txt")), kCreated));
  EXPECT_EQ(Read("dst/_quenlite_a.txt"), "ABC");

  log_.lines.clear();
  settings_ = Settings{};
  settings_.SetFormatConversion(true);
  settings_.destination_format = quenlite::FormatDestination::Kra;
  Write("src/b.lrc", "[00:01.50]x\r\n");
  Run(Files({"b.lrc"}));
  EXPECT_THAT(log_.lines, ElementsAre(Processing(Path("src/b.lrc")), "  load file: succeeded.",
                                      "  check unicode signature: not found.",
                                      "  translate into unicode: succeeded.",
                                      "  detect format: lrc", "  convert format: succeeded.",
                                      "  encode from unicode: succeeded.",
                                      Generated(Path("dst/_quenlite_b.kra")), kCreated));
  EXPECT_EQ(Read("dst/_quenlite_b.kra"), "[00:01:50]x\r\n");
}

TEST_F(PipelineTest, DecodingFailuresEndTheFileAndTheBatchGoesOn) {
  Write("src/1-empty.txt", "");
  Write("src/2-signature-only.txt", "\xff\xfe");
  Write("src/3-ok.txt", "ok");
  const BatchSummary summary = Run(Files({"1-empty.txt", "2-signature-only.txt", "3-ok.txt"}));
  std::vector<std::string> expected = {
      Processing(Path("src/1-empty.txt")),
      "  load file: succeeded.",
      "  check unicode signature: not found.",
      "  translate into unicode: failed.",
      Processing(Path("src/2-signature-only.txt")),
      "  load file: succeeded.",
      "  check unicode signature: found.",
      "  translate into unicode: failed.",
  };
  for (const std::string& l : PlainLines(Path("src/3-ok.txt"), Path("dst/_quenlite_3-ok.txt"), kCreated)) {
    expected.push_back(l);
  }
  EXPECT_THAT(log_.lines, ElementsAreArray(expected));
  EXPECT_THAT(Names("dst"), ElementsAre("_quenlite_3-ok.txt"));
  EXPECT_EQ(summary.failed, 2);
  EXPECT_EQ(summary.written, 1);
}

TEST_F(PipelineTest, UnreadableAndVanishedSourcesFailAtLoading) {
  Write("src/keep.txt", "x");
  ASSERT_EQ(::mkfifo(Path("src/fifo.txt").c_str(), 0644), 0);  // would block a plain read
  fs::create_directories(Path("src/folder.txt"));
  const BatchSummary summary = Run(Files({"fifo.txt", "folder.txt", "missing.txt"}));
  EXPECT_THAT(log_.lines,
              ElementsAre(Processing(Path("src/fifo.txt")), "  load file: failed.",
                          Processing(Path("src/folder.txt")), "  load file: failed.",
                          Processing(Path("src/missing.txt")), "  load file: failed."));
  EXPECT_EQ(summary.failed, 3);
  EXPECT_FALSE(Exists("dst"));
}

TEST_F(PipelineTest, FilesVanishingOrAppearingDuringTheBatch) {
  // File mode: a name whose file is gone by the processing pass.
  Write("src/a.txt", "a");
  Write("src/b.txt", "b");
  progress_.on_counted = [this] { fs::remove(Path("src/a.txt")); };
  BatchSummary summary = Run(Files({"a.txt", "b.txt"}));
  EXPECT_THAT(progress_.events, ElementsAre("total 2", "file 1", "file 2"));
  ASSERT_EQ(log_.lines.size(), 9u);
  EXPECT_EQ(log_.lines[0], Processing(Path("src/a.txt")));
  EXPECT_EQ(log_.lines[1], "  load file: failed.");
  EXPECT_EQ(log_.lines[8], kCreated);
  EXPECT_EQ(summary.failed, 1);
  EXPECT_EQ(summary.written, 1);

  // Directory mode: a file listed but removed before its turn fails at loading; a file that
  // appeared after the counting pass is processed without having been counted.
  log_.lines.clear();
  progress_.events.clear();
  Write("src/a.txt", "a");
  Write("src/c.txt", "c");
  progress_.on_counted = [this] { Write("src/d.txt", "d"); };
  progress_.on_started = [this](int n) {
    if (n == 1) fs::remove(Path("src/b.txt"));
  };
  summary = Run(Tree());
  EXPECT_THAT(progress_.events, ElementsAre("total 3", "file 1", "file 2", "file 3", "file 4"));
  EXPECT_EQ(log_.lines[7], Processing(Path("src/b.txt")));
  EXPECT_EQ(log_.lines[8], "  load file: failed.");
  EXPECT_EQ(log_.lines.back(), kCreated);
  EXPECT_EQ(Read("dst/_quenlite_d.txt"), "d");
  EXPECT_EQ(summary.total, 3);
  EXPECT_EQ(summary.processed, 4);
  EXPECT_EQ(summary.failed, 1);
}

TEST_F(PipelineTest, ExistingDestinationsFollowEachChoice) {
  Write("src/a.txt", "new-a");
  Write("src/b.txt", "new-b");
  Write("src/c.txt", "new-c");
  Write("src/d.txt", "new-d");
  Write("dst/_quenlite_a.txt", "old-a");
  Write("dst/_quenlite_b.txt", "old-b");
  Write("dst/_quenlite_c.txt", "old-c");
  Write("dst/_quenlite_d.txt", "old-d");
  Write("dst/taken.txt", "old-taken");
  ::chmod(Path("dst/_quenlite_a.txt").c_str(), 0640);
  question_.answers = {
      Answer(SaveChoice::Overwrite),
      Answer(SaveChoice::Skip),
      Answer(SaveChoice::Rename, false, Path("dst/renamed.txt")),
      // Renamed onto an existing file, which the user agreed to overwrite.
      Answer(SaveChoice::Overwrite, false, Path("dst/taken.txt")),
  };
  const BatchSummary summary = Run(Files({"a.txt", "b.txt", "c.txt", "d.txt"}));

  EXPECT_THAT(question_.asked,
              ElementsAre(Path("dst/_quenlite_a.txt"), Path("dst/_quenlite_b.txt"),
                          Path("dst/_quenlite_c.txt"), Path("dst/_quenlite_d.txt")));
  const std::vector<std::string> saves = {log_.lines[6], log_.lines[13], log_.lines[20],
                                          log_.lines[27]};
  EXPECT_THAT(saves, ElementsAre(kOverwritten, kSkipped, kRenamed, kOverwritten));
  // The log names the generated path; the answer only changes where the bytes go.
  EXPECT_EQ(log_.lines[19], Generated(Path("dst/_quenlite_c.txt")));
  EXPECT_EQ(Read("dst/_quenlite_a.txt"), "new-a");
  EXPECT_EQ(Read("dst/_quenlite_b.txt"), "old-b");
  EXPECT_EQ(Read("dst/_quenlite_c.txt"), "old-c");
  EXPECT_EQ(Read("dst/renamed.txt"), "new-c");
  EXPECT_EQ(Read("dst/_quenlite_d.txt"), "old-d");
  EXPECT_EQ(Read("dst/taken.txt"), "new-d");
  struct stat st {};
  ASSERT_EQ(::stat(Path("dst/_quenlite_a.txt").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // an overwritten file keeps its permissions
  EXPECT_EQ(summary.written, 3);
  EXPECT_EQ(summary.skipped, 1);
  EXPECT_THAT(Names("dst"), ElementsAre("_quenlite_a.txt", "_quenlite_b.txt", "_quenlite_c.txt",
                                        "_quenlite_d.txt", "renamed.txt", "taken.txt"));
}

TEST_F(PipelineTest, ToAllAnswersTheRestOfTheBatchAndIsForgottenAtTheNextStart) {
  for (const char* n : {"a", "b", "c"}) {
    Write(std::string("src/") + n + ".txt", "new");
    Write(std::string("dst/_quenlite_") + n + ".txt", "old");
  }
  question_.answers = {Answer(SaveChoice::Skip, true)};
  Run(Files({"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(question_.asked.size(), 1u);
  EXPECT_EQ(std::count(log_.lines.begin(), log_.lines.end(), kSkipped), 3);

  question_.asked.clear();
  question_.answers = {Answer(SaveChoice::Overwrite), Answer(SaveChoice::Overwrite, true)};
  Run(Files({"a.txt", "b.txt", "c.txt"}));
  EXPECT_EQ(question_.asked.size(), 2u);
  EXPECT_EQ(Read("dst/_quenlite_c.txt"), "new");

  // "To All" never applies to a rename: each file would need its own name.
  Write("dst/_quenlite_a.txt", "old");
  Write("dst/_quenlite_b.txt", "old");
  question_.asked.clear();
  question_.answers = {Answer(SaveChoice::Rename, true, Path("dst/r1.txt")),
                       Answer(SaveChoice::Skip)};
  Run(Files({"a.txt", "b.txt"}));
  EXPECT_EQ(question_.asked.size(), 2u);
  EXPECT_EQ(Read("dst/r1.txt"), "new");
}

TEST_F(PipelineTest, DestinationsThatCannotBeWrittenFailAndLeaveNothingBehind) {
  Write("src/a.txt", "new");
  Write("blocker", "a file where a folder should be");
  // A destination folder below a regular file cannot be created, whoever runs the test.
  Run(Files({"a.txt"}, "blocker/sub/"));
  EXPECT_EQ(log_.lines.back(), kUnknown);
  EXPECT_EQ(Read("blocker"), "a file where a folder should be");

  // A folder standing where the file would go is not replaced.
  log_.lines.clear();
  fs::create_directories(Path("dst/_quenlite_a.txt"));
  question_.answers = {Answer(SaveChoice::Overwrite)};
  Run(Files({"a.txt"}));
  EXPECT_EQ(log_.lines.back(), kUnknown);
  EXPECT_TRUE(fs::is_directory(Path("dst/_quenlite_a.txt")));
  EXPECT_THAT(Names("dst"), ElementsAre("_quenlite_a.txt"));

  // A name entered for Rename gets no folders made for it, and an empty one fails.
  log_.lines.clear();
  fs::remove(Path("dst/_quenlite_a.txt"));
  Write("dst/_quenlite_a.txt", "old");
  question_.answers = {Answer(SaveChoice::Rename, false, Path("dst/none/x.txt")),
                       Answer(SaveChoice::Rename, false, "")};
  Run(Files({"a.txt"}));
  Run(Files({"a.txt"}));
  EXPECT_EQ(log_.lines[6], kUnknown);
  EXPECT_EQ(log_.lines[13], kUnknown);
  EXPECT_FALSE(Exists("dst/none"));
  EXPECT_EQ(Read("dst/_quenlite_a.txt"), "old");
}

TEST_F(PipelineTest, ReadOnlyDestinationsAreNotWritten) {
  if (::geteuid() == 0) {
    GTEST_SKIP() << "running as root: permission bits do not stop root from writing";
  }
  Write("src/a.txt", "new");
  Write("dst/_quenlite_a.txt", "old");
  ::chmod(Path("dst/_quenlite_a.txt").c_str(), 0444);
  question_.answers = {Answer(SaveChoice::Overwrite)};
  Run(Files({"a.txt"}));
  EXPECT_EQ(log_.lines.back(), kUnknown);
  EXPECT_EQ(Read("dst/_quenlite_a.txt"), "old");

  log_.lines.clear();
  fs::create_directories(Path("ro"));
  ::chmod(Path("ro").c_str(), 0555);
  Run(Files({"a.txt"}, "ro/"));
  EXPECT_EQ(log_.lines.back(), kUnknown);
  EXPECT_TRUE(Names("ro").empty());
}

// A write that stops short (here: the file size limit) leaves the old file as it was and no
// partial file anywhere.
TEST_F(PipelineTest, ShortWriteKeepsTheExistingFileAndLeavesNoPartialFile) {
  const std::string big(64 * 1024, 'x');
  Write("src/a.txt", big);
  Write("src/b.txt", big);
  Write("dst/_quenlite_a.txt", "old");
  question_.answers = {Answer(SaveChoice::Overwrite)};

  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 1024;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
  Run(Files({"a.txt", "b.txt"}));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);

  EXPECT_EQ(log_.lines[6], kWriteFailed);
  EXPECT_EQ(log_.lines[13], kWriteFailed);
  EXPECT_EQ(Read("dst/_quenlite_a.txt"), "old");
  EXPECT_THAT(Names("dst"), ElementsAre("_quenlite_a.txt"));
}

TEST_F(PipelineTest, OverwritingThroughALinkReplacesItsTarget) {
  Write("src/a.txt", "new");
  Write("elsewhere/real.txt", "old");
  fs::create_directories(Path("dst"));
  fs::create_symlink(Path("elsewhere/real.txt"), Path("dst/_quenlite_a.txt"));
  question_.answers = {Answer(SaveChoice::Overwrite)};
  Run(Files({"a.txt"}));
  EXPECT_EQ(log_.lines.back(), kOverwritten);
  EXPECT_TRUE(fs::is_symlink(Path("dst/_quenlite_a.txt")));
  EXPECT_EQ(Read("elsewhere/real.txt"), "new");
}

// A file too large for the memory at hand fails at loading; the next file is converted.
TEST_F(PipelineTest, FileTooLargeForMemoryFailsAtLoading) {
  Write("src/b.txt", "b");
  {
    std::ofstream(Path("src/a.txt"));
  }
  fs::resize_file(Path("src/a.txt"), std::uintmax_t{4} << 30);  // sparse: no disk used

  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_AS, &saved), 0);
  struct rlimit limited = saved;
  limited.rlim_cur = std::uintmax_t{2} << 30;
  ASSERT_EQ(::setrlimit(RLIMIT_AS, &limited), 0);
  const BatchSummary summary = Run(Files({"a.txt", "b.txt"}));
  ::setrlimit(RLIMIT_AS, &saved);

  ASSERT_GE(log_.lines.size(), 3u);
  EXPECT_EQ(log_.lines[1], "  load file: failed.");
  EXPECT_EQ(log_.lines[2], Processing(Path("src/b.txt")));
  EXPECT_EQ(log_.lines.back(), kCreated);
  EXPECT_EQ(summary.failed, 1);
}

TEST_F(PipelineTest, FolderWalkIsInNameOrderSkipsDotNamesAndMirrorsSubfolders) {
  Write("src/c.cue", "c");
  Write("src/a.bin", "a");
  Write("src/.hidden.txt", "h");
  Write("src/.svn/entries", "s");
  Write("src/sub/z.txt", "z");
  Write("src/sub/deeper/y.lrc", "y");
  Write("src/b.txt", "b");
  const BatchSummary summary = Run(Tree());

  std::vector<std::string> processed;
  for (const std::string& l : log_.lines) {
    if (l.rfind("prcoessing", 0) == 0) processed.push_back(l);
  }
  EXPECT_THAT(processed,
              ElementsAre(Processing(Path("src/a.bin")), Processing(Path("src/b.txt")),
                          Processing(Path("src/c.cue")), Processing(Path("src/sub/deeper/y.lrc")),
                          Processing(Path("src/sub/z.txt"))));
  EXPECT_EQ(summary.total, 5);
  EXPECT_EQ(Read("dst/sub/deeper/_quenlite_y.lrc"), "y");
  EXPECT_EQ(Read("dst/sub/_quenlite_z.txt"), "z");
  EXPECT_FALSE(Exists("dst/.svn"));

  settings_.recursive_subdirectories = false;
  log_.lines.clear();
  question_.answers = {Answer(SaveChoice::Skip, true)};
  EXPECT_EQ(Run(Tree()).total, 3);
}

TEST_F(PipelineTest, DestinationInsideTheSourceIsNotWalked) {
  Write("src/a.txt", "a");
  Write("src/out/old.txt", "converted before");
  const BatchSummary summary = Run(Tree("src/out/"));
  EXPECT_EQ(summary.total, 1);
  EXPECT_EQ(Read("src/out/_quenlite_a.txt"), "a");
  EXPECT_FALSE(Exists("src/out/out"));
}

TEST_F(PipelineTest, AlbumSplitCreatesTheFolderAndNonUtf8NamesKeepTheirBytes) {
  settings_.split_album_name = true;
  Write("src/(Album) 01.txt", "1");
  Write("src/\x93\xfa.txt", "2");  // a name written by a Shift-JIS system
  Run(Tree());
  EXPECT_EQ(Read("dst/Album/_quenlite_ 01.txt"), "1");
  EXPECT_EQ(Read("dst/_quenlite_\x93\xfa.txt"), "2");
}

}  // namespace
