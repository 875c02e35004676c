#include "converter/app/status_window.h"

#include <QCloseEvent>
#include <QListWidget>
#include <QVBoxLayout>

namespace quenlite::app {

QFont JapaneseUiFont(int pixel_size) {
  QFont font;
  font.setFamilies({QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic"),
                    QStringLiteral("Noto Sans CJK JP"), QStringLiteral("DejaVu Sans")});
  font.setPixelSize(pixel_size);
  font.setWeight(QFont::Normal);
  return font;
}

StatusWindow::StatusWindow(QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
  setWindowTitle(QStringLiteral("Status"));
  setSizeGripEnabled(true);
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("log"));
  list_->setFont(JapaneseUiFont(12));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  list_->setTextElideMode(Qt::ElideNone);  // long paths scroll sideways instead
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(5, 5, 5, 5);
  layout->addWidget(list_);
  resize(420, 300);
}

void StatusWindow::AppendLine(const QString& line) {
  list_->addItem(line);
  QListWidgetItem* last = list_->item(list_->count() - 1);
  list_->scrollToItem(last);
  list_->clearSelection();
  list_->setCurrentItem(nullptr);  // no line stays highlighted, not even by the focus frame
}

void StatusWindow::reject() {}

void StatusWindow::closeEvent(QCloseEvent* event) { event->ignore(); }

}  // namespace quenlite::app
