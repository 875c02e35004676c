#include "converter/core/pipeline.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <utility>
#include <vector>

#include "converter/core/encoding.h"
#include "converter/core/lyric_format.h"
#include "converter/core/tag_conversion.h"
#include "converter/core/text_mapping.h"

namespace quenlite {

namespace {

std::string FsPath(std::u16string_view path) { return ToFileSystemName(path); }

// The folder part of a path: everything before its last separator ("." when there is none).
std::string ParentFolder(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// Creates folder and every missing folder above it. Errors are left to the file creation that
// follows, which then fails.
void MakeFolderChain(const std::string& folder) {
  struct stat st {};
  if (folder.empty() || ::stat(folder.c_str(), &st) == 0) return;
  const std::string parent = ParentFolder(folder);
  if (parent != folder) MakeFolderChain(parent);
  ::mkdir(folder.c_str(), 0777);
}

// The permission bits a newly created file gets under the process's umask. The mask is read
// from /proc, which leaves it untouched for other threads; only where that is missing is it
// read by setting it (and at once back).
mode_t NewFileMode() {
  static const mode_t mode = [] {
    mode_t mask = 022;
    bool found = false;
    if (std::FILE* status = std::fopen("/proc/self/status", "re")) {
      char line[256];
      unsigned value = 0;
      while (std::fgets(line, sizeof line, status) != nullptr) {
        if (std::sscanf(line, "Umask: %o", &value) == 1) {
          mask = static_cast<mode_t>(value);
          found = true;
          break;
        }
      }
      std::fclose(status);
    }
    if (!found) {
      mask = ::umask(0);
      ::umask(mask);
    }
    return static_cast<mode_t>(0666 & ~mask);
  }();
  return mode;
}

// Cuts a text at its first U+0000: the text handed from step to step ends there.
void CutAtNul(std::u16string& text) {
  const std::size_t end = text.find(u'\0');
  if (end != std::u16string::npos) text.resize(end);
}

enum class TempResult { Written, OpenFailed, WriteFailed };

// Writes every byte to fd; false when a write fails or writes nothing (a full disk).
bool WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Writes bytes to a new temporary file in folder. On success temp_path names it; on failure
// nothing is left behind.
TempResult WriteTemporary(const std::string& folder, std::string_view bytes, mode_t mode,
                          std::string& temp_path) {
  temp_path = folder + "/.quenlite-XXXXXX";
  const int fd = ::mkostemp(temp_path.data(), O_CLOEXEC);
  if (fd < 0) return TempResult::OpenFailed;
  bool complete = WriteAll(fd, bytes);
  if (complete && ::fchmod(fd, mode) != 0) complete = false;
  if (::close(fd) != 0) complete = false;
  if (!complete) {
    ::unlink(temp_path.c_str());
    return TempResult::WriteFailed;
  }
  return TempResult::Written;
}

// Creates a file that does not exist yet at path and writes bytes to it, failing when
// something appears at path in the meantime. Nothing existed there, so nothing can be lost:
// the file is written in place (no temporary file and rename, which cost as much as the
// conversion itself for small files) and removed again when the write fails.
TempResult WriteNewFile(const std::string& path, std::string_view bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, 0666);
  if (fd < 0) return TempResult::OpenFailed;
  const bool complete = WriteAll(fd, bytes);
  if (::close(fd) != 0 || !complete) {
    ::unlink(path.c_str());
    return TempResult::WriteFailed;
  }
  return TempResult::Written;
}

}  // namespace

std::u16string_view SaveOutcomeLine(SaveOutcome outcome) {
  switch (outcome) {
    case SaveOutcome::CreatedNew: return u"  save dest. file: succeeded. (create new)";
    case SaveOutcome::OverwroteExisting: return u"  save dest. file: succeeded. (overwrite exist)";
    case SaveOutcome::Skipped: return u"  save dest. file: skipped.";
    case SaveOutcome::Renamed: return u"  save dest. file: succeeded. (renamed)";
    case SaveOutcome::WriteFailed: return u"  save dest. file: failed. (write)";
    case SaveOutcome::OpenFailed: break;
  }
  return u"  save dest. file: failed. (unknown)";
}

bool PathExists(std::u16string_view path) {
  struct stat st {};
  return ::lstat(FsPath(path).c_str(), &st) == 0;
}

std::optional<std::string> LoadFile(std::u16string_view path) {
  // Non-blocking, so that a FIFO or device in the source cannot stall the batch; only regular
  // files are read.
  const int fd = ::open(FsPath(path).c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) return std::nullopt;
  std::optional<std::string> result;
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) try {
    std::string bytes(static_cast<std::size_t>(st.st_size), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
      const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += static_cast<std::size_t>(n);
    }
    if (done == bytes.size()) result = std::move(bytes);
  } catch (const std::bad_alloc&) {
    // too large to hold: not loaded
  }
  ::close(fd);
  return result;
}

Batch::Batch(const Settings& settings, const Selection& selection, StatusLog& log,
             SaveQuestion& question, BatchProgress* progress)
    : settings_(settings),
      selection_(selection),
      log_(log),
      question_(question),
      progress_(progress) {}

