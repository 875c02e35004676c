#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRegularExpression>

#include "common/qt/version_history_dialog.h"
#include <QTest>
#include <QTextBlock>
#include <memory>

#include "editor/app/main_window.h"
#include "editor/app/qt_text.h"
#include "editor/app/ruby_table.h"
#include "fakes.h"

using namespace orvi;
using namespace orvi::testing;

namespace {

// Line 1 holds offsets 0-8 and its break 9; line 2 offsets 10-20 and its break 21; line 3
// holds a blank at 23 and an ideographic space at 25.
const QString kLyric = QString::fromUtf8(
    "日本の夜空に光る星\n"
    "本当の気持ちを伝えたい\n"
    "心 と　愛");

const QColor kAnnotated(255, 0, 128);

}  // namespace

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<FakePrompter> prompter_;
  std::unique_ptr<FakeCandidates> candidates_;
  std::unique_ptr<MainWindow> window_;

  TextWindow* text() { return window_->text_window(); }
  RubyTable* table() { return window_->table(); }
  QWidget* viewport() { return text()->viewport(); }

  void MakeWindow() {
    window_.reset();
    prompter_ = std::make_unique<FakePrompter>();
    candidates_ = std::make_unique<FakeCandidates>();
    candidates_->words[u"日本"] = {u"にほん", u"にっぽん", u"ひのもと"};
    candidates_->words[u"夜空"] = {u"よぞら"};
    window_ = std::make_unique<MainWindow>(prompter_.get(), candidates_.get());
    window_->show();
    window_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window_.get()));
  }

  // The lyric in Ruby Mode.
  void EnterLyric(const QString& lyric = kLyric) {
    window_->LoadText(lyric);
    window_->Dispatch(Command::RubyMode);
    QVERIFY(window_->ruby_mode());
  }

  QPoint PointOf(int offset) {
    QTextCursor c(text()->document());
    c.setPosition(offset);
    return text()->cursorRect(c).center();
  }

  // Selects [a, b) and releases the left button over it, with or without Ctrl.
  void ReleaseOver(int a, int b, Qt::KeyboardModifiers modifiers = Qt::ControlModifier) {
    text()->SetSelection(a, b);
    QTest::mouseRelease(viewport(), Qt::LeftButton, modifiers, PointOf(b));
  }

  void AnnotateWithoutReading(int a, int b) {
    if (!window_->multiple_select()) window_->Dispatch(Command::MultipleSelect);
    ReleaseOver(a, b);
  }

  void SendKey(QEvent::Type type, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent event(type, key, modifiers);
    QApplication::sendEvent(text(), &event);
  }

  QColor ColourAt(int p) { return text()->FormatAt(p).foreground().color(); }
  bool MarkedCurrent(int p) {
    const QTextCharFormat f = text()->FormatAt(p);
    return f.fontWeight() == QFont::Bold && f.fontUnderline();
  }
  QString Kana(int row) { return table()->CellText(row, RubyTable::kKana); }

  void RightClickTable(int row) {
    const QRect r = table()->visualRect(table()->model()->index(row, 0));
    QTest::mouseClick(table()->viewport(), Qt::RightButton, {}, r.center());
  }

 private slots:
  void init() { MakeWindow(); }
  void cleanup() {
    QCOMPARE(prompter_->unexpected, 0);
    window_.reset();
  }

  void StartsWithTitleStatusBarAndMarks() {
    QCOMPARE(window_->windowTitle(), QString::fromUtf8("Orvi ☆ vexa"));
    QVERIFY(window_->status_shown());
    QVERIFY(window_->action(Command::StatusBar)->isChecked());
    QCOMPARE(window_->StatusPartText(0),
             QStringLiteral("To experience powerful search, click Adv Find in the Search menu."));
    QCOMPARE(window_->StatusPartText(1), QStringLiteral("Filled/Total:  0/0 rubies"));
    QCOMPARE(window_->StatusPartText(2), QStringLiteral("Ln 1, Col 1"));
    QVERIFY(window_->action(Command::AutoDetect)->isChecked());
    QVERIFY(window_->action(Command::AutoHint)->isChecked());
    QVERIFY(window_->action(Command::ScopeFullText)->isChecked());
    QVERIFY(window_->action(Command::ModeAuto)->isChecked());
    QVERIFY(!window_->action(Command::AlwaysOnTop)->isChecked());
    // The face keeps its name; the text font is 15 pixels high, the dialog font 13.
    QCOMPARE(window_->text_font().family(), QStringLiteral("MS PGothic"));
    QCOMPARE(window_->text_font().pixelSize(), 15);
    QCOMPARE(window_->dialog_font().pixelSize(), 13);
    QCOMPARE(table()->font().pixelSize(), 13);
    // The Edit menu shows the text window's own keys.
    QCOMPARE(window_->action(Command::Copy)->text(), QStringLiteral("Copy\tCtrl+C"));
    QCOMPARE(window_->action(Command::Paste)->text(), QStringLiteral("Paste\tCtrl+V"));
    QCOMPARE(window_->action(Command::Cut)->text(), QStringLiteral("Cut\tCtrl+X"));
    QStringList headers;
    for (int i = 0; i < 5; ++i) headers << table()->horizontalHeaderItem(i)->text();
    QCOMPARE(headers, (QStringList{"Start", "End", "Kanji", "Kana", "Ruby ID"}));
    QVERIFY(table()->horizontalHeader()->sectionsMovable());
  }

  void CaretPositionInStatusBar() {
    text()->setPlainText(kLyric);
    text()->PutCaret(13);
    QTest::keyClick(text(), Qt::Key_Right);
    QCOMPARE(window_->StatusPartText(2), QStringLiteral("Ln 2, Col 5"));
    // Hidden status bar: the position is still recorded.
    window_->Dispatch(Command::StatusBar);
    QTest::keyClick(text(), Qt::Key_Down);
    QCOMPARE(window_->current_line(), 2);
    QCOMPARE(window_->StatusPartText(2), QString());
  }

  void LayoutFollowsTheRule() {
    window_->Dispatch(Command::RubyMode);  // shows the table
    window_->resize(800, 600);
    QTRY_COMPARE(window_->client_area()->width(), 800);
    const QWidget* client = window_->client_area();
    const int sh = window_->status_bar_widget()->height();
    const int h = client->height() - sh;
    QCOMPARE(table()->geometry(), QRect(0, h - h / 4, 800, h / 4));
    QCOMPARE(text()->geometry(), QRect(0, 0, 800, h - h / 4));
    QCOMPARE(window_->status_bar_widget()->geometry().bottom(), client->height() - 1);
    // Hiding the status bar gives its height back to the panes.
    window_->Dispatch(Command::StatusBar);
    const int full = client->height();
    QCOMPARE(table()->geometry(), QRect(0, full - full / 4, 800, full / 4));
    // Hiding the table gives the text window everything.
    window_->Dispatch(Command::RubyTable);
    QCOMPARE(text()->geometry(), QRect(0, 0, 800, full));
    QVERIFY(!table()->isVisible());
  }

  void ColumnWidthsFollowTheClientWidth_data() {
    QTest::addColumn<int>("width");
    QTest::addColumn<int>("kanji");
    QTest::addColumn<int>("kana");
    QTest::newRow("680") << 680 << 250 << 250;
    QTest::newRow("681") << 681 << 250 << 251;
  }
  void ColumnWidthsFollowTheClientWidth() {
    QFETCH(int, width);
    QFETCH(int, kanji);
    QFETCH(int, kana);
    window_->Dispatch(Command::RubyMode);
    window_->resize(width, 500);
    QTRY_COMPARE(window_->client_area()->width(), width);
    QCOMPARE(table()->columnWidth(RubyTable::kStart), 50);
    QCOMPARE(table()->columnWidth(RubyTable::kEnd), 50);
    QCOMPARE(table()->columnWidth(RubyTable::kKanji), kanji);
    QCOMPARE(table()->columnWidth(RubyTable::kKana), kana);
  }

  void MenusAndKeysInAndOutOfRubyMode() {
    const QList<Command> ruby_only = {Command::MultipleSelect, Command::BatchFill,
                                      Command::CtrlLock,       Command::ExternalEditor,
                                      Command::AutoHint,       Command::Verify,
                                      Command::RubyTable};
    for (Command c : ruby_only) QVERIFY(!window_->action(c)->isEnabled());
    QVERIFY(!window_->action(Command::Encoding)->isEnabled());
    QVERIFY(window_->action(Command::Paste)->isEnabled());
    // A greyed item's key does nothing.
    QTest::keyClick(text(), Qt::Key_T, Qt::ControlModifier);
    QVERIFY(!window_->table_shown());

    QTest::keyClick(text(), Qt::Key_R, Qt::ControlModifier);
    QVERIFY(window_->ruby_mode());
    QVERIFY(window_->table_shown());
    QVERIFY(table()->isVisible());
    QVERIFY(window_->action(Command::RubyMode)->isChecked());
    QVERIFY(!window_->action(Command::RubyMode)->isEnabled());
    QVERIFY(!window_->action(Command::Paste)->isEnabled());
    QVERIFY(!window_->action(Command::Cut)->isEnabled());
    for (Command c : ruby_only) QVERIFY(window_->action(c)->isEnabled());

    QTest::keyClick(text(), Qt::Key_T, Qt::ControlModifier);
    QVERIFY(!window_->table_shown());
    QVERIFY(!window_->action(Command::RubyTable)->isChecked());
    QTest::keyClick(text(), Qt::Key_T, Qt::ControlModifier);
    QVERIFY(window_->table_shown());

    // The toggles keep their values when Ruby Mode goes; only their items are greyed.
    QTest::keyClick(text(), Qt::Key_D, Qt::ControlModifier);  // nothing to delete: no effect
    window_->Dispatch(Command::CtrlLock);
    QVERIFY(window_->action(Command::CtrlLock)->isChecked());
    window_->Dispatch(Command::New);  // nothing to lose: no question
    QVERIFY(prompter_->questions.isEmpty());
    QVERIFY(!window_->ruby_mode());
    QVERIFY(!window_->table_shown());
    QVERIFY(window_->ctrl_lock());
    QVERIFY(!window_->action(Command::CtrlLock)->isEnabled());
  }

  // Every accelerator reaches the dispatcher, also those the text window knows as editing keys
  // on some desktops. Commands not built yet say so.
  void AcceleratorsReachTheDispatcher() {
    const QList<QKeySequence> keys = {QKeySequence(Qt::CTRL | Qt::Key_O),
                                      QKeySequence(Qt::CTRL | Qt::Key_S),
                                      QKeySequence(Qt::CTRL | Qt::Key_E),
                                      QKeySequence(Qt::CTRL | Qt::Key_F),
                                      QKeySequence(Qt::Key_F3),
                                      QKeySequence(Qt::CTRL | Qt::Key_G)};
    for (bool ruby : {false, true}) {
      if (ruby) EnterLyric();
      for (const QKeySequence& key : keys) {
        prompter_->questions.clear();
        prompter_->answers = {Prompter::Answer::Ok};
        QTest::keySequence(text(), key);
        QCOMPARE(prompter_->questions, QStringList{"This command is not available yet."});
      }
    }
    QCOMPARE(text()->toPlainText(), kLyric);
    prompter_->questions.clear();
    prompter_->answers = {Prompter::Answer::Cancel};
    AnnotateWithoutReading(0, 2);
    QTest::keySequence(text(), QKeySequence(Qt::CTRL | Qt::Key_N));
    QCOMPARE(prompter_->questions,
             QStringList{"This will clear current text(including all rubies), proceed?"});
  }

  void TextCannotChangeInRubyMode() {
    EnterLyric();
    QApplication::clipboard()->setText(QStringLiteral("X"));
    text()->SetSelection(0, 2);
    QTest::keyClicks(text(), QStringLiteral("abc"));
    if (QApplication::clipboard()->supportsSelection()) {
      QApplication::clipboard()->setText(QStringLiteral("Y"), QClipboard::Selection);
      QTest::mouseClick(viewport(), Qt::MiddleButton, {}, PointOf(3));
    }
    for (int key : {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Return, Qt::Key_Tab}) {
      QTest::keyClick(text(), static_cast<Qt::Key>(key));
    }
    for (int key : {Qt::Key_V, Qt::Key_X, Qt::Key_Z}) {
      QTest::keyClick(text(), static_cast<Qt::Key>(key), Qt::ControlModifier);
    }
    window_->Dispatch(Command::Paste);
    window_->Dispatch(Command::TextPaste);
    window_->Dispatch(Command::TextCut);
    QInputMethodEvent composition(QString(), {});
    composition.setCommitString(QStringLiteral("あ"));
    QApplication::sendEvent(text(), &composition);
    QCOMPARE(text()->toPlainText(), kLyric);
    QVERIFY(!window_->modified());
    // Ctrl+C still copies.
    text()->SetSelection(0, 2);
    QTest::keyClick(text(), Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QString::fromUtf8("日本"));
  }

  // Any change of the text outside Ruby Mode is a modification, not only typed ASCII.
  void EveryEditOutsideRubyModeSetsModified() {
    const QList<std::pair<const char*, std::function<void(MainWindow&)>>> edits = {
        {"typing a", [](MainWindow& w) { QTest::keyClick(w.text_window(), Qt::Key_A); }},
        {"paste",
         [](MainWindow& w) {
           QApplication::clipboard()->setText(QString::fromUtf8("歌"));
           w.Dispatch(Command::Paste);
         }},
        {"input method",
         [](MainWindow& w) {
           QInputMethodEvent e(QString(), {});
           e.setCommitString(QString::fromUtf8("歌"));
           QApplication::sendEvent(w.text_window(), &e);
         }},
        {"backspace", [](MainWindow& w) { QTest::keyClick(w.text_window(), Qt::Key_Backspace); }},
        {"cut",
         [](MainWindow& w) {
           w.text_window()->SetSelection(0, 2);
           w.Dispatch(Command::Cut);
         }},
    };
    for (const auto& [name, edit] : edits) {
      MakeWindow();
      window_->LoadText(QString::fromUtf8("日本の歌"));
      QVERIFY2(!window_->modified(), name);
      text()->PutCaret(4);
      edit(*window_);
      QVERIFY2(window_->modified(), name);
      QVERIFY2(!window_->action(Command::Encoding)->isEnabled(), name);
    }
    // New clears the flag (after its question).
    prompter_->answers = {Prompter::Answer::Ok};
    window_->Dispatch(Command::New);
    QCOMPARE(prompter_->questions.size(), 1);
    QVERIFY(!window_->modified());
  }

  void CtrlReleaseAnnotatesWithAutoHint() {
    EnterLyric();
    // Without Ctrl the release only selects.
    ReleaseOver(0, 2, Qt::NoModifier);
    QVERIFY(prompter_->dialogs.empty());
    QCOMPARE(text()->SelectionEnd(), 2);

    prompter_->dialog_scripts = {AcceptAsShown()};
    ReleaseOver(0, 2);
    QCOMPARE(prompter_->dialogs.size(), std::size_t{1});
    const DialogSeen& seen = prompter_->dialogs[0];
    QCOMPARE(seen.kanji, QString::fromUtf8("日本"));
    QCOMPARE(seen.kana, QString::fromUtf8("にほん"));  // the best candidate
    QCOMPARE(seen.candidates, QString::fromUtf8("にっぽん,にほん,ひのもと").split(','));
    QCOMPARE(seen.selected_candidate, QString::fromUtf8("にほん"));
    QVERIFY(!seen.stop_enabled);
    QCOMPARE(candidates_->calls.size(), std::size_t{1});
    QCOMPARE(candidates_->calls[0].left, u'_');
    QCOMPARE(candidates_->calls[0].right, u'の');

    const RubyEntry* entry = window_->list().FindById(0);
    QVERIFY(entry);
    QCOMPARE(entry->start, 0);
    QCOMPARE(entry->end, 2);
    QVERIFY(entry->reading == u"にほん");
    QCOMPARE(table()->rowCount(), 1);
    QCOMPARE(Kana(0), QString::fromUtf8("にほん"));
    QCOMPARE(table()->CellText(0, RubyTable::kRubyId), QStringLiteral("0"));
    QCOMPARE(ColourAt(0), kAnnotated);
    QCOMPARE(ColourAt(1), kAnnotated);
    QVERIFY(ColourAt(2) != kAnnotated);
    QVERIFY(!text()->textCursor().hasSelection());
    QCOMPARE(text()->SelectionStart(), 0);  // the caret rests at the run's start
    QCOMPARE(window_->StatusPartText(1), QStringLiteral("Filled/Total:  1/1 rubies"));
  }

  void NeighboursComeFromTheCrLfText() {
    EnterLyric();
    prompter_->dialog_scripts = {Cancel(), Cancel(), Cancel()};
    ReleaseOver(10, 12);  // 本当 at a line start
    ReleaseOver(8, 9);    // 星 at a line end
    ReleaseOver(26, 27);  // 愛 at the end of the text
    // Each unknown run is looked up with its neighbours, then once more by the dialog
    // without them.
    const auto& calls = candidates_->calls;
    QCOMPARE(calls.size(), std::size_t{6});
    QCOMPARE(calls[0].left, u'\n');
    QCOMPARE(calls[0].right, u'の');
    QCOMPARE(calls[1].left, u'_');
    QCOMPARE(calls[1].right, u'_');
    QCOMPARE(calls[2].left, u'る');
    QCOMPARE(calls[2].right, u'\r');
    QCOMPARE(calls[4].left, u'\u3000');
    QCOMPARE(calls[4].right, u'_');
    // Cancelled: nothing added, the selection collapses to its start.
    QVERIFY(window_->list().empty());
    QCOMPARE(text()->SelectionEnd(), 26);
    QCOMPARE(text()->SelectionStart(), 26);
  }

  void CtrlLockAndShiftReleaseAttempt() {
    EnterLyric();
    window_->Dispatch(Command::CtrlLock);
    prompter_->dialog_scripts = {AcceptAs(QString::fromUtf8("よぞら"))};
    ReleaseOver(3, 5, Qt::NoModifier);
    QCOMPARE(prompter_->dialogs.size(), std::size_t{1});
    QVERIFY(window_->list().FindById(0));
    window_->Dispatch(Command::CtrlLock);

    // A keyboard selection, then Shift released.
    text()->PutCaret(10);
    SendKey(QEvent::KeyPress, Qt::Key_Shift, Qt::ShiftModifier);
    for (int i = 0; i < 2; ++i) {
      SendKey(QEvent::KeyPress, Qt::Key_Right, Qt::ShiftModifier);
      SendKey(QEvent::KeyRelease, Qt::Key_Right, Qt::ShiftModifier);
    }
    QCOMPARE(text()->SelectionEnd(), 12);
    QVERIFY(prompter_->dialogs.size() == 1);  // nothing yet while Shift is held
    prompter_->dialog_scripts = {AcceptAs(QString::fromUtf8("ほんとう"))};
    SendKey(QEvent::KeyRelease, Qt::Key_Shift, Qt::NoModifier);
    QCOMPARE(prompter_->dialogs.size(), std::size_t{2});
    QCOMPARE(prompter_->dialogs[1].kanji, QString::fromUtf8("本当"));
    const RubyEntry* entry = window_->list().FindById(1);
    QVERIFY(entry);
    QCOMPARE(entry->start, 10);
    QVERIFY(entry->reading == u"ほんとう");
  }

  void RefusedSelectionsCollapseWithoutDialog() {
    EnterLyric();
    AnnotateWithoutReading(0, 2);
    window_->Dispatch(Command::MultipleSelect);
    const struct {
      const char* name;
      int a, b;
    } refused[] = {{"line break", 8, 11},      {"blank", 22, 25},
                   {"ideographic space", 24, 27}, {"overlap", 1, 3},
                   {"inside an entry", 0, 1}};
    for (const auto& c : refused) {
      ReleaseOver(c.a, c.b);
      QVERIFY2(prompter_->dialogs.empty(), c.name);
      QVERIFY2(!text()->textCursor().hasSelection(), c.name);
      QCOMPARE(text()->SelectionStart(), c.a);
    }
    QCOMPARE(window_->list().total_count(), 1);

    // 31 code units is one too many; 30 still asks.
    MakeWindow();
    EnterLyric(QString(40, QChar(0x6F22)));
    ReleaseOver(0, 31);
    QVERIFY(prompter_->dialogs.empty());
    QCOMPARE(text()->SelectionStart(), 0);
    QVERIFY(!text()->textCursor().hasSelection());
    prompter_->dialog_scripts = {Cancel()};
    ReleaseOver(0, 30);
    QCOMPARE(prompter_->dialogs.size(), std::size_t{1});
    QVERIFY(window_->list().empty());
  }

  void MultipleSelectMakesEntriesWithoutReading() {
    EnterLyric();
    prompter_->dialog_scripts = {AcceptAsShown()};
    ReleaseOver(0, 2);
    window_->Dispatch(Command::MultipleSelect);
    ReleaseOver(3, 5);
    ReleaseOver(10, 12);
    QCOMPARE(prompter_->dialogs.size(), std::size_t{1});
    QCOMPARE(window_->list().total_count(), 3);
    QCOMPARE(window_->list().filled_count(), 1);
    QCOMPARE(window_->StatusPartText(1), QStringLiteral("Filled/Total:  1/3 rubies"));
    QCOMPARE(Kana(2), QString());
    QCOMPARE(ColourAt(10), kAnnotated);
  }

  void RowsStaySortedByStart() {
    EnterLyric();
    AnnotateWithoutReading(10, 12);
    AnnotateWithoutReading(0, 2);
    AnnotateWithoutReading(17, 18);
    QStringList ids, starts;
    for (int row = 0; row < 3; ++row) {
      ids << table()->CellText(row, RubyTable::kRubyId);
      starts << table()->CellText(row, RubyTable::kStart);
    }
    QCOMPARE(ids, (QStringList{"1", "0", "2"}));
    QCOMPARE(starts, (QStringList{"0", "10", "17"}));
    // The newest row is the selected one.
    QCOMPARE(table()->SelectedRows(), std::vector<int>{2});
  }

  void CaretMovesHighlightTheCurrentEntry() {
    EnterLyric();
    AnnotateWithoutReading(0, 2);
    AnnotateWithoutReading(3, 5);
    text()->PutCaret(6);
    QTest::keyClick(text(), Qt::Key_Left);  // caret 5: just after 夜空 still counts
    QVERIFY(MarkedCurrent(3));
    QVERIFY(MarkedCurrent(4));
    QVERIFY(!MarkedCurrent(0));
    QCOMPARE(table()->SelectedRows(), std::vector<int>{1});
    QTest::keyClick(text(), Qt::Key_Home);
    QVERIFY(MarkedCurrent(0));
    QVERIFY(!MarkedCurrent(3));
    QCOMPARE(table()->SelectedRows(), std::vector<int>{0});
    QCOMPARE(ColourAt(3), kAnnotated);  // the colour stays
    QTest::keyClick(text(), Qt::Key_End);
    QVERIFY(!MarkedCurrent(0));
    QVERIFY(!MarkedCurrent(3));
    // A click on a run makes it current too.
    QTest::mouseClick(viewport(), Qt::LeftButton, {}, PointOf(4));
    QVERIFY(MarkedCurrent(3));
  }

  void DeleteKeyRemovesEveryEntryInTheSelection() {
    EnterLyric();
    AnnotateWithoutReading(0, 2);
    AnnotateWithoutReading(3, 5);
    AnnotateWithoutReading(10, 12);
    AnnotateWithoutReading(17, 18);
    text()->SetSelection(1, 12);
    QTest::keyClick(text(), Qt::Key_D, Qt::ControlModifier);
    QCOMPARE(window_->list().total_count(), 1);
    QCOMPARE(table()->rowCount(), 1);
    QCOMPARE(table()->CellText(0, RubyTable::kStart), QStringLiteral("17"));
    for (int p : {0, 1, 3, 4, 10, 11}) {
      QCOMPARE(ColourAt(p), QColor(Qt::black));
      QVERIFY(!MarkedCurrent(p));
    }
    QCOMPARE(ColourAt(17), kAnnotated);
    QVERIFY(!text()->textCursor().hasSelection());
    QCOMPARE(text()->SelectionStart(), 12);
    QCOMPARE(window_->StatusPartText(1), QStringLiteral("Filled/Total:  0/1 rubies"));
    // F9 does the same.
    text()->PutCaret(18);
    QTest::keyClick(text(), Qt::Key_F9);
    QVERIFY(window_->list().empty());
  }

  void PronounceKeyAsksForEachEntryIncludingTouchingOnes() {
    EnterLyric();
    AnnotateWithoutReading(0, 2);
    AnnotateWithoutReading(2, 3);  // touches the first
    AnnotateWithoutReading(3, 5);
    text()->SetSelection(0, 5);
    prompter_->dialog_scripts = {AcceptAs("a"), AcceptAs("b"), AcceptAs("c")};
    QTest::keyClick(text(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(prompter_->dialogs.size(), std::size_t{3});
    QCOMPARE(prompter_->dialogs[1].kanji, QString::fromUtf8("の"));
    QCOMPARE(window_->list().filled_count(), 3);
    QCOMPARE(Kana(1), QStringLiteral("b"));
    QCOMPARE(text()->SelectionStart(), 5);
  }

  void DoubleClickPronouncesOnlyInRubyMode() {
    text()->setPlainText(kLyric);
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, PointOf(4));
    QVERIFY(!text()->textCursor().hasSelection());  // no word selected
    QVERIFY(prompter_->dialogs.empty());

    window_->Dispatch(Command::RubyMode);
    AnnotateWithoutReading(3, 5);
    prompter_->dialog_scripts = {AcceptAs(QString::fromUtf8("よぞら"))};
    QTest::mouseDClick(viewport(), Qt::LeftButton, {}, PointOf(4));
    QCOMPARE(prompter_->dialogs.size(), std::size_t{1});
    QCOMPARE(prompter_->dialogs[0].kanji, QString::fromUtf8("夜空"));
    // With Auto Hint on the dialog finds its own candidates, here without neighbours.
    QCOMPARE(prompter_->dialogs[0].selected_candidate, QString::fromUtf8("よぞら"));
    QCOMPARE(candidates_->calls.back().left, u'_');
    QCOMPARE(candidates_->calls.back().right, u'_');
    QCOMPARE(Kana(0), QString::fromUtf8("よぞら"));
  }

  void TextPopUpGreying() {
    text()->setPlainText(kLyric);
    text()->SetSelection(6, 8);
    QTest::mouseClick(viewport(), Qt::RightButton, {}, PointOf(7));
    QVERIFY(prompter_->menu_enabled.at("Cut"));
    QVERIFY(prompter_->menu_enabled.at("Paste"));
    QVERIFY(prompter_->menu_enabled.at("Undo"));
    QVERIFY(!prompter_->menu_enabled.at("Delete"));

    window_->Dispatch(Command::RubyMode);
    AnnotateWithoutReading(3, 5);
    text()->SetSelection(6, 8);
    QTest::mouseClick(viewport(), Qt::RightButton, {}, PointOf(7));
    const std::map<QString, bool> expected = {
        {"Undo", false},  {"Cut", false},    {"Copy", true},        {"Paste", false},
        {"Select All", true}, {"Delete", false}, {"Pronunce...", false}};
    QCOMPARE(prompter_->menu_enabled, expected);

    // A selection that ends where an entry ends touches it; choosing Delete removes it.
    text()->SetSelection(5, 8);
    prompter_->menu_scripts = {Choose("Delete")};
    QTest::mouseClick(viewport(), Qt::RightButton, {}, PointOf(7));
    QVERIFY(prompter_->menu_enabled.at("Delete"));
    QVERIFY(prompter_->menu_enabled.at("Pronunce..."));
    QVERIFY(window_->list().empty());
  }

  void TableClickSelectsTheEntry() {
    EnterLyric();
    AnnotateWithoutReading(0, 2);
    AnnotateWithoutReading(10, 12);
    const QRect r = table()->visualRect(table()->model()->index(0, 0));
    QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, r.center());
    QVERIFY(MarkedCurrent(0));
    QCOMPARE(text()->SelectionStart(), 2);
    prompter_->dialog_scripts = {AcceptAs("x")};
    QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, r.center());
    QCOMPARE(prompter_->dialogs.size(), std::size_t{1});
    QCOMPARE(Kana(0), QStringLiteral("x"));
  }

  void TablePopUpAndClear() {
    EnterLyric();
    AnnotateWithoutReading(0, 2);
    AnnotateWithoutReading(10, 12);
    table()->clearSelection();
    RightClickTable(1);
    QVERIFY(!prompter_->menu_enabled.at("Delete"));
    QVERIFY(!prompter_->menu_enabled.at("Pronunce..."));
    QVERIFY(prompter_->menu_enabled.at("Clear"));
    QVERIFY(table()->SelectedRows().empty());  // the right click selects nothing

    prompter_->menu_scripts = {Choose("Clear")};
    prompter_->answers = {Prompter::Answer::No};
    RightClickTable(0);
    QCOMPARE(prompter_->questions, QStringList{"Clear all rubies?"});
    QCOMPARE(table()->rowCount(), 2);
    QCOMPARE(window_->list().total_count(), 2);

    prompter_->menu_scripts = {Choose("Clear")};
    prompter_->answers = {Prompter::Answer::Yes};
    RightClickTable(0);
    QCOMPARE(table()->rowCount(), 0);
    QVERIFY(window_->list().empty());
    QCOMPARE(window_->StatusPartText(1), QStringLiteral("Filled/Total:  0/0 rubies"));
    QCOMPARE(ColourAt(0), QColor(Qt::black));
    QCOMPARE(ColourAt(11), QColor(Qt::black));
    // Identifiers start again from 0.
    AnnotateWithoutReading(3, 5);
    QCOMPARE(table()->CellText(0, RubyTable::kRubyId), QStringLiteral("0"));

    // Entries made from outside (an import) get their colour from RefreshMarks.
    window_->list().FillBase(u"本当");
    window_->list().Insert(10, 12);
    QCOMPARE(ColourAt(10), QColor(Qt::black));
    window_->RefreshMarks();
    QCOMPARE(ColourAt(10), kAnnotated);
    QCOMPARE(ColourAt(11), kAnnotated);
    QCOMPARE(ColourAt(12), QColor(Qt::black));
    QCOMPARE(text()->SelectionStart(), 0);
  }

  void TableDeleteRemovesSelectedRows() {
    EnterLyric();
    AnnotateWithoutReading(0, 2);
    AnnotateWithoutReading(3, 5);
    AnnotateWithoutReading(10, 12);
    table()->clearSelection();
    table()->selectionModel()->select(table()->model()->index(0, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    table()->selectionModel()->select(table()->model()->index(2, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    prompter_->menu_scripts = {Choose("Delete")};
    RightClickTable(1);
    QCOMPARE(table()->rowCount(), 1);
    QCOMPARE(table()->CellText(0, RubyTable::kStart), QStringLiteral("3"));
    QCOMPARE(ColourAt(0), QColor(Qt::black));
    QCOMPARE(ColourAt(10), QColor(Qt::black));
    QCOMPARE(ColourAt(3), kAnnotated);
  }

  void TablePronunceAsksTopToBottomAndCancelSkipsOne() {
    EnterLyric();
    AnnotateWithoutReading(10, 12);
    AnnotateWithoutReading(0, 2);
    AnnotateWithoutReading(17, 18);
    table()->selectAll();
    prompter_->menu_scripts = {Choose("Pronunce...")};
    prompter_->dialog_scripts = {AcceptAs("a"), Cancel(), AcceptAs("c")};
    RightClickTable(0);
    QCOMPARE(prompter_->dialogs.size(), std::size_t{3});
    QCOMPARE(prompter_->dialogs[0].kanji, QString::fromUtf8("日本"));
    QCOMPARE(prompter_->dialogs[1].kanji, QString::fromUtf8("本当"));
    QCOMPARE(prompter_->dialogs[2].kanji, QString::fromUtf8("伝"));
    QCOMPARE(Kana(0), QStringLiteral("a"));
    QCOMPARE(Kana(1), QString());
    QCOMPARE(Kana(2), QStringLiteral("c"));
    QCOMPARE(window_->list().filled_count(), 2);
    // Reopened on a filled entry, the dialog shows its reading and preselects that candidate.
    window_->list().FindById(1)->reading = u"にっぽん";
    table()->clearSelection();
    table()->selectRow(0);
    prompter_->menu_scripts = {Choose("Pronunce...")};
    prompter_->dialog_scripts = {AcceptAsShown()};
    RightClickTable(0);
    QCOMPARE(prompter_->dialogs.back().kana, QString::fromUtf8("にっぽん"));
    QCOMPARE(prompter_->dialogs.back().selected_candidate, QString::fromUtf8("にっぽん"));
  }

  void BatchFillSkipsFilledAndStops() {
    EnterLyric(kLyric + QString::fromUtf8("\nひら仮名"));
    AnnotateWithoutReading(0, 2);
    AnnotateWithoutReading(3, 5);
    AnnotateWithoutReading(10, 12);
    AnnotateWithoutReading(17, 18);
    window_->list().FindById(1)->reading = u"よぞら";  // already filled
    prompter_->dialog_scripts = {AcceptAsShown(), Stop()};
    window_->Dispatch(Command::BatchFill);
    QCOMPARE(prompter_->dialogs.size(), std::size_t{2});
    QCOMPARE(prompter_->dialogs[0].kanji, QString::fromUtf8("日本"));
    QVERIFY(prompter_->dialogs[0].stop_enabled);
    QCOMPARE(prompter_->dialogs[0].kana, QString::fromUtf8("にほん"));
    QCOMPARE(prompter_->dialogs[1].kanji, QString::fromUtf8("本当"));
    QCOMPARE(Kana(0), QString::fromUtf8("にほん"));
    QCOMPARE(Kana(2), QString());
    QCOMPARE(Kana(3), QString());  // never asked

    // Cancel skips just that entry; Auto Hint off leaves the candidate list disabled.
    window_->Dispatch(Command::AutoHint);
    prompter_->dialog_scripts = {Cancel(), AcceptAs("つた")};
    window_->Dispatch(Command::BatchFill);
    QCOMPARE(prompter_->dialogs.size(), std::size_t{4});
    QVERIFY(!prompter_->dialogs[2].candidates_enabled);
    QCOMPARE(Kana(2), QString());
    QCOMPARE(Kana(3), QString::fromUtf8("つた"));

    // A base that is not all kanji gets no candidates even with Auto Hint on.
    window_->Dispatch(Command::AutoHint);
    AnnotateWithoutReading(kLyric.size() + 1, kLyric.size() + 5);
    prompter_->dialog_scripts = {Cancel(), Cancel()};
    window_->Dispatch(Command::BatchFill);
    QCOMPARE(prompter_->dialogs.back().kanji, QString::fromUtf8("ひら仮名"));
    QVERIFY(!prompter_->dialogs.back().candidates_enabled);
  }

  void PronunceDialogCandidatePickAndLimits() {
    PronunceState state;
    state.base = u"日本";
    state.accepted = true;
    common::RememberedPlace place;
    PronunceDialog dialog(window_.get(), state, candidates_.get(), window_->dialog_font(),
                          window_.get(), place);
    QVERIFY(!dialog.stop_button()->isEnabled());
    QVERIFY(!state.candidates);  // released outside a series
    dialog.candidate_box()->setCurrentIndex(0);
    QCOMPARE(dialog.kana_edit()->text(), QString::fromUtf8("にっぽん"));
    QCOMPARE(dialog.kana_edit()->selectedText(), QString::fromUtf8("にっぽん"));
    dialog.kana_edit()->setText(QString(70, QChar(u'あ')));
    dialog.ok_button()->click();
    QCOMPARE(state.reading.size(), std::size_t{63});
    QVERIFY(state.accepted);

    // A reading cut at 63 code units never ends in half a surrogate pair.
    PronunceDialog again(window_.get(), state, nullptr, window_->dialog_font(), window_.get(),
                         place);
    again.kana_edit()->setText(QString(62, QChar(u'あ')) + QString::fromUtf8("𠀋"));
    again.ok_button()->click();
    QCOMPARE(state.reading.size(), std::size_t{62});
  }

  void DialogOpensCentredThenWhereItWasClosed() {
    EnterLyric();
    window_->move(120, 80);
    QTRY_COMPARE(window_->pos(), QPoint(120, 80));
    QRect dialog_rect;
    prompter_->dialog_scripts = {[&](PronunceDialog& d) {
      dialog_rect = d.frameGeometry();
      d.move(10, 20);
      d.ok_button()->click();
    }};
    ReleaseOver(0, 2);
    const QRect owner = window_->frameGeometry();
    QCOMPARE(dialog_rect.left(), (owner.left() + owner.left() + owner.width()) / 2 -
                                     dialog_rect.width() / 2);
    QCOMPARE(dialog_rect.top(), (owner.top() + owner.top() + owner.height()) / 2 -
                                    dialog_rect.height() / 2);
    window_->move(300, 200);
    QPoint reopened;
    prompter_->dialog_scripts = {[&](PronunceDialog& d) {
      reopened = d.pos();
      d.cancel_button()->click();
    }};
    ReleaseOver(3, 5);
    QCOMPARE(reopened, QPoint(10, 20));
  }

  void NewAsksBeforeLosingAnnotations() {
    EnterLyric();
    AnnotateWithoutReading(0, 2);
    prompter_->answers = {Prompter::Answer::Cancel};
    window_->Dispatch(Command::New);
    QCOMPARE(prompter_->questions,
             QStringList{"This will clear current text(including all rubies), proceed?"});
    QVERIFY(window_->ruby_mode());
    QCOMPARE(window_->list().total_count(), 1);
    QCOMPARE(text()->toPlainText(), kLyric);

    prompter_->answers = {Prompter::Answer::Ok};
    window_->Dispatch(Command::New);
    QVERIFY(!window_->ruby_mode());
    QVERIFY(window_->list().empty());
    QCOMPARE(table()->rowCount(), 0);
    QVERIFY(text()->toPlainText().isEmpty());
    QVERIFY(!window_->modified());
    QCOMPARE(window_->StatusPartText(2), QStringLiteral("Ln 1, Col 1"));
  }

  void FontCancelKeepsAndOkReplaces() {
    const QFont before = text()->font();
    window_->Dispatch(Command::Font);
    QCOMPARE(text()->font(), before);
    prompter_->font_answer = true;
    prompter_->font_to_choose = QFont(QStringLiteral("IPAPGothic"), 20);
    window_->Dispatch(Command::Font);
    QCOMPARE(text()->font().pointSize(), 20);
  }

  void CloseBoxIsExit() {
    QTest::keyClick(text(), Qt::Key_A);
    prompter_->answers = {Prompter::Answer::Cancel};
    window_->close();
    QCOMPARE(prompter_->questions, QStringList{"Do you want to save the changes?"});
    QVERIFY(window_->isVisible());
    prompter_->answers = {Prompter::Answer::No};
    window_->close();
    QVERIFY(!window_->isVisible());
  }

  void EmbeddedDictionaryGivesAutoHint() {
    DictionaryCandidates dictionary;
    const TableStatus loaded = dictionary.Load();
    QVERIFY2(loaded.ok, loaded.message.c_str());
    const auto readings = dictionary.Lookup(u'_', u"日本", u'の');
    QVERIFY(readings && !readings->empty());
    QVERIFY(std::find(readings->begin(), readings->end(), u"にほん") != readings->end());
    QVERIFY(!dictionary.Lookup(u'_', u"ひら仮名", u'_'));
  }

  void NotateWalksTheTextThroughTheWindow() {
    DictionaryCandidates dictionary;
    QVERIFY(dictionary.Load().ok);
    FakePrompter prompter;
    MainWindow window(&prompter, &dictionary);
    window.show();
    window.LoadText(QString::fromUtf8("日本の夜空\n心"));
    // Outside Ruby Mode, Notate switches it on first; Auto asks nothing.
    window.Dispatch(Command::Notate);
    QVERIFY(window.ruby_mode());
    QVERIFY(window.table_shown());
    QVERIFY(prompter.dialogs.empty());
    QCOMPARE(window.list().total_count(), 3);
    QCOMPARE(window.list().filled_count(), 3);
    QCOMPARE(window.table()->rowCount(), 3);
    QCOMPARE(window.text_window()->FormatAt(3).foreground().color(), kAnnotated);
    QCOMPARE(window.text_window()->FormatAt(6).foreground().color(), kAnnotated);
    QCOMPARE(window.text_window()->FormatAt(2).fontWeight(), int(QFont::Normal));

    // Manual asks for every run; Stop ends the walk at once, with Stop enabled in the dialog.
    window.table()->selectAll();
    prompter.menu_scripts = {Choose("Clear")};
    prompter.answers = {Prompter::Answer::Yes};
    const QRect r = window.table()->visualRect(window.table()->model()->index(0, 0));
    QTest::mouseClick(window.table()->viewport(), Qt::RightButton, {}, r.center());
    QVERIFY(window.list().empty());
    window.Dispatch(Command::ModeManual);
    prompter.dialog_scripts = {AcceptAsShown(), Stop()};
    window.Dispatch(Command::Notate);
    QCOMPARE(prompter.dialogs.size(), std::size_t{2});
    QVERIFY(prompter.dialogs[0].stop_enabled);
    QCOMPARE(prompter.dialogs[0].kanji, QString::fromUtf8("日本"));
    QVERIFY(prompter.dialogs[0].candidates.contains(QString::fromUtf8("にほん")));
    QCOMPARE(window.list().total_count(), 1);
    QCOMPARE(prompter.unexpected, 0);
  }

  void VersionHistoryShowsTheHistoryAndRemembersItsPlace() {
    QString caption, history;
    int result = -1;
    prompter_->other_dialog_script = [&](QDialog& dialog) {
      auto& d = static_cast<common::qt::VersionHistoryDialog&>(dialog);
      caption = d.windowTitle();
      history = d.text()->toPlainText();
      d.move(30, 40);
      d.okButton()->click();
      result = d.result();
    };
    window_->Dispatch(Command::VersionHistory);
    QCOMPARE(caption, QStringLiteral("Version History"));
    QCOMPARE(result, int(QDialog::Accepted));
    const QStringList lines = history.split('\n');
    QVERIFY(QRegularExpression(R"(^Orvi \d+\.\d+  -  \d{4}\.\d{2}\.\d{2}$)")
                .match(lines[0])
                .hasMatch());
    QVERIFY(lines[1].startsWith('*'));
    QVERIFY(lines.contains(QString()));  // blocks are separated by an empty line
    QCOMPARE(window_->places().version_history.x, 30);
    QCOMPARE(window_->places().version_history.y, 40);
  }

  void AlwaysOnTopKeepsTheRectangle() {
    const QRect before = window_->geometry();
    window_->Dispatch(Command::AlwaysOnTop);
    QVERIFY(window_->always_on_top());
    QVERIFY(window_->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(window_->action(Command::AlwaysOnTop)->isChecked());
    QCOMPARE(window_->geometry(), before);
    window_->Dispatch(Command::AlwaysOnTop);
    QVERIFY(!(window_->windowFlags() & Qt::WindowStaysOnTopHint));
  }
};

QTEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
