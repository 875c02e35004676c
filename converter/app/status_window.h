#pragma once

#include <QDialog>

class QListWidget;

namespace quenlite::app {

// The "Status" tool window: one list of log lines, 5 pixels inside the window's edges. It has no
// close box; the main dialog's "Show status window" shows and hides it.
class StatusWindow : public QDialog {
  Q_OBJECT

 public:
  explicit StatusWindow(QWidget* parent = nullptr);

  // Appends a line, scrolls it into view and leaves no line selected.
  void AppendLine(const QString& line);

  QListWidget* list() const { return list_; }

  void reject() override;  // Esc does not hide the window

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QListWidget* list_;
};

// The font of the path boxes and the log: a proportional gothic face that has Japanese glyphs.
QFont JapaneseUiFont(int pixel_size);

}  // namespace quenlite::app
