#include "converter/app/prompts.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>

namespace quenlite::app {

const QList<FileTypeFilter>& SourceFileFilters() {
  static const QList<FileTypeFilter> filters = {
      {QStringLiteral("Default Files"), QStringLiteral("*.txt *.cue *.lrc *.kra")},
      {QStringLiteral("Text Files (*.txt)"), QStringLiteral("*.txt")},
      {QStringLiteral("CUE Sheet Files (*.cue)"), QStringLiteral("*.cue")},
      {QStringLiteral("Lyric Files (*.lrc,*.kra)"), QStringLiteral("*.lrc *.kra")},
      {QStringLiteral("All Files (*.*)"), QStringLiteral("*")},
  };
  return filters;
}

namespace {

// Qt reads the patterns from the last parenthesised group of each entry; with the details
// hidden the list shows the names exactly as written.
QStringList QtNameFilters() {
  QStringList out;
  for (const FileTypeFilter& f : SourceFileFilters())
    out << QStringLiteral("%1 (%2)").arg(f.name, f.patterns);
  return out;
}

}  // namespace

QStringList DesktopPrompts::ChooseSourceFiles(QWidget* parent) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::ExistingFiles);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  dialog.setNameFilters(QtNameFilters());
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.selectedFiles();
}

QString DesktopPrompts::ChooseFolder(QWidget* parent, const QString& title) {
  return QFileDialog::getExistingDirectory(parent, title, QString(), QFileDialog::ShowDirsOnly);
}

QString DesktopPrompts::ChooseSaveFile(QWidget* parent, const QString& preset) {
  QFileDialog dialog(parent);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::HideNameFilterDetails, true);
  dialog.setNameFilters(QtNameFilters());
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  if (!preset.isEmpty()) dialog.selectFile(preset);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

bool DesktopPrompts::AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
  QMessageBox box(QMessageBox::Information, caption, text, QMessageBox::Yes | QMessageBox::No,
                  parent);
  return box.exec() == QMessageBox::Yes;
}

void DesktopPrompts::OpenUrl(const QUrl& url) { QDesktopServices::openUrl(url); }

}  // namespace quenlite::app
