#include "common/qt/dialog_place.h"

#include <QWidget>

namespace common::qt {

common::Rect ScreenRect(const QWidget* widget) {
  const QRect r = widget->frameGeometry();
  return {r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
}

void PlaceDialog(common::RememberedPlace& place, QWidget* dialog, const QWidget* owner) {
  if (!dialog->isVisible() && !dialog->testAttribute(Qt::WA_Resized)) dialog->adjustSize();
  const common::Rect owner_rect =
      owner != nullptr ? ScreenRect(owner) : common::Rect{0, 0, 0, 0};
  const common::Point at = common::PlaceDialog(place, ScreenRect(dialog), owner_rect);
  dialog->move(at.x, at.y);
  dialog->update();
}

void RememberPlace(const QWidget* dialog, common::RememberedPlace& place) {
  common::RememberPlace(ScreenRect(dialog), place);
}

}  // namespace common::qt
