#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>

#include "common/qt/link_label.h"
#include "common/qt/picture_label.h"
#include "common/qt/version_history_dialog.h"
#include "converter/app/advanced_options_dialog.h"
#include "converter/app/main_dialog.h"
#include "converter/app/prompts.h"
#include "converter/app/save_dialog.h"
#include "converter/app/select_encoding_dialog.h"
#include "converter/app/status_window.h"
#include "converter/app/version_history.h"

using quenlite::app::AdvancedOptionsDialog;
using quenlite::app::MainDialog;
using quenlite::app::SaveDialog;
using quenlite::app::SelectEncodingDialog;

namespace {

// Answers the platform dialogs as a test sets them up, and records what was asked.
class FakePrompts : public quenlite::app::Prompts {
 public:
  QStringList files;
  QString folder;
  QString save_file;
  bool yes = false;
  QStringList folder_titles;
  QStringList questions;
  QList<QUrl> opened;

  QStringList ChooseSourceFiles(QWidget*) override { return files; }
  QString ChooseFolder(QWidget*, const QString& title) override {
    folder_titles << title;
    return folder;
  }
  QString ChooseSaveFile(QWidget*, const QString&) override { return save_file; }
  bool AskYesNo(QWidget*, const QString& caption, const QString& text) override {
    questions << caption + QLatin1Char('|') + text;
    return yes;
  }
  void OpenUrl(const QUrl& url) override { opened << url; }
};

// Runs `handler` on the next `limit` modal dialogs of type T that come up while this object
// lives; each dialog is handled once.
template <typename T>
class ModalHandler {
 public:
  explicit ModalHandler(std::function<void(T*)> handler, int limit = 1)
      : handler_(std::move(handler)) {
    timer_.setInterval(5);
    QObject::connect(&timer_, &QTimer::timeout, [this, limit] {
      auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
      if (dialog == nullptr || !dialog->isVisible() || dialog->property("handled").toBool()) return;
      dialog->setProperty("handled", true);
      if (++count == limit) timer_.stop();
      handler_(dialog);
      // A handler that failed part-way leaves its dialog open: end it so the test goes on.
      if (dialog->isVisible()) {
        QTest::qFail("the dialog was left open", __FILE__, __LINE__);
        dialog->done(QDialog::Rejected);
      }
    });
    timer_.start();
  }
  int count = 0;

 private:
  std::function<void(T*)> handler_;
  QTimer timer_;
};

QString NameOf(common::CodePage cp) {
  return QString::fromStdU16String(common::CodePageDisplayName(cp));
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

QByteArray ReadFile(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll();
}

QStringList LogLines(const MainDialog& dialog) {
  QStringList out;
  const QListWidget* list = dialog.statusWindow()->list();
  for (int i = 0; i < list->count(); ++i) out << list->item(i)->text();
  return out;
}

void RunAndWait(MainDialog& dialog) {
  QSignalSpy done(&dialog, &MainDialog::batchFinished);
  dialog.controls().start->click();
  QVERIFY(done.wait(20000));
}

void Choose(QComboBox* box, int index) {
  box->setCurrentIndex(index);
  emit box->activated(index);
}

}  // namespace

class QuenliteAppTest : public QObject {
  Q_OBJECT

