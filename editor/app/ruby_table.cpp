#include "editor/app/ruby_table.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

#include "editor/app/qt_text.h"
#include "editor/core/ruby_list.h"

namespace orvi {

namespace {

constexpr int kSortKeyRole = Qt::UserRole + 1;

QTableWidgetItem* Cell(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  item->setTextAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  return item;
}

}  // namespace

RubyTable::RubyTable(QWidget* parent) : QTableWidget(0, 5, parent) {
  setHorizontalHeaderLabels({QStringLiteral("Start"), QStringLiteral("End"),
                             QStringLiteral("Kanji"), QStringLiteral("Kana"),
                             QStringLiteral("Ruby ID")});
  horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  horizontalHeader()->setSectionsMovable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  verticalHeader()->setVisible(false);
  verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setShowGrid(true);
  setWordWrap(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setColumnWidth(kStart, 50);
  setColumnWidth(kEnd, 50);
  setColumnWidth(kKanji, 0);
  setColumnWidth(kKana, 0);
  setColumnWidth(kRubyId, 80);
  setContextMenuPolicy(Qt::NoContextMenu);
  viewport()->installEventFilter(this);
}

void RubyTable::AddRow(const RubyEntry& entry) {
  clearSelection();
  // Rows stay in ascending start order: the new row goes after every row that starts earlier.
  int lo = 0;
  int hi = rowCount();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (item(mid, kStart)->data(kSortKeyRole).toInt() <= entry.start) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  const int row = lo;
  insertRow(row);
  QTableWidgetItem* start = Cell(QString::number(entry.start));
  start->setData(kSortKeyRole, entry.start);
  setItem(row, kStart, start);
  setItem(row, kEnd, Cell(QString::number(entry.end)));
  setItem(row, kKanji, Cell(ToQString(entry.base)));
  setItem(row, kKana, Cell(ToQString(entry.reading)));
  setItem(row, kRubyId, Cell(QString::number(entry.id)));
  selectRow(row);
  setCurrentCell(row, kStart, QItemSelectionModel::NoUpdate);
  scrollToItem(item(row, kStart));
}

int RubyTable::RowOf(std::int32_t id, std::int32_t start) const {
  int lo = 0;
  int hi = rowCount();
  while (lo < hi) {
    const int mid = (lo + hi) / 2;
    if (item(mid, kStart)->data(kSortKeyRole).toInt() < start) {
      lo = mid + 1;
    } else {
      hi = mid;
    }
  }
  for (int row = lo; row < rowCount() && item(row, kStart)->data(kSortKeyRole).toInt() == start;
       ++row) {
    if (IdOfRow(row) == id) return row;
  }
  return -1;
}

void RubyTable::SelectRowOf(const RubyEntry* entry) {
  clearSelection();
  if (!entry) return;
  const int row = RowOf(entry->id, entry->start);
  if (row < 0) return;
  selectRow(row);
  setCurrentCell(row, kStart, QItemSelectionModel::NoUpdate);
  scrollToItem(item(row, kStart));
}

std::int32_t RubyTable::IdOfRow(int row) const {
  const QTableWidgetItem* cell = item(row, kRubyId);
  if (!cell) return -1;
  bool ok = false;
  const int id = cell->text().left(32).toInt(&ok, 10);
  return ok ? id : -1;
}

std::vector<int> RubyTable::SelectedRows() const {
  std::vector<int> rows;
  for (const QModelIndex& index : selectionModel()->selectedRows()) rows.push_back(index.row());
  std::sort(rows.begin(), rows.end());
  return rows;
}

void RubyTable::SetKana(int row, const std::u16string& reading) {
  if (QTableWidgetItem* cell = item(row, kKana)) cell->setText(ToQString(reading));
}

QString RubyTable::CellText(int row, Column column) const {
  const QTableWidgetItem* cell = item(row, column);
  return cell ? cell->text() : QString();
}

void RubyTable::RemoveAllRows() { setRowCount(0); }

void RubyTable::SetColumnWidths(int kanji, int kana) {
  setColumnWidth(kKanji, std::max(0, kanji));
  setColumnWidth(kKana, std::max(0, kana));
  setColumnWidth(kRubyId, horizontalHeader()->sectionSizeHint(kRubyId));
}

bool RubyTable::eventFilter(QObject* watched, QEvent* event) {
  if (watched == viewport()) {
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      // A right click never changes the selection.
      if (static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) return true;
    }
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
      if (popup_handler_) {
        popup_handler_(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
      }
      return true;
    }
  }
  return QTableWidget::eventFilter(watched, event);
}

}  // namespace orvi
