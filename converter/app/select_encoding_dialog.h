#pragma once

#include <QDialog>

#include "common/codepages.h"
#include "common/placement.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace quenlite::app {

// "Select Encoding": the installed code pages in a sorted list (each item carries its number),
// the chosen one's name in a read-only box, shortcut buttons for the usual code pages, and OK
// as the only way out.
class SelectEncodingDialog : public QDialog {
  Q_OBJECT

 public:
  SelectEncodingDialog(QWidget* owner, common::CodePage start, common::RememberedPlace& place);

  common::CodePage chosen() const { return chosen_; }

  QLineEdit* nameEdit() const { return edit_; }
  QListWidget* list() const { return list_; }
  QPushButton* button(const QString& text) const;

  void reject() override;  // Esc: ignored

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void Choose(common::CodePage cp);
  void SelectFromList();
  void Ok();

  QWidget* owner_;
  common::RememberedPlace& place_;
  QLineEdit* edit_;
  QListWidget* list_;
  common::CodePage chosen_ = 0;
  bool placed_ = false;
  bool finished_ = false;
};

// Runs the dialog modally and answers the chosen code page.
common::CodePage SelectEncoding(QWidget* owner, common::CodePage start,
                                common::RememberedPlace& place);

}  // namespace quenlite::app
