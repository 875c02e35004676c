#include "converter/cli/options.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <optional>
#include <string_view>

namespace quenlite::cli {

namespace {

constexpr const char kUsage[] =
    "usage: quenlite-cli [options] SOURCE...        (files, or exactly one folder)\n"
    "\n"
    "Converts lyric files: reads each file whole, decodes it from the source code page (or by\n"
    "its UTF-16 signature), optionally maps its characters, converts its ruby tags or its lyric\n"
    "format, encodes it in the destination code page and writes it under a generated name.\n"
    "Several source files must lie in one folder. A single folder converts every file in it\n"
    "(and in its subfolders) whatever its extension; names beginning with \".\" are skipped.\n"
    "Files are taken in name order.\n"
    "\n"
    "  -d, --dest PATH          destination folder; with one source file, a path that is not an\n"
    "                           existing folder and does not end in \"/\" names the destination\n"
    "                           file. Default in file mode: the source file's folder. Required in\n"
    "                           directory mode, where the subfolders are mirrored below PATH.\n"
    "  --no-recursive           directory mode: ignore subfolders\n"
    "  --from-cp CP, --to-cp CP code pages (default 932 and 936): a number of the list, or utf-8,\n"
    "                           utf-16le, utf-16be, shift_jis, gbk, big5\n"
    "  --no-content-conversion  both code pages become the ANSI code page (that of the user's\n"
    "                           locale); --from-cp and --to-cp may then be given only together\n"
    "                           with --convert-file-names, and apply to the content as well\n"
    "  --convert-file-names     re-encode destination names (out through the destination code\n"
    "                           page, back in through the source code page)\n"
    "  --format-from auto|kra|lrc, --format-to plain|kra|lrc   (--format-to turns format\n"
    "                           conversion on; destination names ending in .txt, .kra or .lrc\n"
    "                           take the extension of the destination format)\n"
    "  --tags-from auto|html|bbs|brackets, --tags-to none|html|bbs|brackets   (--tags-to turns\n"
    "                           tag conversion on; --format-to and --tags-to exclude each other)\n"
    "  --no-br                  no \"<br>\" at line ends for HTML\n"
    "  --split-album            a name beginning with a parenthesised album name, as in\n"
    "                           \"(Album) 01 Title.txt\", is written into the folder \"Album\"\n"
    "  --no-rename              no \"_quenlite_\" in front of destination names\n"
    "  --no-unicode-check       do not recognise UTF-16 by its signature\n"
    "  --upper | --lower, --traditional | --simplified, --katakana | --hiragana\n"
    "                           map letter case, Chinese characters or kana (in this order)\n"
    "  --exists ask|overwrite|skip|rename   when a destination exists (default: ask on a\n"
    "                           terminal, else skip); rename picks the first free\n"
    "                           \"NAME (2).EXT\", \"NAME (3).EXT\", ...; ask takes o (overwrite),\n"
    "                           s (skip), r (rename, then the new path), O or S (overwrite or\n"
    "                           skip this and every later one), from standard input also when\n"
    "                           that is not a terminal\n"
    "  -q, --quiet              no status log\n"
    "  --list-code-pages        print the code page list, one display name per line\n"
    "  --help                   print this text\n"
    "\n"
    "Without -q the status log is printed on standard output, one line per step; on a\n"
    "terminal a progress bar is drawn on standard error. Every file is written through a\n"
    "temporary file in its destination folder: a failed write leaves an existing file as it\n"
    "was.\n"
    "\n"
    "Exit status: 0 when every file was written or skipped by choice, 1 when any file failed,\n"
    "2 for a usage error.\n";

bool IsFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Lower(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::optional<common::CodePage> ParseCodePage(std::string_view value) {
  const std::string key = Lower(value);
  struct Named {
    const char* name;
    common::CodePage cp;
  };
  static constexpr Named kNames[] = {
      {"utf-8", 65001}, {"utf-16le", 1200}, {"utf-16be", 1201},
      {"shift_jis", 932}, {"gbk", 936},      {"big5", 950},
  };
  for (const Named& n : kNames) {
    if (key == n.name) return n.cp;
  }
  if (key.empty() || key.size() > 9 ||
      !std::all_of(key.begin(), key.end(), [](unsigned char c) { return std::isdigit(c); })) {
    return std::nullopt;
  }
  const auto cp = static_cast<common::CodePage>(std::strtoul(key.c_str(), nullptr, 10));
  if (!common::IsCodePageAvailable(cp)) return std::nullopt;
  return cp;
}

// Splits a path into its folder (ending with "/", "./" when the path has none) and its name.
void SplitPath(const std::string& path, std::string& folder, std::string& name) {
  const std::size_t slash = path.find_last_of('/');
  if (slash == std::string::npos) {
    folder = "./";
    name = path;
  } else {
    folder = path.substr(0, slash + 1);
    name = path.substr(slash + 1);
  }
}

std::string AsFolder(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

}  // namespace

const char* UsageText() { return kUsage; }

bool ParseCommandLine(const std::vector<std::string>& args, common::CodePage ansi_code_page,
                      CliOptions& options, std::string& error) {
  Settings& s = options.settings;
  std::vector<std::string> sources;
  std::optional<std::string> dest;
  std::optional<common::CodePage> from_cp;
  std::optional<common::CodePage> to_cp;
  bool no_content = false;
  bool format_to = false;
  bool tags_to = false;
  // Each pair of mappings allows one of its two flags.
  const char* case_flag = nullptr;
  const char* chinese_flag = nullptr;
  const char* kana_flag = nullptr;

  bool options_end = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    if (options_end || arg.empty() || arg[0] != '-' || arg == "-") {
      sources.push_back(arg);
      continue;
    }
    if (arg == "--") {
      options_end = true;
      continue;
    }
    // "--name=value" is accepted for every option that takes a value.
    std::optional<std::string> inline_value;
    if (arg.rfind("--", 0) == 0) {
      const std::size_t eq = arg.find('=');
      if (eq != std::string::npos) {
        inline_value = arg.substr(eq + 1);
        arg.resize(eq);
      }
    }
    auto value = [&](std::string& out) {
      if (inline_value) {
        out = *inline_value;
        return true;
      }
      if (i + 1 >= args.size()) {
        error = "option " + arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    auto flag = [&]() {
      if (inline_value) {
        error = "option " + arg + " takes no value";
        return false;
      }
      return true;
    };
    auto pair = [&](const char*& slot, const char* name) {
      if (slot != nullptr && std::string_view(slot) != name) {
        error = std::string("options ") + slot + " and " + name + " exclude each other";
        return false;
      }
      slot = name;
      return true;
    };
    std::string v;

    if (arg == "--help" || arg == "-h") {
      if (!flag()) return false;
      options.help = true;
    } else if (arg == "-d" || arg == "--dest") {
      if (!value(v)) return false;
      if (v.empty()) {
        error = "empty destination";
        return false;
      }
      dest = v;
    } else if (arg == "--no-recursive") {
      if (!flag()) return false;
      s.recursive_subdirectories = false;
    } else if (arg == "--from-cp" || arg == "--to-cp") {
      if (!value(v)) return false;
      const std::optional<common::CodePage> cp = ParseCodePage(v);
      if (!cp) {
        error = "unknown code page \"" + v + "\" (see --list-code-pages)";
        return false;
      }
      (arg == "--from-cp" ? from_cp : to_cp) = cp;
    } else if (arg == "--no-content-conversion") {
      if (!flag()) return false;
      no_content = true;
    } else if (arg == "--convert-file-names") {
      if (!flag()) return false;
      s.encoding_conversion_with_file_name = true;
    } else if (arg == "--format-from") {
      if (!value(v)) return false;
      if (v == "auto") {
        s.source_format = FormatSource::AutoDetect;
      } else if (v == "kra") {
        s.source_format = FormatSource::Kra;
      } else if (v == "lrc") {
        s.source_format = FormatSource::Lrc;
      } else {
        error = "--format-from takes auto, kra or lrc";
        return false;
      }
    } else if (arg == "--format-to") {
      if (!value(v)) return false;
      if (v == "plain") {
        s.destination_format = FormatDestination::PlainText;
      } else if (v == "kra") {
        s.destination_format = FormatDestination::Kra;
      } else if (v == "lrc") {
        s.destination_format = FormatDestination::Lrc;
      } else {
        error = "--format-to takes plain, kra or lrc";
        return false;
      }
      format_to = true;
    } else if (arg == "--tags-from" || arg == "--tags-to") {
      if (!value(v)) return false;
      const bool to = arg == "--tags-to";
      common::ConverterTagType type;
      if (v == (to ? "none" : "auto")) {
        type = common::ConverterTagType::AutoOrNone;
      } else if (v == "html") {
        type = common::ConverterTagType::Html;
      } else if (v == "bbs") {
        type = common::ConverterTagType::Bbs;
      } else if (v == "brackets") {
        type = common::ConverterTagType::Brackets;
      } else {
        error = to ? "--tags-to takes none, html, bbs or brackets"
                   : "--tags-from takes auto, html, bbs or brackets";
        return false;
      }
      if (to) {
        s.destination_tag_type = type;
        tags_to = true;
      } else {
        s.source_tag_type = type;
      }
    } else if (arg == "--no-br") {
      if (!flag()) return false;
      s.add_break_at_line_ends = false;
    } else if (arg == "--split-album") {
      if (!flag()) return false;
      s.split_album_name = true;
    } else if (arg == "--no-rename") {
      if (!flag()) return false;
      s.auto_rename = false;
    } else if (arg == "--no-unicode-check") {
      if (!flag()) return false;
      s.force_unicode_check = false;
    } else if (arg == "--upper" || arg == "--lower") {
      if (!flag() || !pair(case_flag, arg == "--upper" ? "--upper" : "--lower")) return false;
      (arg == "--upper" ? s.advanced.upper_case : s.advanced.lower_case) = true;
    } else if (arg == "--traditional" || arg == "--simplified") {
      if (!flag() ||
          !pair(chinese_flag, arg == "--traditional" ? "--traditional" : "--simplified")) {
        return false;
      }
      (arg == "--traditional" ? s.advanced.to_traditional : s.advanced.to_simplified) = true;
    } else if (arg == "--katakana" || arg == "--hiragana") {
      if (!flag() || !pair(kana_flag, arg == "--katakana" ? "--katakana" : "--hiragana")) {
        return false;
      }
      (arg == "--katakana" ? s.advanced.to_katakana : s.advanced.to_hiragana) = true;
    } else if (arg == "--exists") {
      if (!value(v)) return false;
      if (v == "ask") {
        options.exists = ExistsPolicy::Ask;
      } else if (v == "overwrite") {
        options.exists = ExistsPolicy::Overwrite;
      } else if (v == "skip") {
        options.exists = ExistsPolicy::Skip;
      } else if (v == "rename") {
        options.exists = ExistsPolicy::Rename;
      } else {
        error = "--exists takes ask, overwrite, skip or rename";
        return false;
      }
      options.exists_given = true;
    } else if (arg == "-q" || arg == "--quiet") {
      if (!flag()) return false;
      options.quiet = true;
    } else if (arg == "--list-code-pages") {
      if (!flag()) return false;
      options.list_code_pages = true;
    } else {
      error = "unknown option " + arg;
      return false;
    }
  }

  if (options.help || options.list_code_pages) return true;

  if (format_to && tags_to) {
    error = "--format-to and --tags-to exclude each other";
    return false;
  }
  if (format_to) s.SetFormatConversion(true);
  if (tags_to) s.SetTagTypeConversion(true);

  if (no_content) {
    if ((from_cp || to_cp) && !s.encoding_conversion_with_file_name) {
      error = "--from-cp and --to-cp need --convert-file-names when content conversion is off";
      return false;
    }
    s.SetContentConversion(false, ansi_code_page);
  }
  if (from_cp) s.source_code_page = *from_cp;
  if (to_cp) s.destination_code_page = *to_cp;

  if (sources.empty()) {
    error = "missing source";
    return false;
  }
  Selection& sel = options.selection;
  const bool directory = std::any_of(sources.begin(), sources.end(), IsFolder);
  if (directory) {
    if (sources.size() != 1) {
      error = "a source folder must be the only source";
      return false;
    }
    if (!dest) {
      error = "a source folder needs --dest";
      return false;
    }
    s.source_mode = SourceMode::Directory;
    sel.source_folder = FromFileSystemName(AsFolder(sources[0]));
    sel.destination_folder = FromFileSystemName(AsFolder(*dest));
    return true;
  }

  s.source_mode = SourceMode::Files;
  std::string folder;
  for (const std::string& source : sources) {
    std::string source_folder, name;
    SplitPath(source, source_folder, name);
    if (name.empty()) {
      error = "not a file: " + source;
      return false;
    }
    if (folder.empty()) {
      folder = source_folder;
    } else if (source_folder != folder) {
      error = "source files must lie in one folder";
      return false;
    }
    sel.source_names.push_back(FromFileSystemName(name));
  }
  sel.source_folder = FromFileSystemName(folder);

  if (!dest) {
    sel.destination_folder = sel.source_folder;
  } else if (sources.size() == 1 && dest->back() != '/' && !IsFolder(*dest)) {
    std::string dest_folder, dest_name;
    SplitPath(*dest, dest_folder, dest_name);
    sel.destination_folder = FromFileSystemName(dest_folder);
    sel.destination_file_name = FromFileSystemName(dest_name);
  } else {
    sel.destination_folder = FromFileSystemName(AsFolder(*dest));
  }
  if (sel.source_names.size() == 1 && sel.destination_file_name.empty()) {
    sel.destination_file_name = MakeDestName(s, sel.source_names[0]);
  }
  return true;
}

}  // namespace quenlite::cli
