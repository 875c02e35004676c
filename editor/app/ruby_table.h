#pragma once

#include <QTableWidget>
#include <cstdint>
#include <functional>
#include <vector>

namespace orvi {

struct RubyEntry;

// The Ruby Table: one row per annotation, sorted by start, with the columns "Start", "End",
// "Kanji", "Kana" and "Ruby ID". Several rows may be selected; the headers can be dragged into
// another order.
class RubyTable : public QTableWidget {
  Q_OBJECT
 public:
  enum Column { kStart = 0, kEnd = 1, kKanji = 2, kKana = 3, kRubyId = 4 };

  explicit RubyTable(QWidget* parent = nullptr);

  // Called with the screen point when the right button is released over the table.
  void set_popup_handler(std::function<void(const QPoint&)> handler) {
    popup_handler_ = std::move(handler);
  }

  // Adds the entry's row at its place in start order, selects it alone and scrolls to it.
  void AddRow(const RubyEntry& entry);
  // Selects the entry's row alone and scrolls to it; with no entry only clears the selection.
  void SelectRowOf(const RubyEntry* entry);
  // The row of the entry with this id and start, or -1.
  int RowOf(std::int32_t id, std::int32_t start) const;
  // The "Ruby ID" of a row, read back from its cell; -1 when it is not a number.
  std::int32_t IdOfRow(int row) const;
  // The selected rows, top to bottom.
  std::vector<int> SelectedRows() const;
  void SetKana(int row, const std::u16string& reading);
  QString CellText(int row, Column column) const;
  void RemoveAllRows();

  // Kanji and Kana from the client width; "Ruby ID" sized to its header.
  void SetColumnWidths(int kanji, int kana);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const QPoint&)> popup_handler_;
};

}  // namespace orvi
