#include "common/qt/picture_label.h"

#include <QMouseEvent>

namespace common::qt {

void InstallPictureCursor(QWidget* picture) { picture->setCursor(Qt::PointingHandCursor); }

PictureLabel::PictureLabel(QWidget* parent) : QLabel(parent) { InstallPictureCursor(this); }

void PictureLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    event->accept();
    emit clicked();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

}  // namespace common::qt
