#pragma once

namespace common {

// A screen rectangle: left and top inclusive, right and bottom exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

struct Point {
  int x = 0;
  int y = 0;
};

// Where a kind of dialog was last closed during this run. x == -1: not placed yet.
struct RememberedPlace {
  int x = -1;
  int y = -1;
  bool placed() const { return x != -1; }
};

// Answers the top-left corner for a dialog being opened. The first time, the dialog is
// centred on its owner as the owner stands now, and that place is remembered; later openings
// use the remembered place, wherever the owner has moved since.
Point PlaceDialog(RememberedPlace& place, const Rect& dialog, const Rect& owner);

// Remembers the dialog's current top-left corner; called when it is closed through a button.
void RememberPlace(const Rect& dialog, RememberedPlace& place);

}  // namespace common
