#pragma once

#include <QDialog>

#include "common/placement.h"

class QPlainTextEdit;
class QPushButton;

namespace common::qt {

// The Version History dialog: the history text read-only with a vertical scroll bar, and OK.
// Only OK closes it: Esc and the window's close box do nothing. It opens where `place` says
// (centred on the owner the first time) and OK remembers where it stood.
class VersionHistoryDialog : public QDialog {
  Q_OBJECT

 public:
  VersionHistoryDialog(QWidget* owner, const QString& history,
                       common::RememberedPlace& place);

  QPlainTextEdit* text() const { return text_; }
  QPushButton* okButton() const { return ok_; }

  void reject() override;  // Esc: ignored

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Ok();

  QWidget* owner_;
  common::RememberedPlace& place_;
  QPlainTextEdit* text_;
  QPushButton* ok_;
  bool placed_ = false;
  bool closing_ = false;
};

// Runs the dialog modally over `owner`.
void ShowVersionHistory(QWidget* owner, const QString& history, common::RememberedPlace& place);

}  // namespace common::qt
