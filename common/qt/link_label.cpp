#include "common/qt/link_label.h"

#include <QMouseEvent>
#include <QPalette>

namespace common::qt {

LinkLabel::LinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, LinkColor());
  setPalette(pal);
  setCursor(Qt::PointingHandCursor);
  setTextFormat(Qt::PlainText);
  setFocusPolicy(Qt::NoFocus);
}

void LinkLabel::SetUnderline(bool on) {
  QFont f = font();
  if (f.underline() == on) return;
  f.setUnderline(on);
  setFont(f);
  update();
}

void LinkLabel::enterEvent(QEnterEvent* event) {
  SetUnderline(true);
  QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent* event) {
  SetUnderline(false);
  QLabel::leaveEvent(event);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    pressed_ = true;
    event->accept();
    return;
  }
  QLabel::mousePressEvent(event);
}

// Like a button: the click counts when the button is let go over the link.
void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && pressed_) {
    pressed_ = false;
    event->accept();
    if (rect().contains(event->position().toPoint())) emit clicked();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

}  // namespace common::qt
