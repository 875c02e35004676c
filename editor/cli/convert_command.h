#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "common/codepages.h"
#include "editor/core/ruby_list.h"

namespace orvi::cli {

// Exit codes of the commands.
inline constexpr int kExitOk = 0;
inline constexpr int kExitInputError = 1;  // input unreadable or undecodable, output unwritable
inline constexpr int kExitUsage = 2;

enum class InputDialect { Auto, Html, Bbs, Brackets };
enum class OutputDialect { Html, Bbs, Brackets, Verify };

// The options shared by the commands that import markup and write markup.
struct ConvertOptions {
  InputDialect from = InputDialect::Auto;
  OutputDialect to = OutputDialect::Brackets;
  bool plain = false;  // styles disabled
  bool css = false;    // Use CSS (HTML only)
  bool no_br = false;  // Add <br> cleared
  common::CodePage code_page = common::kCodePageUtf8;
  std::string output_path;  // empty: standard output
  std::string input_path;   // empty: standard input
  bool help = false;
};

// A command's own option. Called with the arguments and the index of one that the shared
// options do not know; answers how many arguments it takes (at least 1), 0 when it is not
// the command's either, or -1 after putting a message into error.
using ExtraOptionParser =
    std::function<int(const std::vector<std::string>& args, std::size_t index, std::string& error)>;

// Parses the arguments that follow the command name. Answers false with a message for a usage
// error. --help sets options.help and stops.
bool ParseConvertOptions(const std::vector<std::string>& args, ConvertOptions& options,
                         std::string& error, const ExtraOptionParser& extra = {});

// Reads the input file (or standard input) whole and decodes it: UTF-16 when it starts with a
// signature (FF FE or FE FF, which is dropped), otherwise in options.code_page (a UTF-8
// signature is dropped). Line ends come out as CR LF. Answers false with a message when the
// input cannot be read or decoded, or holds a NUL character.
bool ReadInputText(const ConvertOptions& options, std::u16string& text, std::string& error);

// Every line end (CR LF, CR or LF) as CR LF.
std::u16string NormaliseLineEnds(std::u16string_view text);

// Takes the markup out of text in the chosen dialect (Auto: detected as the editor's import
// does), filling list; answers the plain text.
std::u16string ImportMarkup(std::u16string_view text, InputDialect from, RubyList& list);

// The text and its annotations in the chosen output dialect, with the Export dialog's defaults
// for that tag type as changed by --plain, --css and --no-br; or the verify text.
std::u16string ExportMarkup(std::u16string_view text, const RubyList& list,
                            const ConvertOptions& options);

// Writes the result: UTF-8 on standard output, or with an output path the file that the Export
// dialog saves (FF FE, then UTF-16LE). A file is written beside its destination and then moved
// over it, so a failed write leaves an existing file untouched. Answers false with a message.
bool WriteOutput(const ConvertOptions& options, std::u16string_view output, std::string& error);

// The usage text of convert.
extern const char* const kConvertUsage;

// orvi-cli convert: args are the arguments after the command name.
int RunConvert(const std::vector<std::string>& args);

}  // namespace orvi::cli
