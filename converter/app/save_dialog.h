#pragma once

#include <QDialog>

#include "common/placement.h"
#include "converter/core/pipeline.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace quenlite::app {

class Prompts;

// Asks what to do with a destination file that exists: Overwrite, Skip, or Rename to a path
// the user types (confirming an overwrite when that path exists too); "To All" applies
// Overwrite or Skip to the rest of the batch. There is no Cancel: Esc and the close box do
// nothing.
class SaveDialog : public QDialog {
  Q_OBJECT

 public:
  SaveDialog(QWidget* owner, const QString& pending_path, common::RememberedPlace& place,
             Prompts& prompts);

  // What was chosen; meaningful once the dialog has closed.
  const SaveAnswer& answer() const { return answer_; }

  QPlainTextEdit* pathEdit() const { return edit_; }
  QLabel* message() const { return message_; }
  QPushButton* overwriteButton() const { return overwrite_; }
  QPushButton* skipButton() const { return skip_; }
  QPushButton* renameButton() const { return rename_; }
  QCheckBox* toAllBox() const { return to_all_; }
  bool renameMode() const { return rename_mode_; }

  void reject() override;  // Esc: ignored

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Choose(SaveChoice choice);
  void RenamePressed();
  void Finish();

  QWidget* owner_;
  common::RememberedPlace& place_;
  Prompts& prompts_;
  QPlainTextEdit* edit_;
  QLabel* message_;
  QPushButton* overwrite_;
  QPushButton* skip_;
  QPushButton* rename_;
  QCheckBox* to_all_;
  SaveAnswer answer_;
  bool rename_mode_ = false;
  bool placed_ = false;
  bool finished_ = false;
};

// The Save question of a batch, answered by the Save dialog over the main dialog.
class SaveDialogQuestion : public SaveQuestion {
 public:
  SaveDialogQuestion(QWidget* owner, common::RememberedPlace& place, Prompts& prompts)
      : owner_(owner), place_(place), prompts_(prompts) {}
  SaveAnswer AskExisting(std::u16string_view pending_path) override;

 private:
  QWidget* owner_;
  common::RememberedPlace& place_;
  Prompts& prompts_;
};

}  // namespace quenlite::app