 private slots:
  void startupState();
  void tagAndFormatConversionExcludeEachOther();
  void contentConversionOffAndOn();
  void resetRestoresStartState();
  void sourceAndDestinationBoxes();
  void modeSwitchAndFolders();
  void dropSelectsSource();
  void advancedOptionsPairsAndLink();
  void historyAndAdvancedShareAPlace();
  void selectEncodingDialog();
  void batchLogLinesInStatusWindow();
  void toAllSkipAcrossTwoExisting();
  void renameToExistingAnsweredNoThenYes();
  void saveDialogOnlyClosesThroughItsButtons();
  void statusWindowLayoutAndFollowing();
  void linksOpenPages();
};

void QuenliteAppTest::startupState() {
  FakePrompts prompts;
  MainDialog dialog(prompts);
  dialog.show();
  const auto& c = dialog.controls();
  QCOMPARE(dialog.windowTitle(), QString::fromUtf8("Quenlite ☆ For vexa"));
  QVERIFY(c.from_files->isChecked());
  QVERIFY(!c.from_directory->isChecked());
  QVERIFY(c.recursive->isChecked());
  QVERIFY(!c.recursive->isEnabled());
  struct Box {
    QCheckBox* box;
    bool checked;
  };
  for (const Box& b : {Box{c.show_status, false}, Box{c.content_conversion, true},
                       Box{c.file_name_conversion, false}, Box{c.format_conversion, false},
                       Box{c.tag_type_conversion, false}, Box{c.split_album, false},
                       Box{c.auto_rename, true}, Box{c.force_unicode, true},
                       Box{c.add_break, true}})
    QVERIFY2(b.box->isChecked() == b.checked, qPrintable(b.box->text()));
  QVERIFY(!c.add_break->isEnabled());
  QCOMPARE(c.source_encoding->text(), NameOf(932));
  QCOMPARE(c.destination_encoding->text(), NameOf(936));
  QVERIFY(c.source_encoding_button->isEnabled());
  QVERIFY(!c.start->isEnabled());
  QVERIFY(!c.source_format->isEnabled());
  QVERIFY(!c.destination_tag_type->isEnabled());
  QCOMPARE(c.destination_tag_type->currentText(), QStringLiteral("None"));
  QCOMPARE(c.more->text(), QStringLiteral("more ..."));
  QVERIFY(!dialog.statusWindow()->isVisible());
  QVERIFY(c.source_browse->isDefault());
  QCOMPARE(c.progress->value(), 0);

  // Esc leaves the main dialog open; typing into a path box changes nothing.
  QTest::keyClick(&dialog, Qt::Key_Escape);
  QVERIFY(dialog.isVisible());
  QTest::keyClicks(c.source_path, QStringLiteral("abc"));
  QVERIFY(c.source_path->text().isEmpty());
  QVERIFY(dialog.selection().source_folder.empty());

  // Enter acts on the source "..."; the close box closes the dialog.
  prompts.files = {QDir::tempPath() + QStringLiteral("/song.lrc")};
  QTest::keyClick(&dialog, Qt::Key_Return);
  QCOMPARE(c.source_path->text(), prompts.files.front());
  QVERIFY(dialog.close());
  QVERIFY(!dialog.isVisible());
}

void QuenliteAppTest::tagAndFormatConversionExcludeEachOther() {
  FakePrompts prompts;
  MainDialog dialog(prompts);
  const auto& c = dialog.controls();

  c.tag_type_conversion->click();
  QVERIFY(c.source_tag_type->isEnabled());
  QVERIFY(c.destination_tag_type->isEnabled());
  QVERIFY(!c.add_break->isEnabled());  // destination tag type "None"
  Choose(c.destination_tag_type, 1);
  QCOMPARE(dialog.settings().destination_tag_type, common::ConverterTagType::Html);
  QVERIFY(c.add_break->isEnabled());
  c.add_break->click();
  QVERIFY(!dialog.settings().add_break_at_line_ends);
  Choose(c.destination_tag_type, 3);
  QVERIFY(!c.add_break->isEnabled());
  Choose(c.destination_tag_type, 1);
  QVERIFY(c.add_break->isEnabled());

  // Format conversion on switches tag conversion off, and the other way round.
  c.format_conversion->click();
  QVERIFY(dialog.settings().format_conversion);
  QVERIFY(!dialog.settings().tag_type_conversion);
  QVERIFY(!c.tag_type_conversion->isChecked());
  QVERIFY(!c.source_tag_type->isEnabled());
  QVERIFY(!c.destination_tag_type->isEnabled());
  QVERIFY(!c.add_break->isEnabled());
  QVERIFY(c.destination_format->isEnabled());

  c.tag_type_conversion->click();
  QVERIFY(!dialog.settings().format_conversion);
  QVERIFY(!c.format_conversion->isChecked());
  QVERIFY(!c.source_format->isEnabled());
  QVERIFY(c.add_break->isEnabled());  // HTML Tags still chosen
}

void QuenliteAppTest::contentConversionOffAndOn() {
  FakePrompts prompts;
  MainDialog dialog(prompts);
  dialog.show();
  const auto& c = dialog.controls();
  const common::CodePage ansi = common::AnsiCodePage();

  // Pick Big5 as the source code page through the Select Encoding dialog.
  ModalHandler<SelectEncodingDialog> pick([](SelectEncodingDialog* d) {
    d->button(QStringLiteral("B I G 5"))->click();
    d->button(QStringLiteral("OK"))->click();
  });
  c.source_encoding_button->click();
  QCOMPARE(pick.count, 1);
  QCOMPARE(dialog.settings().source_code_page, 950u);
  QCOMPARE(c.source_encoding->text(), NameOf(950));

  c.content_conversion->click();
  QCOMPARE(dialog.settings().source_code_page, ansi);
  QCOMPARE(dialog.settings().destination_code_page, ansi);
  QCOMPARE(c.source_encoding->text(), c.destination_encoding->text());
  QVERIFY(!c.source_encoding->isEnabled());
  QVERIFY(!c.destination_encoding_button->isEnabled());
  c.file_name_conversion->click();
  QVERIFY(c.source_encoding->isEnabled());
  QVERIFY(c.destination_encoding_button->isEnabled());
  c.file_name_conversion->click();

  c.content_conversion->click();
  QCOMPARE(dialog.settings().source_code_page, 950u);
  QCOMPARE(dialog.settings().destination_code_page, 936u);
  QCOMPARE(c.destination_encoding->text(), NameOf(936));
  QVERIFY(c.source_encoding->isEnabled());
}

void QuenliteAppTest::resetRestoresStartState() {
  QTemporaryDir dir;
  FakePrompts prompts;
  prompts.files = {dir.filePath(QStringLiteral("song.lrc"))};
  MainDialog dialog(prompts);
  dialog.show();
  const auto& c = dialog.controls();
  c.source_browse->click();
  QVERIFY(c.start->isEnabled());
  c.content_conversion->click();  // saves 932/936
  c.format_conversion->click();
  c.split_album->click();
  c.show_status->click();
  QVERIFY(dialog.statusWindow()->isVisible());
  ModalHandler<AdvancedOptionsDialog> upper([](AdvancedOptionsDialog* d) {
    d->box(AdvancedOptionsDialog::kUpper)->click();
    d->accept();
  });
  c.more->clicked();
  QCOMPARE(c.more->text(), QStringLiteral("(activated) more ..."));

  c.reset->click();
  const quenlite::Settings fresh;
  const quenlite::Settings& s = dialog.settings();
  QCOMPARE(s.show_status_window, false);
  QCOMPARE(s.encoding_conversion_with_content, true);
  QCOMPARE(s.format_conversion, false);
  QCOMPARE(s.split_album_name, false);
  QCOMPARE(s.advanced.Active(), false);
  // Content conversion comes back on without restoring the ANSI pair: the start code pages.
  QCOMPARE(s.source_code_page, fresh.source_code_page);
  QCOMPARE(s.destination_code_page, fresh.destination_code_page);
  QVERIFY(!dialog.statusWindow()->isVisible());
  QVERIFY(!c.show_status->isChecked());
  QCOMPARE(c.more->text(), QStringLiteral("more ..."));
  QVERIFY(c.source_path->text().isEmpty());
  QVERIFY(c.destination_path->text().isEmpty());
  QVERIFY(!c.start->isEnabled());
  QVERIFY(!c.format_conversion->isChecked());
  QVERIFY(c.content_conversion->isChecked());

  // The next opening of Advanced Options shows nothing selected.
  bool any_checked = true;
  ModalHandler<AdvancedOptionsDialog> look([&](AdvancedOptionsDialog* d) {
    any_checked = false;
    for (int f = 0; f < AdvancedOptionsDialog::kFlagCount; ++f)
      any_checked = any_checked || d->box(static_cast<AdvancedOptionsDialog::Flag>(f))->isChecked();
    d->reject();
  });
  c.more->clicked();
  QVERIFY(!any_checked);
}

void QuenliteAppTest::sourceAndDestinationBoxes() {
  QTemporaryDir dir;
  const QString folder = dir.path() + QLatin1Char('/');
  FakePrompts prompts;
  prompts.files = {folder + QString::fromUtf8("歌詞.lrc")};
  MainDialog dialog(prompts);
  const auto& c = dialog.controls();
  c.progress->setValue(0);

  c.source_browse->click();
  QCOMPARE(c.source_path->text(), folder + QString::fromUtf8("歌詞.lrc"));
  QCOMPARE(c.destination_path->text(), folder + QString::fromUtf8("_quenlite_歌詞.lrc"));
  QVERIFY(c.start->isEnabled());

  // The destination name follows the lyric format and the naming options at once.
  c.format_conversion->click();
  Choose(c.destination_format, 1);
  QCOMPARE(c.destination_path->text(), folder + QString::fromUtf8("_quenlite_歌詞.kra"));
  Choose(c.destination_format, 0);
  QCOMPARE(c.destination_path->text(), folder + QString::fromUtf8("_quenlite_歌詞.txt"));
  c.auto_rename->click();
  QCOMPARE(c.destination_path->text(), folder + QString::fromUtf8("歌詞.txt"));

  // A destination file chosen in the save dialog; choosing the source again regenerates it.
  prompts.save_file = folder + QStringLiteral("out/picked.txt");
  c.destination_browse->click();
  QCOMPARE(c.destination_path->text(), folder + QStringLiteral("out/picked.txt"));
  QVERIFY(prompts.folder_titles.isEmpty());
  c.source_browse->click();
  QCOMPARE(c.destination_path->text(), folder + QStringLiteral("out/") + QString::fromUtf8("歌詞.txt"));

  // Several files: both boxes count them, and the destination is chosen as a folder.
  prompts.files = {folder + QStringLiteral("a.txt"), folder + QStringLiteral("b.cue"),
                   folder + QStringLiteral("c.kra")};
  c.progress->setRange(0, 3);
  c.progress->setValue(3);
  c.source_browse->click();
  QCOMPARE(c.progress->value(), 0);
  QCOMPARE(c.source_path->text(), folder + QStringLiteral("{3 files}"));
  QCOMPARE(c.destination_path->text(), folder + QStringLiteral("out/{3 files}"));
  prompts.folder = dir.path() + QStringLiteral("/dest");
  c.destination_browse->click();
  QCOMPARE(prompts.folder_titles, QStringList{QStringLiteral("Please choose the destination folder:")});
  QCOMPARE(c.destination_path->text(), dir.path() + QStringLiteral("/dest/{3 files}"));

  // A cancelled dialog changes nothing.
  prompts.files.clear();
  c.source_browse->click();
  QCOMPARE(c.source_path->text(), folder + QStringLiteral("{3 files}"));
}

void QuenliteAppTest::modeSwitchAndFolders() {
  QTemporaryDir dir;
  const QString folder = dir.path() + QLatin1Char('/');
  FakePrompts prompts;
  prompts.files = {folder + QStringLiteral("a.txt"), folder + QStringLiteral("b.txt")};
  MainDialog dialog(prompts);
  const auto& c = dialog.controls();
  c.source_browse->click();
  QVERIFY(c.start->isEnabled());

  // Another mode empties the source side only.
  c.from_directory->click();
  QVERIFY(c.source_path->text().isEmpty());
  QVERIFY(!c.start->isEnabled());
  QVERIFY(c.recursive->isEnabled());
  QVERIFY(dialog.selection().DestinationSet());

  prompts.folder = dir.path() + QStringLiteral("/lyrics");
  c.source_browse->click();
  QCOMPARE(prompts.folder_titles.last(), QStringLiteral("Please choose the source folder:"));
  QCOMPARE(c.source_path->text(), dir.path() + QStringLiteral("/lyrics/"));
  QCOMPARE(c.destination_path->text(), folder);
  QVERIFY(c.start->isEnabled());
  c.recursive->click();
  QVERIFY(!dialog.settings().recursive_subdirectories);
  QVERIFY(!c.recursive->isChecked());

  prompts.folder.clear();  // cancelled
  c.source_browse->click();
  QCOMPARE(c.source_path->text(), dir.path() + QStringLiteral("/lyrics/"));

  c.from_files->click();
  QVERIFY(c.source_path->text().isEmpty());
  QVERIFY(!c.recursive->isEnabled());
}

void QuenliteAppTest::dropSelectsSource() {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir(QStringLiteral("sub"));
  FakePrompts prompts;
  MainDialog dialog(prompts);
  const auto& c = dialog.controls();

  QVERIFY(dialog.DropSource({dir.filePath(QStringLiteral("sub"))}));
  QCOMPARE(dialog.settings().source_mode, quenlite::SourceMode::Directory);
  QCOMPARE(c.source_path->text(), dir.filePath(QStringLiteral("sub")) + QLatin1Char('/'));

  // Files of two folders cannot be one selection: nothing changes.
  QVERIFY(!dialog.DropSource({dir.filePath(QStringLiteral("a.txt")),
                              dir.filePath(QStringLiteral("sub/b.txt"))}));
  QCOMPARE(dialog.settings().source_mode, quenlite::SourceMode::Directory);

  QVERIFY(dialog.DropSource({dir.filePath(QStringLiteral("a.txt")),
                             dir.filePath(QStringLiteral("b.txt"))}));
  QCOMPARE(dialog.settings().source_mode, quenlite::SourceMode::Files);
  QCOMPARE(c.source_path->text(), dir.path() + QStringLiteral("/{2 files}"));
  QVERIFY(c.start->isEnabled());
}

void QuenliteAppTest::advancedOptionsPairsAndLink() {
  FakePrompts prompts;
  MainDialog dialog(prompts);
  dialog.show();
  const auto& c = dialog.controls();
  using F = AdvancedOptionsDialog;

  ModalHandler<AdvancedOptionsDialog> first([](AdvancedOptionsDialog* d) {
    QCOMPARE(d->windowTitle(), QStringLiteral("Advanced Options"));
    QCOMPARE(d->box(F::kSimplified)->text(), QStringLiteral("Traditional to Simplified "));
    QCOMPARE(d->box(F::kHiragana)->text(), QStringLiteral("Katakana to Hiragana "));
    d->box(F::kUpper)->click();
    d->box(F::kLower)->click();
    QVERIFY(!d->box(F::kUpper)->isChecked());
    QVERIFY(d->box(F::kLower)->isChecked());
    d->box(F::kLower)->click();  // the selected one again: neither
    QVERIFY(!d->box(F::kLower)->isChecked());
    QVERIFY(!d->box(F::kUpper)->isChecked());
    d->box(F::kUpper)->click();
    d->box(F::kKatakana)->click();
    d->box(F::kTraditional)->click();
    d->box(F::kSimplified)->click();
    QVERIFY(d->working().upper_case && d->working().to_katakana && d->working().to_simplified);
    QVERIFY(!d->working().to_traditional);
    d->accept();
  });
  c.more->clicked();
  QCOMPARE(first.count, 1);
  QCOMPARE(c.more->text(), QStringLiteral("(activated) more ..."));
  QVERIFY(dialog.settings().advanced.upper_case);
  QVERIFY(dialog.settings().advanced.to_katakana);

  // Cancel after changing the selection changes neither the flags nor the link.
  ModalHandler<AdvancedOptionsDialog> cancel([](AdvancedOptionsDialog* d) {
    QVERIFY(d->box(F::kUpper)->isChecked());
    d->box(F::kLower)->click();
    d->reject();
  });
  c.more->clicked();
  QVERIFY(dialog.settings().advanced.upper_case);
  QVERIFY(!dialog.settings().advanced.lower_case);
  QCOMPARE(c.more->text(), QStringLiteral("(activated) more ..."));

  // OK with nothing selected: back to "more ...".
  ModalHandler<AdvancedOptionsDialog> clear([](AdvancedOptionsDialog* d) {
    d->box(F::kUpper)->click();
    d->box(F::kKatakana)->click();
    d->box(F::kSimplified)->click();
    d->accept();
  });
  c.more->clicked();
  QVERIFY(!dialog.settings().advanced.Active());
  QCOMPARE(c.more->text(), QStringLiteral("more ..."));
}

void QuenliteAppTest::historyAndAdvancedShareAPlace() {
  FakePrompts prompts;
  MainDialog dialog(prompts);
  dialog.show();
  QPoint closed_at;
  ModalHandler<AdvancedOptionsDialog> advanced([&](AdvancedOptionsDialog* d) {
    d->move(37, 41);
    closed_at = d->pos();
    d->reject();
  });
  dialog.controls().more->clicked();
  QCOMPARE(advanced.count, 1);

  QPoint history_at;
  QString text;
  bool stayed_open = false;
  ModalHandler<common::qt::VersionHistoryDialog> history([&](common::qt::VersionHistoryDialog* d) {
    history_at = d->pos();
    text = d->text()->toPlainText();
    QTest::keyClick(d, Qt::Key_Escape);
    stayed_open = d->isVisible();
    d->okButton()->click();
  });
  dialog.controls().version->clicked();
  QCOMPARE(history.count, 1);
  QVERIFY(stayed_open);
  QCOMPARE(history_at, closed_at);
  QVERIFY(text.startsWith(QStringLiteral("Quenlite 0.43  -  2006.01.01\n* ")));
  QVERIFY(text.contains(QStringLiteral("\n\nQuenlite 0.10  -  2005.")));
  // Every block: a heading, then notes beginning with "*".
  for (const QString& block : text.trimmed().split(QStringLiteral("\n\n"))) {
    const QStringList lines = block.split(QLatin1Char('\n'));
    QVERIFY2(lines.size() >= 2, qPrintable(block));
    QVERIFY(QRegularExpression(QStringLiteral("^Quenlite 0\\.\\d\\d  -  200[56]\\.\\d\\d\\.\\d\\d$"))
                .match(lines.front())
                .hasMatch());
    for (int i = 1; i < lines.size(); ++i) QVERIFY(lines[i].startsWith(QLatin1Char('*')));
  }
  QVERIFY(quenlite::app::QuenliteHistory().contains(QStringLiteral("\r\n")));
}

void QuenliteAppTest::selectEncodingDialog() {
  QWidget owner;
  owner.setGeometry(100, 100, 800, 600);
  common::RememberedPlace place;
  SelectEncodingDialog d(&owner, 932, place);
  QCOMPARE(d.windowTitle(), QStringLiteral("Select Encoding"));
  QCOMPARE(d.nameEdit()->text(), NameOf(932));
  QVERIFY(d.nameEdit()->isReadOnly());
  QListWidget* list = d.list();
  QVERIFY(list->count() > 2);
  QStringList texts;
  bool has1200 = false, has1201 = false;
  for (int i = 0; i < list->count(); ++i) {
    texts << list->item(i)->text();
    const uint cp = list->item(i)->data(Qt::UserRole).toUInt();
    QVERIFY(list->item(i)->text().startsWith(QString::number(cp)));
    has1200 = has1200 || cp == 1200;
    has1201 = has1201 || cp == 1201;
  }
  QVERIFY(has1200 && has1201);
  QStringList sorted = texts;
  std::sort(sorted.begin(), sorted.end());
  QCOMPARE(texts, sorted);
  QCOMPARE(list->selectedItems().size(), 1);
  QCOMPARE(list->selectedItems().front()->text(), NameOf(932));

  struct Case {
    const char* button;
    common::CodePage cp;
  };
  for (const Case& k : {Case{"G B K", 936}, Case{"B I G 5", 950}, Case{"Unicode", 1200},
                        Case{"Shift-Jis", 932}, Case{"Default", common::AnsiCodePage()}}) {
    d.button(QString::fromLatin1(k.button))->click();
    QCOMPARE(d.chosen(), k.cp);
    QCOMPARE(d.nameEdit()->text(), NameOf(k.cp));
  }

  // A single click only moves the selection; ">> Select" or a double click chooses.
  const int row1201 = texts.indexOf(NameOf(1201));
  QVERIFY(row1201 >= 0);
  list->setCurrentRow(row1201);
  QCOMPARE(d.chosen(), common::AnsiCodePage());
  d.button(QStringLiteral(">> Select"))->click();
  QCOMPARE(d.chosen(), 1201u);
  QCOMPARE(d.nameEdit()->text(), NameOf(1201));
  const int row950 = texts.indexOf(NameOf(950));
  list->setCurrentRow(row950);
  emit list->itemDoubleClicked(list->item(row950));
  QCOMPARE(d.chosen(), 950u);
  list->clearSelection();
  d.button(QStringLiteral(">> Select"))->click();
  QCOMPARE(d.chosen(), 950u);

  // OK is the only way out.
  QTimer::singleShot(0, [&] {
    QTest::keyClick(&d, Qt::Key_Escape);
    d.close();
    QVERIFY(d.isVisible());
    d.button(QStringLiteral("OK"))->click();
  });
  QCOMPARE(d.exec(), QDialog::Accepted);
  QVERIFY(place.placed());
  QCOMPARE(d.chosen(), 950u);
}

void QuenliteAppTest::batchLogLinesInStatusWindow() {
  QTemporaryDir dir;
  QDir(dir.path()).mkdir(QStringLiteral("src"));
  const QString src = dir.path() + QStringLiteral("/src/");
  const QString dst = dir.path() + QStringLiteral("/dst/");
  WriteFile(src + QString::fromUtf8("歌.txt"), QByteArray("\x93\xfa\x96\x7b", 4));  // 日本 in Shift-JIS
  WriteFile(src + QStringLiteral("empty.txt"), QByteArray());
  FakePrompts prompts;
  prompts.files = {src + QString::fromUtf8("歌.txt"), src + QStringLiteral("empty.txt")};
  prompts.folder = dir.path() + QStringLiteral("/dst");
  MainDialog dialog(prompts);
  dialog.show();
  const auto& c = dialog.controls();
  c.source_browse->click();
  c.destination_browse->click();

  // With the Status window off a batch logs nothing.
  RunAndWait(dialog);
  QCOMPARE(dialog.statusWindow()->list()->count(), 0);
  QCOMPARE(c.progress->maximum(), 2);
  QCOMPARE(c.progress->value(), 2);
  QCOMPARE(ReadFile(dst + QString::fromUtf8("_quenlite_歌.txt")), QByteArray("\xc8\xd5\xb1\xbe", 4));
  QVERIFY(c.start->isEnabled());

  QFile::remove(dst + QString::fromUtf8("_quenlite_歌.txt"));
  c.show_status->click();
  QVERIFY(dialog.statusWindow()->isVisible());
  RunAndWait(dialog);
  const QStringList expected = {
      QStringLiteral("prcoessing \"%1\".").arg(src + QString::fromUtf8("歌.txt")),
      QStringLiteral("  load file: succeeded."),
      QStringLiteral("  check unicode signature: not found."),
      QStringLiteral("  translate into unicode: succeeded."),
      QStringLiteral("  encode from unicode: succeeded."),
      QStringLiteral("  generate dest. filename: \"%1\", succeeded.")
          .arg(dst + QString::fromUtf8("_quenlite_歌.txt")),
      QStringLiteral("  save dest. file: succeeded. (create new)"),
      QStringLiteral("prcoessing \"%1\".").arg(src + QStringLiteral("empty.txt")),
      QStringLiteral("  load file: succeeded."),
      QStringLiteral("  check unicode signature: not found."),
      QStringLiteral("  translate into unicode: failed."),
  };
  QCOMPARE(LogLines(dialog), expected);

  // A second batch's lines follow the first's; the newest line is in view, none selected.
  QFile::remove(dst + QString::fromUtf8("_quenlite_歌.txt"));
  dialog.statusWindow()->resize(400, 150);
  RunAndWait(dialog);
  QCOMPARE(LogLines(dialog), expected + expected);
  QListWidget* list = dialog.statusWindow()->list();
  QVERIFY(list->selectedItems().isEmpty());
  QVERIFY(list->verticalScrollBar()->maximum() > 0);
  const QRect newest = list->visualItemRect(list->item(list->count() - 1));
  QVERIFY(newest.top() >= 0);
  QVERIFY(newest.bottom() < list->viewport()->height());
}

void QuenliteAppTest::toAllSkipAcrossTwoExisting() {
  QTemporaryDir dir;
  const QString folder = dir.path() + QLatin1Char('/');
  WriteFile(folder + QStringLiteral("a.txt"), "new a");
  WriteFile(folder + QStringLiteral("b.txt"), "new b");
  WriteFile(folder + QStringLiteral("_quenlite_a.txt"), "old a");
  WriteFile(folder + QStringLiteral("_quenlite_b.txt"), "old b");
  FakePrompts prompts;
  prompts.files = {folder + QStringLiteral("a.txt"), folder + QStringLiteral("b.txt")};
  MainDialog dialog(prompts);
  dialog.show();
  dialog.controls().show_status->click();
  dialog.controls().source_browse->click();

  QString shown;
  ModalHandler<SaveDialog> skip_all([&](SaveDialog* d) {
    shown = d->pathEdit()->toPlainText();
    QCOMPARE(d->windowTitle(), QStringLiteral("Save"));
    QCOMPARE(d->message()->text(), QStringLiteral("File already exists. Do you want to"));
    QVERIFY(d->renameButton()->isEnabled());
    d->toAllBox()->click();
    QVERIFY(!d->renameButton()->isEnabled());
    d->skipButton()->click();
  });
  RunAndWait(dialog);
  QCOMPARE(skip_all.count, 1);
  QCOMPARE(shown, folder + QStringLiteral("_quenlite_a.txt"));
  QCOMPARE(LogLines(dialog).filter(QStringLiteral("save dest. file")),
           QStringList({QStringLiteral("  save dest. file: skipped."),
                        QStringLiteral("  save dest. file: skipped.")}));
  QCOMPARE(ReadFile(folder + QStringLiteral("_quenlite_a.txt")), QByteArray("old a"));
  QCOMPARE(ReadFile(folder + QStringLiteral("_quenlite_b.txt")), QByteArray("old b"));

  // "To All" is forgotten at the next Start: both files are asked about again.
  ModalHandler<SaveDialog> overwrite([](SaveDialog* d) { d->overwriteButton()->click(); }, 2);
  RunAndWait(dialog);
  QCOMPARE(skip_all.count, 1);
  QCOMPARE(overwrite.count, 2);
  QCOMPARE(LogLines(dialog).filter(QStringLiteral("(overwrite exist)")).size(), 2);
  QCOMPARE(ReadFile(folder + QStringLiteral("_quenlite_b.txt")), QByteArray("new b"));
}

void QuenliteAppTest::renameToExistingAnsweredNoThenYes() {
  QTemporaryDir dir;
  const QString folder = dir.path() + QLatin1Char('/');
  WriteFile(folder + QStringLiteral("a.txt"), "content");
  WriteFile(folder + QStringLiteral("_quenlite_a.txt"), "old");
  WriteFile(folder + QStringLiteral("other.txt"), "other");
  FakePrompts prompts;
  prompts.files = {folder + QStringLiteral("a.txt")};
  MainDialog dialog(prompts);
  dialog.show();
  dialog.controls().show_status->click();
  dialog.controls().source_browse->click();

  bool stayed_after_no = false;
  ModalHandler<SaveDialog> rename([&](SaveDialog* d) {
    d->renameButton()->click();
    QVERIFY(d->renameMode());
    QVERIFY(!d->overwriteButton()->isVisible());
    QVERIFY(!d->skipButton()->isVisible());
    QVERIFY(!d->toAllBox()->isVisible());
    QVERIFY(!d->pathEdit()->isReadOnly());
    QCOMPARE(d->renameButton()->text(), QStringLiteral("OK"));
    QCOMPARE(d->message()->text(), QStringLiteral("Please enter new filename."));
    d->pathEdit()->setPlainText(folder + QStringLiteral("other.txt"));
    prompts.yes = false;
    d->renameButton()->click();
    stayed_after_no = d->isVisible() && d->renameMode();
    prompts.yes = true;
    d->renameButton()->click();
  });
  RunAndWait(dialog);
  QCOMPARE(rename.count, 1);
  QVERIFY(stayed_after_no);
  QCOMPARE(prompts.questions, QStringList({QStringLiteral("Save|Do you want to overwrite?"),
                                           QStringLiteral("Save|Do you want to overwrite?")}));
  QCOMPARE(LogLines(dialog).last(), QStringLiteral("  save dest. file: succeeded. (overwrite exist)"));
  QCOMPARE(ReadFile(folder + QStringLiteral("other.txt")), QByteArray("content"));
  QCOMPARE(ReadFile(folder + QStringLiteral("_quenlite_a.txt")), QByteArray("old"));

  // A new name where nothing exists: written there without a question.
  ModalHandler<SaveDialog> fresh([&](SaveDialog* d) {
    d->renameButton()->click();
    d->pathEdit()->setPlainText(folder + QString::fromUtf8("新しい.txt"));
    QTest::keyClick(d->pathEdit(), Qt::Key_Return);  // Enter presses OK
  });
  RunAndWait(dialog);
  QCOMPARE(fresh.count, 1);
  QCOMPARE(prompts.questions.size(), 2);
  QCOMPARE(LogLines(dialog).last(), QStringLiteral("  save dest. file: succeeded. (renamed)"));
  QCOMPARE(ReadFile(folder + QString::fromUtf8("新しい.txt")), QByteArray("content"));
}

void QuenliteAppTest::saveDialogOnlyClosesThroughItsButtons() {
  QWidget owner;
  owner.setGeometry(100, 100, 800, 600);
  FakePrompts prompts;
  common::RememberedPlace place;
  SaveDialog d(&owner, QStringLiteral("/tmp/x.txt"), place, prompts);
  QVERIFY(!(d.windowFlags() & Qt::WindowCloseButtonHint));
  QVERIFY(d.pathEdit()->isReadOnly());
  QVERIFY(d.overwriteButton()->isDefault());
  QTimer::singleShot(0, [&] {
    QTest::keyClick(&d, Qt::Key_Escape);
    d.close();
    QVERIFY(d.isVisible());
    d.move(12, 34);
    d.skipButton()->click();
  });
  QCOMPARE(d.exec(), QDialog::Accepted);
  QCOMPARE(d.answer().choice, quenlite::SaveChoice::Skip);
  QVERIFY(!d.answer().to_all);
  QCOMPARE(place.x, 12);
  QCOMPARE(place.y, 34);
}

void QuenliteAppTest::statusWindowLayoutAndFollowing() {
  FakePrompts prompts;
  MainDialog dialog(prompts);
  dialog.show();
  quenlite::app::StatusWindow* status = dialog.statusWindow();

  // Minimising with the setting off leaves the Status window alone.
  dialog.showMinimized();
  QVERIFY(!status->isVisible());
  dialog.showNormal();

  dialog.controls().show_status->click();
  QVERIFY(status->isVisible());
  QVERIFY(!(status->windowFlags() & Qt::WindowCloseButtonHint));
  status->resize(400, 250);
  QTRY_COMPARE(status->list()->geometry(), status->rect().adjusted(5, 5, -5, -5));
  status->resize(300, 180);
  QTRY_COMPARE(status->list()->geometry(), status->rect().adjusted(5, 5, -5, -5));

  dialog.showMinimized();
  QVERIFY(status->isMinimized());
  dialog.showNormal();
  QVERIFY(!status->isMinimized());
  QVERIFY(status->isVisible());

  // Closing the Status window itself does nothing; switching the setting off hides it.
  status->close();
  QVERIFY(status->isVisible());
  dialog.controls().show_status->click();
  QVERIFY(!status->isVisible());
}

void QuenliteAppTest::linksOpenPages() {
  FakePrompts prompts;
  MainDialog dialog(prompts);
  const auto& c = dialog.controls();
  QCOMPARE(c.version->text(), QStringLiteral("Quenlite 0.43"));
  QCOMPARE(c.manual->text(), QStringLiteral("Online Manual"));
  for (const common::qt::LinkLabel* link : {c.version, c.manual, c.more})
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 0, 192));
  QCOMPARE(c.banner->cursor().shape(), Qt::PointingHandCursor);
  QTest::mouseClick(c.banner, Qt::LeftButton);
  QTest::mouseClick(c.manual, Qt::LeftButton);
  QCOMPARE(prompts.opened.size(), 2);
  QCOMPARE(prompts.opened[0], quenlite::app::HomePageUrl());
  QVERIFY(prompts.opened[1].isLocalFile());
  QVERIFY(prompts.opened[1].toLocalFile().endsWith(QStringLiteral("quenlite.html")));
  QVERIFY(QFileInfo::exists(prompts.opened[1].toLocalFile()));
}

QTEST_MAIN(QuenliteAppTest)
#include "quenlite_app_test.moc"
