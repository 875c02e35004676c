#include "converter/app/select_encoding_dialog.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "common/qt/dialog_place.h"

namespace quenlite::app {

SelectEncodingDialog::SelectEncodingDialog(QWidget* owner, common::CodePage start,
                                           common::RememberedPlace& place)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      owner_(owner),
      place_(place) {
  setWindowTitle(QStringLiteral("Select Encoding"));
  setModal(true);

  auto* prompt = new QLabel(QStringLiteral("Select encoding of your file(s)"), this);
  edit_ = new QLineEdit(this);
  edit_->setReadOnly(true);
  list_ = new QListWidget(this);
  list_->setMinimumSize(360, 220);

  // A sorted list, as its texts sort; each item keeps its code page number.
  QList<QPair<QString, common::CodePage>> items;
  for (const common::CodePageInfo& info : common::InstalledCodePages())
    items.append({QString::fromStdU16String(info.display_name), info.number});
  std::stable_sort(items.begin(), items.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [name, number] : items) {
    auto* item = new QListWidgetItem(name, list_);
    item->setData(Qt::UserRole, static_cast<uint>(number));
  }
  connect(list_, &QListWidget::itemDoubleClicked, this, [this] { SelectFromList(); });

  struct Shortcut {
    const char* text;
    common::CodePage cp;
  };
  const Shortcut shortcuts[] = {{"Default", common::AnsiCodePage()},
                                {"Shift-Jis", 932},
                                {"G B K", 936},
                                {"B I G 5", 950},
                                {"Unicode", common::kCodePageUtf16Le}};
  auto* side = new QVBoxLayout;
  for (const Shortcut& s : shortcuts) {
    auto* b = new QPushButton(QString::fromLatin1(s.text), this);
    b->setAutoDefault(false);
    const common::CodePage cp = s.cp;
    connect(b, &QPushButton::clicked, this, [this, cp] { Choose(cp); });
    side->addWidget(b);
  }
  side->addSpacing(10);
  auto* select = new QPushButton(QStringLiteral(">> Select"), this);
  select->setAutoDefault(false);
  connect(select, &QPushButton::clicked, this, &SelectEncodingDialog::SelectFromList);
  side->addWidget(select);
  side->addStretch();
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &SelectEncodingDialog::Ok);
  side->addWidget(ok);

  auto* grid = new QGridLayout(this);
  grid->addWidget(prompt, 0, 0);
  grid->addWidget(edit_, 1, 0);
  grid->addWidget(list_, 2, 0);
  grid->addLayout(side, 1, 1, 2, 1);

  Choose(start);
}

QPushButton* SelectEncodingDialog::button(const QString& text) const {
  for (QPushButton* b : findChildren<QPushButton*>())
    if (b->text() == text) return b;
  return nullptr;
}

// The chosen code page's name goes into the box, and the list item beginning with that name
// is selected.
void SelectEncodingDialog::Choose(common::CodePage cp) {
  chosen_ = cp;
  const QString name = QString::fromStdU16String(common::CodePageDisplayName(cp));
  edit_->setText(name);
  list_->clearSelection();
  if (name.isEmpty()) return;
  for (int i = 0; i < list_->count(); ++i) {
    if (list_->item(i)->text().startsWith(name)) {
      list_->setCurrentRow(i);
      list_->scrollToItem(list_->item(i));
      break;
    }
  }
}

void SelectEncodingDialog::SelectFromList() {
  const QList<QListWidgetItem*> selected = list_->selectedItems();
  if (selected.isEmpty()) return;
  edit_->setText(selected.first()->text());
  chosen_ = selected.first()->data(Qt::UserRole).toUInt();
}

void SelectEncodingDialog::showEvent(QShowEvent* event) {
  if (!placed_) {
    placed_ = true;
    common::qt::PlaceDialog(place_, this, owner_);
  }
  QDialog::showEvent(event);
}

void SelectEncodingDialog::Ok() {
  common::qt::RememberPlace(this, place_);
  finished_ = true;
  accept();
}

void SelectEncodingDialog::reject() {}

void SelectEncodingDialog::closeEvent(QCloseEvent* event) {
  if (finished_) {
    QDialog::closeEvent(event);
    return;
  }
  event->ignore();
}

common::CodePage SelectEncoding(QWidget* owner, common::CodePage start,
                                common::RememberedPlace& place) {
  SelectEncodingDialog dialog(owner, start, place);
  dialog.exec();
  return dialog.chosen();
}

}  // namespace quenlite::app
