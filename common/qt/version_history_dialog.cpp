#include "common/qt/version_history_dialog.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "common/qt/dialog_place.h"

namespace common::qt {

VersionHistoryDialog::VersionHistoryDialog(QWidget* owner, const QString& history,
                                           common::RememberedPlace& place)
    : QDialog(owner), owner_(owner), place_(place) {
  setWindowTitle(QStringLiteral("Version History"));
  // No close box: the only way out is OK.
  setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
  setModal(true);

  text_ = new QPlainTextEdit(this);
  text_->setReadOnly(true);
  text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  text_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
  text_->setPlainText(history);
  text_->setMinimumSize(480, 300);

  ok_ = new QPushButton(QStringLiteral("OK"), this);
  ok_->setDefault(true);
  ok_->setAutoDefault(true);
  connect(ok_, &QPushButton::clicked, this, &VersionHistoryDialog::Ok);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(ok_);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addLayout(buttons);
  ok_->setFocus();
}

void VersionHistoryDialog::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    PlaceDialog(place_, this, owner_);
  }
  QDialog::showEvent(event);
}

void VersionHistoryDialog::Ok() {
  RememberPlace(this, place_);
  closing_ = true;
  accept();
}

void VersionHistoryDialog::reject() {}

void VersionHistoryDialog::closeEvent(QCloseEvent* event) {
  if (closing_) {
    QDialog::closeEvent(event);
    return;
  }
  event->ignore();
}

void ShowVersionHistory(QWidget* owner, const QString& history, common::RememberedPlace& place) {
  VersionHistoryDialog dialog(owner, history, place);
  dialog.exec();
}

}  // namespace common::qt
