#include "editor/app/prompter.h"

#include <QDialog>
#include <QFontDialog>
#include <QMenu>
#include <QMessageBox>

namespace orvi {

Prompter::Answer QtPrompter::Ask(QWidget* owner, const QString& text, Buttons buttons,
                                 Icon icon) {
  QMessageBox box(owner);
  box.setWindowTitle(caption_);
  box.setText(text);
  switch (icon) {
    case Icon::Information: box.setIcon(QMessageBox::Information); break;
    case Icon::Question: box.setIcon(QMessageBox::Question); break;
    case Icon::Warning: box.setIcon(QMessageBox::Warning); break;
    case Icon::Error: box.setIcon(QMessageBox::Critical); break;
  }
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel:
      box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
      break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel:
      box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
      break;
  }
  switch (box.exec()) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

int QtPrompter::RunDialog(QDialog& dialog) { return dialog.exec(); }

QAction* QtPrompter::RunMenu(QMenu& menu, const QPoint& screen_point) {
  return menu.exec(screen_point);
}

bool QtPrompter::ChooseFont(QWidget* owner, const QFont& initial, QFont& chosen) {
  bool ok = false;
  const QFont font = QFontDialog::getFont(&ok, initial, owner);
  if (ok) chosen = font;
  return ok;
}

}  // namespace orvi
