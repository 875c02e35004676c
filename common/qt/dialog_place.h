#pragma once

#include "common/placement.h"

class QWidget;

namespace common::qt {

// Moves a dialog that is about to be shown: centred on `owner` the first time (and that place
// remembered), afterwards where it was last remembered. Call it after the dialog has its size
// (the helper lays the dialog out first when it has not been shown yet).
void PlaceDialog(common::RememberedPlace& place, QWidget* dialog, const QWidget* owner);

// Remembers where the dialog stands now; call it when the dialog closes through a button.
void RememberPlace(const QWidget* dialog, common::RememberedPlace& place);

// A widget's outer rectangle on the screen, frame included.
common::Rect ScreenRect(const QWidget* widget);

}  // namespace common::qt
