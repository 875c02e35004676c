#include "converter/app/path_text.h"

#include <QFile>

#include "converter/app/status_window.h"
#include "converter/core/naming.h"

namespace quenlite::app {

std::u16string ToCorePath(const QString& path) {
  const QByteArray bytes = QFile::encodeName(path);
  return FromFileSystemName(std::string_view(bytes.constData(), bytes.size()));
}

QString FromCorePath(std::u16string_view path) {
  const std::string bytes = ToFileSystemName(path);
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::u16string ToCoreFolder(const QString& folder) {
  std::u16string out = ToCorePath(folder);
  if (out.empty() || out.back() != kPathSeparator) out.push_back(kPathSeparator);
  return out;
}

QFont PathFont() { return JapaneseUiFont(13); }

}  // namespace quenlite::app
