#pragma once

#include <QFont>
#include <QString>
#include <string>
#include <string_view>

namespace quenlite::app {

// Paths as the converter core holds them (UTF-16, file-system bytes that are not UTF-8 kept
// as U+DC80 + byte) and as the widgets show them.
std::u16string ToCorePath(const QString& path);
QString FromCorePath(std::u16string_view path);

// A folder path ending with "/", as the core expects folders.
std::u16string ToCoreFolder(const QString& folder);

// The font of the path boxes: a gothic face with Japanese glyphs, 13 pixels high.
QFont PathFont();

}  // namespace quenlite::app
