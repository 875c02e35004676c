#include "converter/app/version_history.h"

#include <QStringList>

namespace quenlite::app {

namespace {

struct Release {
  const char* version;
  const char* date;  // yyyy.mm.dd
  QStringList notes;
};

}  // namespace

QString QuenliteHistory() {
  const Release releases[] = {
      {"0.43", "2006.01.01",
       {"Added an online manual, opened from the main dialog.",
        "Fixed the destination name when the album split and the rename are both on."}},
      {"0.42", "2005.12.18",
       {"The destination extension now follows the chosen lyric format automatically.",
        "Fixed the progress bar when a folder holds no files."}},
      {"0.41", "2005.12.04",
       {"Added advanced options: letter case, Simplified and Traditional Chinese, hiragana "
        "and katakana."}},
      {"0.40", "2005.11.20",
       {"Steps with nothing to do are bypassed automatically and say so in the status log.",
        "Added \"Force unicode check\"."}},
      {"0.35", "2005.11.02",
       {"Added \"Add <br> when a line ends\" for the conversion to HTML ruby tags."}},
      {"0.32", "2005.10.16", {"Added this version history."}},
      {"0.31", "2005.10.01",
       {"The version number and the banner became links.",
        "Fixed the Save dialog losing a renamed path."}},
      {"0.30", "2005.09.10",
       {"Added ruby tag type conversion between HTML tags, VEXA BBS tags and brackets."}},
      {"0.24", "2005.08.14",
       {"Destination paths mirror the source folders; missing folders are created.",
        "Added \"Split album name to directory\"."}},
      {"0.20", "2005.07.03",
       {"Added LRC and KRA lyric conversion.",
        "Added Unicode (UCS-2) little-endian and big-endian encodings."}},
      {"0.10", "2005.05.22",
       {"First release: batch code page conversion of text and cue files with a status "
        "window."}},
  };
  QStringList lines;
  for (const Release& r : releases) {
    if (!lines.isEmpty()) lines << QString();
    lines << QStringLiteral("Quenlite %1  -  %2").arg(QLatin1String(r.version),
                                                       QLatin1String(r.date));
    for (const QString& note : r.notes) lines << QStringLiteral("* ") + note;
  }
  return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

}  // namespace quenlite::app
