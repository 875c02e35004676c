#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "converter/core/naming.h"
#include "converter/core/settings.h"
#include "converter/core/status_log.h"

namespace quenlite {

// The result of writing one destination file; the numbers are those of the log's outcomes.
enum class SaveOutcome : int {
  CreatedNew = 0,
  OverwroteExisting = 1,
  Skipped = 2,
  Renamed = 3,
  WriteFailed = 10,
  OpenFailed = -1,
};

// The status line of an outcome, with its two leading blanks.
std::u16string_view SaveOutcomeLine(SaveOutcome outcome);

// What the Save dialog settles for a destination that exists.
enum class SaveChoice : int { Overwrite, Skip, Rename };

struct SaveAnswer {
  SaveChoice choice = SaveChoice::Skip;
  // "To All": apply this choice to every later existing destination of the batch without
  // asking. Only Overwrite and Skip can be chosen for all; it is ignored with Rename.
  bool to_all = false;
  // With Rename: the new full path. With Overwrite: empty to overwrite the pending path, or a
  // new path whose existing file the user agreed to overwrite.
  std::u16string new_path;
};

// Asks what to do with a destination that exists. The window shows its Save dialog; the
// command-line program answers from its option or asks on the terminal.
class SaveQuestion {
 public:
  virtual ~SaveQuestion() = default;
  virtual SaveAnswer AskExisting(std::u16string_view pending_path) = 0;
};

// Follows a batch: the number of files found by the counting pass, then one call per file
// before it is read (processed counts from 1).
class BatchProgress {
 public:
  virtual ~BatchProgress() = default;
  virtual void OnCounted(int total) = 0;
  virtual void OnFileStarted(int processed) = 0;
};

// What a batch did, for callers that need a verdict (the command-line program's exit status).
struct BatchSummary {
  int total = 0;      // counted before processing
  int processed = 0;  // handed to ProcessFile
  int written = 0;    // created, overwritten or renamed
  int skipped = 0;    // skipped by choice
  int failed = 0;     // given up at a step, or the save failed
};

// One batch: the walk over the source, the chain of steps for each file and the writing of
// the destination, with every step's status line. Failures are log lines; the batch goes on.
class Batch {
 public:
  Batch(const Settings& settings, const Selection& selection, StatusLog& log,
        SaveQuestion& question, BatchProgress* progress = nullptr);

  // The counting pass, then the processing pass.
  BatchSummary Run();

  // Visits the files of folder (ending with "/") in name order, skipping names that begin
  // with "."; subfolders depth first while recursion is on.
  void WalkFolder(const std::u16string& folder);

  // Converts one file and logs each step.
  void ProcessFile(std::u16string_view name, std::u16string_view folder);

  // Writes bytes to path. When something exists there, the Save question (or a standing "To
  // All" choice) decides; path comes back as the path actually used. The file is replaced
  // only once every byte is written: a failure leaves what was there before and nothing else.
  SaveOutcome SaveFile(std::u16string& path, std::string_view bytes);

  const BatchSummary& summary() const { return summary_; }

 private:
  // The steps of ProcessFile after its first line. False when a step failed; failure then
  // holds that step's line.
  bool ProcessSteps(const std::u16string& path, std::u16string_view name,
                    std::u16string_view folder, std::u16string_view& failure);

  const Settings& settings_;
  const Selection& selection_;
  StatusLog& log_;
  SaveQuestion& question_;
  BatchProgress* progress_;
  bool counting_ = false;
  bool to_all_ = false;
  SaveChoice save_choice_ = SaveChoice::Skip;
  BatchSummary summary_;
  std::optional<MappingLocale> locale_;  // looked up when the advanced options first run
  // The folders on the way down the walk (device, inode), so that a link back up cannot loop.
  std::vector<std::pair<std::uint64_t, std::uint64_t>> walking_;
};

// The Start command: runs one batch over the selection.
BatchSummary RunBatch(const Settings& settings, const Selection& selection, StatusLog& log,
                      SaveQuestion& question, BatchProgress* progress = nullptr);

// Reads a whole file. Nothing when it cannot be opened or read in full.
std::optional<std::string> LoadFile(std::u16string_view path);

// Whether anything (file, folder or other) exists at path.
bool PathExists(std::u16string_view path);

}  // namespace quenlite
