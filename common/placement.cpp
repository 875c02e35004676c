#include "common/placement.h"

namespace common {

Point PlaceDialog(RememberedPlace& place, const Rect& dialog, const Rect& owner) {
  if (!place.placed()) {
    place.x = (owner.left + owner.right) / 2 - dialog.width() / 2;
    place.y = (owner.top + owner.bottom) / 2 - dialog.height() / 2;
  }
  return {place.x, place.y};
}

void RememberPlace(const Rect& dialog, RememberedPlace& place) {
  place.x = dialog.left;
  place.y = dialog.top;
}

}  // namespace common
