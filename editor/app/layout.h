#pragma once

namespace orvi {

struct PaneRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PaneRect&) const = default;
};

// What the main window's client area looks like for a given size and set of shown panes.
struct Layout {
  PaneRect text;
  PaneRect verify;       // zero when the Verify pane is hidden
  PaneRect table;        // zero when the Ruby Table is hidden
  PaneRect status;       // zero when the status bar is hidden
  int status_edges[3] = {0, 0, 0};  // right edges of the status bar's three parts
  int pane_height = 0;   // T: the height of the text window (and of the Verify pane)
  bool divider = false;  // a line from (width / 2, 0) to (width / 2, pane_height)
  int divider_x = 0;
  int kanji_width = 0;   // the Ruby Table's "Kanji" column
  int kana_width = 0;    // the Ruby Table's "Kana" column
};

struct LayoutInput {
  int width = 0;          // W: client width
  int height = 0;         // Hc: client height, status bar included
  int status_height = 0;  // the status bar's height while it is shown
  bool status_shown = false;
  bool table_shown = false;
  bool verify_shown = false;
};

// The layout rule: the status bar takes the bottom, the table the bottom quarter of what is
// left, and the text window (with the Verify pane to its right, one pixel apart) the rest.
// All divisions are integer divisions.
Layout ComputeLayout(const LayoutInput& in);

// The widths of the Ruby Table's "Kanji" and "Kana" columns for a client width: the two share
// what the other three columns (180 pixels together) leave.
int KanjiColumnWidth(int width);
int KanaColumnWidth(int width);

}  // namespace orvi
