#include "converter/app/save_dialog.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/qt/dialog_place.h"
#include "converter/app/path_text.h"
#include "converter/app/prompts.h"

namespace quenlite::app {

SaveDialog::SaveDialog(QWidget* owner, const QString& pending_path,
                       common::RememberedPlace& place, Prompts& prompts)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      owner_(owner),
      place_(place),
      prompts_(prompts) {
  setWindowTitle(QStringLiteral("Save"));
  setModal(true);

  edit_ = new QPlainTextEdit(this);
  edit_->setObjectName(QStringLiteral("path"));
  edit_->setPlainText(pending_path);
  edit_->setReadOnly(true);
  edit_->setTabChangesFocus(true);
  edit_->setFont(PathFont());
  edit_->setFixedHeight(edit_->fontMetrics().lineSpacing() * 3 + 12);
  edit_->setMinimumWidth(380);

  message_ = new QLabel(QStringLiteral("File already exists. Do you want to"), this);
  overwrite_ = new QPushButton(QStringLiteral("Overwrite"), this);
  skip_ = new QPushButton(QStringLiteral("Skip"), this);
  rename_ = new QPushButton(QStringLiteral("Rename"), this);
  to_all_ = new QCheckBox(QStringLiteral("To All"), this);
  overwrite_->setDefault(true);

  connect(overwrite_, &QPushButton::clicked, this, [this] { Choose(SaveChoice::Overwrite); });
  connect(skip_, &QPushButton::clicked, this, [this] { Choose(SaveChoice::Skip); });
  connect(rename_, &QPushButton::clicked, this, &SaveDialog::RenamePressed);
  // A choice for all is always Overwrite or Skip.
  connect(to_all_, &QCheckBox::toggled, this, [this](bool on) { rename_->setEnabled(!on); });

  auto* buttons = new QHBoxLayout;
  buttons->addWidget(overwrite_);
  buttons->addWidget(skip_);
  buttons->addWidget(rename_);
  buttons->addSpacing(8);
  buttons->addWidget(to_all_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(edit_);
  layout->addWidget(message_);
  layout->addLayout(buttons);
  overwrite_->setFocus();
  edit_->installEventFilter(this);
}

// Enter in the path box presses the default button instead of starting a new line.
bool SaveDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      if (rename_mode_) rename_->click();
      else overwrite_->click();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void SaveDialog::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    common::qt::PlaceDialog(place_, this, owner_);
  }
  QDialog::showEvent(event);
}

void SaveDialog::Choose(SaveChoice choice) {
  answer_.choice = choice;
  answer_.to_all = to_all_->isChecked();
  answer_.new_path.clear();
  Finish();
}

void SaveDialog::RenamePressed() {
  if (!rename_mode_) {
    rename_mode_ = true;
    overwrite_->hide();
    skip_->hide();
    to_all_->hide();
    to_all_->setChecked(false);
    edit_->setReadOnly(false);
    rename_->setText(QStringLiteral("OK"));
    rename_->setDefault(true);
    message_->setText(QStringLiteral("Please enter new filename."));
    edit_->setFocus();
    edit_->selectAll();
    return;
  }
  // The whole entered path is taken: a path cut short would write somewhere else.
  QString path = edit_->toPlainText();
  path.remove(QLatin1Char('\r'));
  path.remove(QLatin1Char('\n'));
  SaveChoice choice = SaveChoice::Rename;
  if (!path.isEmpty() && PathExists(ToCorePath(path))) {
    if (!prompts_.AskYesNo(this, QStringLiteral("Save"), QStringLiteral("Do you want to overwrite?")))
      return;  // stays in rename mode
    choice = SaveChoice::Overwrite;
  }
  answer_.choice = choice;
  answer_.to_all = false;
  answer_.new_path = ToCorePath(path);
  Finish();
}

void SaveDialog::Finish() {
  common::qt::RememberPlace(this, place_);
  finished_ = true;
  accept();
}

void SaveDialog::reject() {}

void SaveDialog::closeEvent(QCloseEvent* event) {
  if (finished_) {
    QDialog::closeEvent(event);
    return;
  }
  event->ignore();
}

SaveAnswer SaveDialogQuestion::AskExisting(std::u16string_view pending_path) {
  SaveDialog dialog(owner_, FromCorePath(pending_path), place_, prompts_);
  dialog.exec();
  return dialog.answer();
}

}  // namespace quenlite::app
