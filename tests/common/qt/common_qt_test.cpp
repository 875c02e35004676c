#include <QDialog>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "common/qt/dialog_place.h"
#include "common/qt/link_label.h"
#include "common/qt/picture_label.h"
#include "common/qt/version_history_dialog.h"

using common::RememberedPlace;

class CommonQtTest : public QObject {
  Q_OBJECT

 private slots:
  void placeCentresFirstThenRemembers();
  void versionHistoryOnlyOkCloses();
  void linkLabelColourUnderlineAndClick();
  void pictureLabelHandCursorAndClick();
};

void CommonQtTest::placeCentresFirstThenRemembers() {
  QWidget owner;
  owner.setGeometry(100, 100, 800, 600);
  QDialog dialog(&owner);
  dialog.resize(200, 100);
  RememberedPlace place;
  const common::Rect o = common::qt::ScreenRect(&owner);
  common::qt::PlaceDialog(place, &dialog, &owner);
  const common::Rect d = common::qt::ScreenRect(&dialog);
  QCOMPARE(d.left, (o.left + o.right) / 2 - d.width() / 2);
  QCOMPARE(d.top, (o.top + o.bottom) / 2 - d.height() / 2);
  QVERIFY(place.placed());

  // Moved by the user and remembered: the next opening goes there, not to the moved owner.
  dialog.move(10, 20);
  common::qt::RememberPlace(&dialog, place);
  owner.move(400, 300);
  QDialog again(&owner);
  again.resize(300, 150);
  common::qt::PlaceDialog(place, &again, &owner);
  QCOMPARE(again.pos(), QPoint(10, 20));
}

void CommonQtTest::versionHistoryOnlyOkCloses() {
  QWidget owner;
  owner.setGeometry(100, 100, 800, 600);
  owner.show();
  RememberedPlace place;
  const QString history = QStringLiteral("Tool 0.43  -  2006.01.01\r\n* fixes\r\n");
  common::qt::VersionHistoryDialog dialog(&owner, history, place);
  bool closed_early = false;
  QPoint at_ok;
  QTimer::singleShot(0, [&] {
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.text()->isReadOnly());
    QCOMPARE(dialog.text()->toPlainText(), QStringLiteral("Tool 0.43  -  2006.01.01\n* fixes\n"));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowCloseButtonHint));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    dialog.close();
    closed_early = !dialog.isVisible();
    dialog.move(33, 44);
    at_ok = dialog.pos();
    dialog.okButton()->click();
  });
  QCOMPARE(dialog.exec(), QDialog::Accepted);
  QVERIFY(!(closed_early));
  QCOMPARE(place.x, at_ok.x());
  QCOMPARE(place.y, at_ok.y());

  // The next showing opens where OK was pressed.
  common::qt::VersionHistoryDialog second(&owner, history, place);
  QPoint opened_at;
  QTimer::singleShot(0, [&] {
    opened_at = second.pos();
    second.okButton()->click();
  });
  second.exec();
  QCOMPARE(opened_at, at_ok);
}

void CommonQtTest::linkLabelColourUnderlineAndClick() {
  QWidget window;
  auto* link = new common::qt::LinkLabel(QStringLiteral("more ..."), &window);
  link->setGeometry(10, 10, 80, 20);
  window.show();
  QVERIFY(QTest::qWaitForWindowExposed(&window));
  QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 192));
  QCOMPARE(link->cursor().shape(), Qt::PointingHandCursor);
  QVERIFY(!(link->underlined()));
  QEnterEvent enter(QPointF(5, 5), QPointF(15, 15), QPointF(15, 15));
  QApplication::sendEvent(link, &enter);
  QVERIFY(link->underlined());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(link, &leave);
  QVERIFY(!(link->underlined()));

  QSignalSpy spy(link, &common::qt::LinkLabel::clicked);
  QTest::mouseClick(link, Qt::LeftButton);
  QCOMPARE(spy.count(), 1);
  QTest::mouseClick(link, Qt::RightButton);
  QCOMPARE(spy.count(), 1);
}

void CommonQtTest::pictureLabelHandCursorAndClick() {
  common::qt::PictureLabel picture;
  picture.resize(100, 40);
  picture.show();
  QCOMPARE(picture.cursor().shape(), Qt::PointingHandCursor);
  QSignalSpy spy(&picture, &common::qt::PictureLabel::clicked);
  QTest::mouseClick(&picture, Qt::LeftButton);
  QCOMPARE(spy.count(), 1);

  QLabel plain;
  common::qt::InstallPictureCursor(&plain);
  QCOMPARE(plain.cursor().shape(), Qt::PointingHandCursor);
}

QTEST_MAIN(CommonQtTest)
#include "common_qt_test.moc"
