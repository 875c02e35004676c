#include "editor/app/layout.h"

namespace orvi {

namespace {
constexpr int kFixedColumns = 180;  // "Start" 50 + "End" 50 + "Ruby ID" 80
}

int KanjiColumnWidth(int width) { return (width - kFixedColumns) / 2; }

int KanaColumnWidth(int width) { return width - (width - kFixedColumns) / 2 - kFixedColumns; }

Layout ComputeLayout(const LayoutInput& in) {
  Layout out;
  const int w = in.width;
  int h = in.height;
  if (in.status_shown) {
    h = in.height - in.status_height;
    out.status = {0, h, w, in.status_height};
    out.status_edges[0] = w / 2;
    out.status_edges[1] = 3 * w / 4;
    out.status_edges[2] = w;
  }
  int t = h;
  if (in.table_shown) {
    t = h - h / 4;
    out.table = {0, t, w, h / 4};
  }
  out.pane_height = t;
  if (in.verify_shown) {
    out.text = {0, 0, w / 2, t};
    out.verify = {w / 2 + 1, 0, w / 2, t};
    out.divider = true;
    out.divider_x = w / 2;
  } else {
    out.text = {0, 0, w, t};
  }
  out.kanji_width = KanjiColumnWidth(w);
  out.kana_width = KanaColumnWidth(w);
  return out;
}

}  // namespace orvi
