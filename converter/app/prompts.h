#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;

namespace quenlite::app {

// One entry of the file-type list of the open and save dialogs.
struct FileTypeFilter {
  QString name;      // what the list shows
  QString patterns;  // the names it matches, separated by blanks
};

// The file-type list offered with its first entry selected.
const QList<FileTypeFilter>& SourceFileFilters();

// Every question the program puts to the user through a platform dialog, and the hand-off to
// the browser. The desktop implementation shows the real dialogs; tests answer them.
class Prompts {
 public:
  virtual ~Prompts() = default;
  // Full paths of the chosen files, all in one folder; empty when cancelled.
  virtual QStringList ChooseSourceFiles(QWidget* parent) = 0;
  // The chosen folder; empty when cancelled.
  virtual QString ChooseFolder(QWidget* parent, const QString& title) = 0;
  // The chosen destination file, starting from `preset` (may be empty); empty when cancelled.
  virtual QString ChooseSaveFile(QWidget* parent, const QString& preset) = 0;
  // A Yes/No question with the information icon; true for Yes.
  virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;
  // Opens a page in the user's browser; a failure is not reported.
  virtual void OpenUrl(const QUrl& url) = 0;
};

// The real dialogs of the desktop.
class DesktopPrompts : public Prompts {
 public:
  QStringList ChooseSourceFiles(QWidget* parent) override;
  QString ChooseFolder(QWidget* parent, const QString& title) override;
  QString ChooseSaveFile(QWidget* parent, const QString& preset) override;
  bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
  void OpenUrl(const QUrl& url) override;
};

}  // namespace quenlite::app
