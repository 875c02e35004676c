#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "converter/cli/options.h"
#include "converter/core/pipeline.h"

namespace {

using quenlite::cli::CliOptions;
using quenlite::cli::ExistsPolicy;

std::string Utf8(std::u16string_view text) { return quenlite::ToFileSystemName(text); }

// A one-line progress bar on standard error, redrawn in place.
class ProgressBar : public quenlite::BatchProgress {
 public:
  explicit ProgressBar(bool enabled) : enabled_(enabled) {}

  void OnCounted(int total) override {
    total_ = total;
    Draw(0);
  }
  void OnFileStarted(int processed) override { Draw(processed); }

  // Removes the bar so that another line can be written in its place.
  void Clear() {
    if (!enabled_ || !shown_) return;
    std::fputs("\r\033[K", stderr);
    std::fflush(stderr);
    shown_ = false;
  }
  void Redraw() { Draw(last_); }
  void Finish() {
    if (enabled_ && shown_) std::fputc('\n', stderr);
    shown_ = false;
  }

 private:
  void Draw(int processed) {
    last_ = processed;
    if (!enabled_) return;
    constexpr int kWidth = 40;
    const int shown = processed > total_ ? total_ : processed;
    const int filled = total_ > 0 ? shown * kWidth / total_ : 0;
    std::string bar(static_cast<std::size_t>(filled), '#');
    bar.append(static_cast<std::size_t>(kWidth - filled), ' ');
    std::fprintf(stderr, "\r[%s] %d/%d", bar.c_str(), processed, total_);
    std::fflush(stderr);
    shown_ = true;
  }

  bool enabled_;
  bool shown_ = false;
  int total_ = 0;
  int last_ = 0;
};

// Prints each status line on standard output, clearing the progress bar first when both go
// to the same terminal.
class PrintedLog : public quenlite::StatusLog {
 public:
  PrintedLog(bool quiet, ProgressBar& bar, bool shares_terminal)
      : quiet_(quiet), bar_(bar), shares_terminal_(shares_terminal) {}

  void LogStatus(std::u16string_view line) override {
    if (quiet_) return;
    if (shares_terminal_) bar_.Clear();
    const std::string text = Utf8(line) + '\n';
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (shares_terminal_) {
      std::fflush(stdout);
      bar_.Redraw();
    }
  }

 private:
  bool quiet_;
  ProgressBar& bar_;
  bool shares_terminal_;
};

// "NAME (2).EXT", "NAME (3).EXT", ...: the first that is free.
std::u16string FirstFreeName(std::u16string_view path) {
  const std::size_t slash = path.find_last_of(u'/');
  const std::size_t name_start = slash == std::u16string_view::npos ? 0 : slash + 1;
  std::size_t dot = path.find_last_of(u'.');
  if (dot == std::u16string_view::npos || dot <= name_start) dot = path.size();
  const std::u16string_view stem = path.substr(0, dot);
  const std::u16string_view extension = path.substr(dot);
  for (unsigned n = 2;; ++n) {
    std::u16string candidate(stem);
    for (char c : " (" + std::to_string(n) + ")") candidate.push_back(static_cast<char16_t>(c));
    candidate += extension;
    if (!quenlite::PathExists(candidate)) return candidate;
  }
}

// Answers the question about an existing destination from the --exists policy; "ask" reads
// the answer from standard input, prompting on standard error.
class CliSaveQuestion : public quenlite::SaveQuestion {
 public:
  CliSaveQuestion(ExistsPolicy policy, ProgressBar& bar) : policy_(policy), bar_(bar) {}

  quenlite::SaveAnswer AskExisting(std::u16string_view pending_path) override {
    quenlite::SaveAnswer answer;
    switch (policy_) {
      case ExistsPolicy::Overwrite: answer.choice = quenlite::SaveChoice::Overwrite; break;
      case ExistsPolicy::Skip: answer.choice = quenlite::SaveChoice::Skip; break;
      case ExistsPolicy::Rename:
        answer.choice = quenlite::SaveChoice::Rename;
        answer.new_path = FirstFreeName(pending_path);
        break;
      case ExistsPolicy::Ask:
        bar_.Clear();
        answer = Ask(pending_path);
        bar_.Redraw();
        break;
    }
    return answer;
  }

 private:
  static bool ReadLine(std::string& line) {
    std::fflush(stderr);
    return static_cast<bool>(std::getline(std::cin, line));
  }