BatchSummary Batch::Run() {
  to_all_ = false;
  summary_ = BatchSummary{};

  counting_ = true;
  if (settings_.source_mode == SourceMode::Files) {
    summary_.total = static_cast<int>(selection_.source_names.size());
  } else {
    WalkFolder(selection_.source_folder);
  }
  if (progress_ != nullptr) progress_->OnCounted(summary_.total);

  counting_ = false;
  if (settings_.source_mode == SourceMode::Files) {
    for (const std::u16string& name : selection_.source_names) {
      ProcessFile(name, selection_.source_folder);
    }
  } else {
    WalkFolder(selection_.source_folder);
  }
  return summary_;
}

void Batch::WalkFolder(const std::u16string& folder) {
  const std::string fs_folder = FsPath(folder);
  DIR* dir = ::opendir(fs_folder.empty() ? "." : fs_folder.c_str());
  if (dir == nullptr) return;
  struct stat self {};
  const bool have_self = ::fstat(::dirfd(dir), &self) == 0;
  if (have_self) walking_.emplace_back(self.st_dev, self.st_ino);

  // The destination folder, when it lies inside the source, holds this batch's own output;
  // it is not walked, so that converted files are not converted again.
  struct stat destination {};
  const bool have_destination =
      !selection_.destination_folder.empty() &&
      ::stat(FsPath(selection_.destination_folder).c_str(), &destination) == 0;

  std::vector<std::string> names;
  while (const dirent* entry = ::readdir(dir)) {
    if (entry->d_name[0] == '.') continue;
    names.emplace_back(entry->d_name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());

  for (const std::string& fs_name : names) {
    const std::string fs_path = fs_folder + fs_name;
    struct stat st {};
    const bool known = ::stat(fs_path.c_str(), &st) == 0;
    const std::u16string name = FromFileSystemName(fs_name);
    if (known && S_ISDIR(st.st_mode)) {
      if (!settings_.recursive_subdirectories) continue;
      const std::pair<std::uint64_t, std::uint64_t> id(st.st_dev, st.st_ino);
      if (std::find(walking_.begin(), walking_.end(), id) != walking_.end()) continue;
      if (have_destination && st.st_dev == destination.st_dev &&
          st.st_ino == destination.st_ino) {
        continue;
      }
      WalkFolder(folder + name + kPathSeparator);
      continue;
    }
    if (counting_) {
      ++summary_.total;
    } else {
      ProcessFile(name, folder);
    }
  }
  if (have_self) walking_.pop_back();
}

void Batch::ProcessFile(std::u16string_view name, std::u16string_view folder) {
  ++summary_.processed;
  if (progress_ != nullptr) progress_->OnFileStarted(summary_.processed);

  std::u16string path(folder);
  path += name;
  log_.LogStatus(u"prcoessing \"" + path + u"\".");

  // The failure line of the step under way: a file too large for memory fails that step
  // like any other failure, and the batch goes on.
  std::u16string_view failure = u"  load file: failed.";
  try {
    if (!ProcessSteps(path, name, folder, failure)) {
      log_.LogStatus(failure);
      ++summary_.failed;
    }
  } catch (const std::bad_alloc&) {
    log_.LogStatus(failure);
    ++summary_.failed;
  }
}

bool Batch::ProcessSteps(const std::u16string& path, std::u16string_view name,
                         std::u16string_view folder, std::u16string_view& failure) {
  std::optional<std::string> bytes = LoadFile(path);
  if (!bytes) return false;
  log_.LogStatus(u"  load file: succeeded.");

  failure = u"  translate into unicode: failed.";
  EncodingSettings encoding;
  encoding.source_code_page = settings_.source_code_page;
  encoding.dest_code_page = settings_.destination_code_page;
  encoding.force_unicode_check = settings_.force_unicode_check;
  std::optional<std::u16string> decoded = DecodeSource(*bytes, encoding, log_);
  bytes.reset();  // the file's bytes are not needed once decoded
  if (!decoded) return false;
  log_.LogStatus(u"  translate into unicode: succeeded.");
  std::u16string text = std::move(*decoded);
  decoded.reset();

  if (settings_.advanced.Active()) {
    failure = u"  apply advanced options: failed.";
    if (!locale_) locale_ = MappingLocale::FromUser(common::AnsiCodePage());
    StepResult result = ApplyAdvancedOptions(std::move(text), settings_.advanced, *locale_);
    if (result.outcome == StepOutcome::Failed) return false;
    log_.LogStatus(u"  apply advanced options: succeeded.");
    text = std::move(result.text);
    CutAtNul(text);
  }

  if (settings_.tag_type_conversion) {
    failure = u"  convert tags: failed.";
    TagConversionOptions options;
    options.source = settings_.source_tag_type;
    options.destination = settings_.destination_tag_type;
    options.add_br = settings_.add_break_at_line_ends;
    StepResult result = ConvertTags(std::move(text), options, log_);
    if (result.outcome == StepOutcome::Failed) return false;
    log_.LogStatus(result.outcome == StepOutcome::Bypassed ? u"  convert tags: bypassed."
                                                           : u"  convert tags: succeeded.");
    text = std::move(result.text);
    CutAtNul(text);
  }

  if (settings_.format_conversion) {
    failure = u"  convert format: failed.";
    FormatConversionOptions options;
    options.source = settings_.source_format;
    options.destination = settings_.destination_format;
    StepResult result = ConvertFormat(std::move(text), options, log_);
    if (result.outcome == StepOutcome::Failed) return false;
    log_.LogStatus(result.outcome == StepOutcome::Bypassed ? u"  convert format: bypassed."
                                                           : u"  convert format: succeeded.");
    text = std::move(result.text);
    CutAtNul(text);
  }

  failure = u"  encode from unicode: failed.";
  std::optional<std::string> encoded = EncodeDestination(text, settings_.destination_code_page);
  text = std::u16string();  // released once encoded
  if (!encoded) return false;
  log_.LogStatus(u"  encode from unicode: succeeded.");

  failure = u"  generate dest. filename: failed.";
  std::optional<std::u16string> destination = MakeDestPath(settings_, selection_, folder, name);
  if (!destination) return false;
  log_.LogStatus(u"  generate dest. filename: \"" + *destination + u"\", succeeded.");

  failure = SaveOutcomeLine(SaveOutcome::OpenFailed);
  const SaveOutcome outcome = SaveFile(*destination, *encoded);
  switch (outcome) {
    case SaveOutcome::CreatedNew:
    case SaveOutcome::OverwroteExisting:
    case SaveOutcome::Renamed: ++summary_.written; break;
    case SaveOutcome::Skipped: ++summary_.skipped; break;
    case SaveOutcome::WriteFailed:
    case SaveOutcome::OpenFailed: failure = SaveOutcomeLine(outcome); return false;
  }
  log_.LogStatus(SaveOutcomeLine(outcome));
  return true;
}

SaveOutcome Batch::SaveFile(std::u16string& path, std::string_view bytes) {
  std::string fs_path = FsPath(path);
  struct stat existing {};
  if (::lstat(fs_path.c_str(), &existing) != 0) {
    // Nothing there yet: make the folders on the way, then create the file, failing if
    // something appears at the path in the meantime.
    MakeFolderChain(ParentFolder(fs_path));
    switch (WriteNewFile(fs_path, bytes)) {
      case TempResult::OpenFailed: return SaveOutcome::OpenFailed;
      case TempResult::WriteFailed: return SaveOutcome::WriteFailed;
      case TempResult::Written: break;
    }
    return SaveOutcome::CreatedNew;
  }

  // Something exists: the standing "To All" choice, or the question, decides.
  if (!to_all_) {
    SaveAnswer answer = question_.AskExisting(path);
    save_choice_ = answer.choice;
    // A choice for all is only ever Overwrite or Skip.
    if (answer.to_all && answer.choice != SaveChoice::Rename) to_all_ = true;
    // Rename always names the new path (an empty one fails below); Overwrite may name one.
    if (answer.choice == SaveChoice::Rename ||
        (answer.choice == SaveChoice::Overwrite && !answer.new_path.empty())) {
      path = std::move(answer.new_path);
      fs_path = FsPath(path);
    }
  }
  if (save_choice_ == SaveChoice::Skip) return SaveOutcome::Skipped;
  if (path.empty()) return SaveOutcome::OpenFailed;

  // Replace (or, for a new name, create) the file at path. No folder is made for a name given
  // in answer to the question. A file that may not be written stays as it is.
  mode_t mode = NewFileMode();
  if (::lstat(fs_path.c_str(), &existing) == 0 && S_ISLNK(existing.st_mode)) {
    // Overwriting through a link replaces the file it points to and keeps the link.
    if (char* target = ::realpath(fs_path.c_str(), nullptr)) {
      fs_path = target;
      std::free(target);
    }
  }
  if (::lstat(fs_path.c_str(), &existing) == 0) {
    if (S_ISDIR(existing.st_mode)) return SaveOutcome::OpenFailed;
    if (S_ISREG(existing.st_mode)) {
      if (::access(fs_path.c_str(), W_OK) != 0) return SaveOutcome::OpenFailed;
      mode = existing.st_mode & 07777;
    }
  }
  std::string temp;
  switch (WriteTemporary(ParentFolder(fs_path), bytes, mode, temp)) {
    case TempResult::OpenFailed: return SaveOutcome::OpenFailed;
    case TempResult::WriteFailed: return SaveOutcome::WriteFailed;
    case TempResult::Written: break;
  }
  if (::rename(temp.c_str(), fs_path.c_str()) != 0) {
    ::unlink(temp.c_str());
    return SaveOutcome::OpenFailed;
  }
  return save_choice_ == SaveChoice::Rename ? SaveOutcome::Renamed
                                            : SaveOutcome::OverwroteExisting;
}

BatchSummary RunBatch(const Settings& settings, const Selection& selection, StatusLog& log,
                      SaveQuestion& question, BatchProgress* progress) {
  Batch batch(settings, selection, log, question, progress);
  return batch.Run();
}

}  // namespace quenlite
