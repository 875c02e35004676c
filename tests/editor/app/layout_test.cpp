#include <QTest>

#include "editor/app/layout.h"

using orvi::ComputeLayout;
using orvi::LayoutInput;
using orvi::PaneRect;

class LayoutTest : public QObject {
  Q_OBJECT
 private slots:
  void StatusBarAndTable() {
    const auto l = ComputeLayout({800, 600, 20, true, true, false});
    QCOMPARE(l.table, (PaneRect{0, 435, 800, 145}));
    QCOMPARE(l.text, (PaneRect{0, 0, 800, 435}));
    QCOMPARE(l.status, (PaneRect{0, 580, 800, 20}));
    QCOMPARE(l.status_edges[0], 400);
    QCOMPARE(l.status_edges[1], 600);
    QCOMPARE(l.status_edges[2], 800);
    QVERIFY(!l.divider);
    QCOMPARE(l.verify, PaneRect{});
  }

  void VerifyPaneSplitsTheWidth() {
    const auto l = ComputeLayout({800, 600, 20, true, true, true});
    QCOMPARE(l.text, (PaneRect{0, 0, 400, 435}));
    QCOMPARE(l.verify, (PaneRect{401, 0, 400, 435}));
    QVERIFY(l.divider);
    QCOMPARE(l.divider_x, 400);
    QCOMPARE(l.pane_height, 435);
  }

  void HiddenPanesGiveBackTheirRoom() {
    // Status bar hidden: the panes share the full client height.
    auto l = ComputeLayout({800, 600, 20, false, true, false});
    QCOMPARE(l.table, (PaneRect{0, 450, 800, 150}));
    QCOMPARE(l.text, (PaneRect{0, 0, 800, 450}));
    QCOMPARE(l.status, PaneRect{});
    // Table hidden as well: the text window takes everything, the table is 0 x 0 at (0, 0).
    l = ComputeLayout({800, 600, 20, false, false, false});
    QCOMPARE(l.text, (PaneRect{0, 0, 800, 600}));
    QCOMPARE(l.table, PaneRect{});
    // Odd sizes divide by integer division: 601 - 21 = 580 -> 145; 801 / 2 = 400.
    l = ComputeLayout({801, 601, 21, true, true, true});
    QCOMPARE(l.table, (PaneRect{0, 435, 801, 145}));
    QCOMPARE(l.verify, (PaneRect{401, 0, 400, 435}));
    QCOMPARE(l.status_edges[1], 600);
  }

  void ColumnWidths_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("kanji");
    QTest::addColumn<int>("kana");
    QTest::newRow("680") << 680 << 250 << 250;
    QTest::newRow("681") << 681 << 250 << 251;
    QTest::newRow("800") << 800 << 310 << 310;
    QTest::newRow("narrower than the fixed columns") << 100 << -40 << -40;
  }
  void ColumnWidths() {
    QFETCH(int, width);
    QFETCH(int, kanji);
    QFETCH(int, kana);
    const auto l = ComputeLayout({width, 600, 20, true, true, false});
    QCOMPARE(l.kanji_width, kanji);
    QCOMPARE(l.kana_width, kana);
  }
};

QTEST_APPLESS_MAIN(LayoutTest)
#include "layout_test.moc"