  static quenlite::SaveAnswer Ask(std::u16string_view pending_path) {
    quenlite::SaveAnswer answer;
    std::fprintf(stderr, "\"%s\"\nFile already exists. Do you want to\n",
                 Utf8(pending_path).c_str());
    for (;;) {
      std::fputs(
          "  [o] Overwrite  [s] Skip  [r] Rename  [O] Overwrite all  [S] Skip all: ", stderr);
      std::string line;
      if (!ReadLine(line)) {  // no more answers: leave the file alone
        std::fputs("\n", stderr);
        return answer;
      }
      if (line == "o" || line == "O") {
        answer.choice = quenlite::SaveChoice::Overwrite;
        answer.to_all = line == "O";
        return answer;
      }
      if (line == "s" || line == "S") {
        answer.choice = quenlite::SaveChoice::Skip;
        answer.to_all = line == "S";
        return answer;
      }
      if (line != "r") continue;
      for (;;) {
        std::fputs("Please enter new filename.\n> ", stderr);
        if (!ReadLine(line)) {
          std::fputs("\n", stderr);
          return answer;
        }
        const std::u16string path = quenlite::FromFileSystemName(line);
        if (!path.empty() && quenlite::PathExists(path)) {
          std::fputs("Do you want to overwrite? [y/n] ", stderr);
          std::string yes;
          if (!ReadLine(yes)) return answer;
          if (yes != "y" && yes != "Y") continue;
          answer.choice = quenlite::SaveChoice::Overwrite;
        } else {
          answer.choice = quenlite::SaveChoice::Rename;
        }
        answer.new_path = path;
        return answer;
      }
    }
  }

  ExistsPolicy policy_;
  ProgressBar& bar_;
};

// Each file is held whole, several times over (its bytes, its text, its encoding), and every
// page of those buffers is touched once. Where the system hands out transparent huge pages
// only on request, asking the allocator for them cuts the page-fault time of large files
// several-fold. The allocator reads this setting at start-up only, so the program starts
// itself once more with it; when that is not possible it simply goes on.
void RequestHugePages(char** argv) {
  const char* tunables = std::getenv("GLIBC_TUNABLES");
  if (tunables != nullptr && std::strstr(tunables, "glibc.malloc.hugetlb") != nullptr) return;
  std::string value = "glibc.malloc.hugetlb=1";
  if (tunables != nullptr && *tunables != '\0') value = std::string(tunables) + ":" + value;
  if (::setenv("GLIBC_TUNABLES", value.c_str(), 1) != 0) return;
  ::execv("/proc/self/exe", argv);
}

}  // namespace

int main(int argc, char** argv) {
  RequestHugePages(argv);
  // A file size limit makes the write fail (logged as a failed write, the old file kept)
  // instead of ending the whole batch halfway through a file.
  std::signal(SIGXFSZ, SIG_IGN);
  std::vector<std::string> args(argv + 1, argv + argc);
  CliOptions options;
  std::string error;
  if (!ParseCommandLine(args, common::AnsiCodePage(), options, error)) {
    std::fprintf(stderr, "quenlite-cli: %s\n", error.c_str());
    std::fputs("Try 'quenlite-cli --help'.\n", stderr);
    return 2;
  }
  if (options.help) {
    std::fputs(quenlite::cli::UsageText(), stdout);
    return 0;
  }
  if (options.list_code_pages) {
    for (const common::CodePageInfo& info : common::InstalledCodePages()) {
      std::puts(Utf8(info.display_name).c_str());
    }
    return 0;
  }

  const bool stdin_terminal = ::isatty(STDIN_FILENO) != 0;
  const bool stderr_terminal = ::isatty(STDERR_FILENO) != 0;
  const bool stdout_terminal = ::isatty(STDOUT_FILENO) != 0;
  if (!options.exists_given) {
    options.exists =
        stdin_terminal && stderr_terminal ? ExistsPolicy::Ask : ExistsPolicy::Skip;
  }

  ProgressBar bar(stderr_terminal);
  PrintedLog log(options.quiet, bar, stdout_terminal && stderr_terminal);
  CliSaveQuestion question(options.exists, bar);
  const quenlite::BatchSummary summary =
      quenlite::RunBatch(options.settings, options.selection, log, question, &bar);
  bar.Finish();
  std::fflush(stdout);
  return summary.failed == 0 ? 0 : 1;
}
