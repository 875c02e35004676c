#pragma once

#include <QLabel>

namespace common::qt {

// A text that acts as a link: dark blue (red 0, green 0, blue 192), the hand cursor over it,
// underlined while the pointer is over it. A left click emits clicked().
class LinkLabel : public QLabel {
  Q_OBJECT

 public:
  explicit LinkLabel(const QString& text = QString(), QWidget* parent = nullptr);

  static QColor LinkColor() { return QColor(0, 0, 192); }
  bool underlined() const { return font().underline(); }

 signals:
  void clicked();

 protected:
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  void SetUnderline(bool on);
  bool pressed_ = false;
};

}  // namespace common::qt
