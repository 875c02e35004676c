#include "editor/app/main_window.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "common/qt/version_history_dialog.h"
#include "editor/app/prompter.h"
#include "editor/app/qt_text.h"
#include "editor/app/ruby_table.h"

namespace orvi {

namespace {

const char kSearchHint[] = "To experience powerful search, click Adv Find in the Search menu.";

const char kHistory[] =
    "Orvi 0.43  -  2026.12.11\r\n"
    "* Runs on the Linux desktop.\r\n"
    "* Any change to the text outside Ruby Mode now counts as a modification.\r\n"
    "\r\n"
    "Orvi 0.42  -  2026.10.02\r\n"
    "* Batch Fill can be stopped from the Pronunce dialog.\r\n"
    "* The Ruby Table's columns can be reordered by dragging their headers.\r\n";

// The client area: lays out its children by the layout rule and draws the divider.
class ClientArea : public QWidget {
 public:
  explicit ClientArea(MainWindow* owner) : QWidget(owner), owner_(owner) {}

 protected:
  void resizeEvent(QResizeEvent* event) override {
    QWidget::resizeEvent(event);
    owner_->ApplyLayout();
  }
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    owner_->PaintDivider(painter);
  }

 private:
  MainWindow* owner_;
};

}  // namespace

// The status bar: three sunken parts whose right edges the layout sets.
class StatusBar : public QFrame {
 public:
  explicit StatusBar(QWidget* parent) : QFrame(parent) {
    for (QLabel*& part : parts_) {
      part = new QLabel(this);
      part->setFrameShape(QFrame::Panel);
      part->setFrameShadow(QFrame::Sunken);
      part->setContentsMargins(3, 0, 3, 0);
      part->setTextFormat(Qt::PlainText);
    }
    setAutoFillBackground(true);
  }
  // The height of a part's rectangle plus one.
  int Height() const { return parts_[0]->sizeHint().height() + 1 + 2; }
  void SetEdges(const int edges[3]) {
    int left = 0;
    for (int i = 0; i < 3; ++i) {
      parts_[i]->setGeometry(left, 2, std::max(0, edges[i] - left - 1), height() - 2);
      left = edges[i];
    }
  }
  void SetText(int part, const QString& text) { parts_[part]->setText(text); }
  QString Text(int part) const { return parts_[part]->text(); }

 private:
  std::array<QLabel*, 3> parts_{};
};

QString MainWindow::Title() {
  QString title = QStringLiteral("Orvi - vexa");
  title[5] = QChar(0x2606);
  return title;
}

MainWindow::MainWindow(Prompter* prompter, CandidateProvider* candidates, QWidget* parent)
    : QMainWindow(parent), prompter_(prompter), candidates_(candidates) {
  setWindowTitle(Title());
  client_ = new ClientArea(this);
  setCentralWidget(client_);
  text_ = new TextWindow(client_);
  table_ = new RubyTable(client_);
  table_->hide();
  text_->set_event_handler(this);
  table_->set_popup_handler([this](const QPoint& at) { ShowListPopup(at); });
  connect(table_, &QAbstractItemView::clicked, this, [this] { SelectEntryOfTableRow(false); });
  connect(table_, &QAbstractItemView::doubleClicked, this,
          [this] { SelectEntryOfTableRow(true); });
  connect(text_->document(), &QTextDocument::contentsChange, this,
          &MainWindow::OnContentsChange);
  connect(text_, &QTextEdit::cursorPositionChanged, this, &MainWindow::RefreshCaret);

  BuildMenus();
  SwitchRubyModeOff();
  SetFonts();
  list_.set_observer(this);
  ToggleStatusBar();
  setFocusProxy(text_);
  text_->setFocus();
  resize(800, 600);
}

MainWindow::~MainWindow() { list_.set_observer(nullptr); }

void MainWindow::SetFonts() {
  // The face is kept by name; the installed Japanese font renders it (see main()).
  font_description_ = QFont(QStringLiteral("MS PGothic"));
  font_description_.setPixelSize(15);
  font_description_.setWeight(QFont::Normal);
  font_description_.setItalic(false);
  font_description_.setUnderline(false);
  font_description_.setStrikeOut(false);
  text_font_ = font_description_;
  font_description_.setPixelSize(13);
  dialog_font_ = font_description_;
  text_->setFont(text_font_);
  table_->setFont(dialog_font_);
  table_->verticalHeader()->setDefaultSectionSize(QFontMetrics(dialog_font_).height() + 4);
}

QAction* MainWindow::AddItem(QMenu* menu, Command command, const QString& text, bool checkable,
                             const QList<QKeySequence>& keys) {
  auto* item = new QAction(text, this);
  item->setCheckable(checkable);
  item->setData(static_cast<int>(command));
  if (!keys.isEmpty()) item->setShortcuts(keys);
  if (menu) {
    menu->addAction(item);
  } else {
    addAction(item);  // a key without a menu item
  }
  connect(item, &QAction::triggered, this, [this, command] { Dispatch(command); });
  actions_[command] = item;
  return item;
}

void MainWindow::BuildMenus() {
  using K = QKeySequence;
  QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
  AddItem(file, Command::New, QStringLiteral("New"), false, {K(Qt::CTRL | Qt::Key_N)});
  AddItem(file, Command::Open, QStringLiteral("Open..."), false, {K(Qt::CTRL | Qt::Key_O)});
  AddItem(file, Command::Save, QStringLiteral("Save"), false, {K(Qt::CTRL | Qt::Key_S)});
  AddItem(file, Command::SaveAs, QStringLiteral("Save As..."));
  file->addSeparator();
  QMenu* import = file->addMenu(QStringLiteral("Import"));
  AddItem(import, Command::ImportFromFile, QStringLiteral("From File..."));
  AddItem(import, Command::ImportFromClipboard, QStringLiteral("From Clipboard"));
  import->addSeparator();
  AddItem(import, Command::AutoDetect, QStringLiteral("Auto Detect"), true)->setChecked(true);
  AddItem(file, Command::Export, QStringLiteral("Export..."), false, {K(Qt::CTRL | Qt::Key_E)});
  file->addSeparator();
  AddItem(file, Command::Exit, QStringLiteral("Exit"));

  QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edit"));
  // The text window handles these keys itself; the menu only shows them.
  AddItem(edit, Command::Copy, QStringLiteral("Copy\tCtrl+C"));
  AddItem(edit, Command::Paste, QStringLiteral("Paste\tCtrl+V"));
  AddItem(edit, Command::Cut, QStringLiteral("Cut\tCtrl+X"));
  edit->addSeparator();
  AddItem(edit, Command::MultipleSelect, QStringLiteral("Multiple Select"), true);
  AddItem(edit, Command::BatchFill, QStringLiteral("Batch Fill"));
  edit->addSeparator();
  AddItem(edit, Command::RubyMode, QStringLiteral("Ruby Mode"), true, {K(Qt::CTRL | Qt::Key_R)});
  AddItem(edit, Command::CtrlLock, QStringLiteral("CTRL Lock"), true);
  AddItem(edit, Command::ExternalEditor, QStringLiteral("External Editor"));

  QMenu* search = menuBar()->addMenu(QStringLiteral("&Search"));
  AddItem(search, Command::AdvFind, QStringLiteral("Adv Find..."), false,
          {K(Qt::CTRL | Qt::Key_F)});
  AddItem(search, Command::FindNext, QStringLiteral("Find Next"), false, {K(Qt::Key_F3)});
  AddItem(search, Command::GoTo, QStringLiteral("Go To..."), false, {K(Qt::CTRL | Qt::Key_G)});

  QMenu* phonic = menuBar()->addMenu(QStringLiteral("&Phonic"));
  AddItem(phonic, Command::Notate, QStringLiteral("Notate"));
  QMenu* scope = phonic->addMenu(QStringLiteral("Scope"));
  auto* scopes = new QActionGroup(this);
  scopes->addAction(AddItem(scope, Command::ScopeFullText, QStringLiteral("Full Text"), true));
  scopes->addAction(AddItem(scope, Command::ScopeSelected, QStringLiteral("Selected"), true));
  action(Command::ScopeFullText)->setChecked(true);
  QMenu* mode = phonic->addMenu(QStringLiteral("Mode"));
  auto* modes = new QActionGroup(this);
  modes->addAction(AddItem(mode, Command::ModeAuto, QStringLiteral("Auto"), true));
  modes->addAction(AddItem(mode, Command::ModeSemiAuto, QStringLiteral("Semi-auto"), true));
  modes->addAction(AddItem(mode, Command::ModeManual, QStringLiteral("Manual"), true));
  action(Command::ModeAuto)->setChecked(true);
  phonic->addSeparator();
  AddItem(phonic, Command::AutoHint, QStringLiteral("Auto Hint"), true)->setChecked(true);

  QMenu* format = menuBar()->addMenu(QStringLiteral("F&ormat"));
  AddItem(format, Command::Font, QStringLiteral("Font..."));
  AddItem(format, Command::Encoding, QStringLiteral("Encoding..."))->setEnabled(false);

  QMenu* view = menuBar()->addMenu(QStringLiteral("&View"));
  AddItem(view, Command::Verify, QStringLiteral("Verify"));
  AddItem(view, Command::RubyTable, QStringLiteral("Ruby Table"), true,
          {K(Qt::CTRL | Qt::Key_T)});
  AddItem(view, Command::StatusBar, QStringLiteral("Status Bar"), true);
  AddItem(view, Command::AlwaysOnTop, QStringLiteral("Always On Top"), true);

  QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
  AddItem(help, Command::OnlineManual, QStringLiteral("Online Manual"));
  AddItem(help, Command::VersionHistory, QStringLiteral("Version History..."));
  help->addSeparator();
  AddItem(help, Command::About, QStringLiteral("About..."));

  AddItem(nullptr, Command::DeleteAnnotation, QString(), false,
          {K(Qt::CTRL | Qt::Key_D), K(Qt::Key_F9)});
  AddItem(nullptr, Command::PronounceAnnotation, QString(), false,
          {K(Qt::CTRL | Qt::Key_P), K(Qt::Key_F4)});

  text_menu_ = new QMenu(QStringLiteral("Text Window Menu"), this);
  AddItem(text_menu_, Command::TextUndo, QStringLiteral("Undo"));
  text_menu_->addSeparator();
  AddItem(text_menu_, Command::TextCut, QStringLiteral("Cut"));
  AddItem(text_menu_, Command::TextCopy, QStringLiteral("Copy"));
  AddItem(text_menu_, Command::TextPaste, QStringLiteral("Paste"));
  text_menu_->addSeparator();
  AddItem(text_menu_, Command::TextSelectAll, QStringLiteral("Select All"));
  text_menu_->addSeparator();
  AddItem(text_menu_, Command::TextDelete, QStringLiteral("Delete"));
  AddItem(text_menu_, Command::TextPronunce, QStringLiteral("Pronunce..."));

  list_menu_ = new QMenu(QStringLiteral("List Window Menu"), this);
  AddItem(list_menu_, Command::ListDelete, QStringLiteral("Delete"));
  AddItem(list_menu_, Command::ListClear, QStringLiteral("Clear"));
  list_menu_->addSeparator();
  AddItem(list_menu_, Command::ListPronunce, QStringLiteral("Pronunce..."));
}

QAction* MainWindow::action(Command command) const {
  const auto it = actions_.find(command);
  return it == actions_.end() ? nullptr : it->second;
}

void MainWindow::Dispatch(Command command) {
  switch (command) {
    case Command::New: NewDocument(); break;
    case Command::Exit: Exit(); break;
    case Command::AutoDetect:
      auto_detect_ = !auto_detect_;
      action(command)->setChecked(auto_detect_);
      break;
    case Command::Copy: text_->copy(); break;
    case Command::Paste:
      if (!ruby_mode_) text_->paste();
      break;
    case Command::Cut:
      if (!ruby_mode_) text_->cut();
      break;
    case Command::MultipleSelect:
      multiple_select_ = !multiple_select_;
      action(command)->setChecked(multiple_select_);
      break;
    case Command::BatchFill:
      if (ruby_mode_) BatchFill();
      break;
    case Command::RubyMode:
      if (!ruby_mode_) SwitchRubyModeOn();
      action(command)->setChecked(true);
      break;
    case Command::CtrlLock:
      ctrl_lock_ = !ctrl_lock_;
      action(command)->setChecked(ctrl_lock_);
      break;
    case Command::Notate:
      if (!ruby_mode_) Dispatch(Command::RubyMode);
      RunNotation();
      break;
    case Command::ScopeFullText:
    case Command::ScopeSelected:
      notation_scope_ = command == Command::ScopeFullText ? NotationScope::FullText
                                                          : NotationScope::Selected;
      action(command)->setChecked(true);  // the group unchecks the other
      break;
    case Command::ModeAuto:
    case Command::ModeSemiAuto:
    case Command::ModeManual:
      notation_mode_ = command == Command::ModeAuto       ? NotationMode::Auto
                       : command == Command::ModeSemiAuto ? NotationMode::SemiAuto
                                                          : NotationMode::Manual;
      action(command)->setChecked(true);
      break;
    case Command::AutoHint:
      auto_hint_ = !auto_hint_;
      action(command)->setChecked(auto_hint_);
      break;
    case Command::Font: ChooseFont(); break;
    case Command::RubyTable: ToggleRubyTable(); break;
    case Command::StatusBar: ToggleStatusBar(); break;
    case Command::AlwaysOnTop: ToggleAlwaysOnTop(); break;
    case Command::VersionHistory: ShowVersionHistory(); break;
    case Command::DeleteAnnotation:
      if (ruby_mode_) Dispatch(Command::TextDelete);
      break;
    case Command::PronounceAnnotation:
      if (ruby_mode_) Dispatch(Command::TextPronunce);
      break;
    case Command::TextUndo:
      if (!ruby_mode_) text_->undo();
      break;
    case Command::TextCut:
      if (!ruby_mode_) text_->cut();
      break;
    case Command::TextCopy: text_->copy(); break;
    case Command::TextPaste:
      if (!ruby_mode_) text_->paste();
      break;
    case Command::TextSelectAll: text_->selectAll(); break;
    case Command::TextDelete: DeleteInSelection(); break;
    case Command::TextPronunce: PronounceInSelection(); break;
    case Command::ListDelete: ListDelete(); break;
    case Command::ListClear: ListClear(); break;
    case Command::ListPronunce: ListPronunce(); break;
    case Command::Open:
    case Command::Save:
    case Command::SaveAs:
    case Command::ImportFromFile:
    case Command::ImportFromClipboard:
    case Command::Export:
    case Command::ExternalEditor:
    case Command::AdvFind:
    case Command::FindNext:
    case Command::GoTo:
    case Command::Encoding:
    case Command::Verify:
    case Command::VerifyEnd:
    case Command::OnlineManual:
    case Command::About:
      NotAvailable();
      break;
  }
}

void MainWindow::NotAvailable() {
  prompter_->Ask(this, QStringLiteral("This command is not available yet."),
                 Prompter::Buttons::Ok, Prompter::Icon::Information);
}

// --- layout ---------------------------------------------------------------------------------

void MainWindow::ApplyLayout() {
  if (isMinimized()) return;
  LayoutInput in;
  in.width = client_->width();
  in.height = client_->height();
  in.status_shown = status_ != nullptr;
  if (status_) {
    status_height_ = status_->Height();
    in.status_height = status_height_;
  }
  in.table_shown = table_shown_;
  in.verify_shown = verify_shown_;
  layout_ = ComputeLayout(in);
  const auto place = [](QWidget* w, const PaneRect& r) {
    w->setGeometry(r.x, r.y, r.width, r.height);
  };
  if (status_) {
    place(status_, layout_.status);
    status_->SetEdges(layout_.status_edges);
  }
  place(table_, layout_.table);
  table_->setVisible(table_shown_);
  place(text_, layout_.text);
  table_->SetColumnWidths(layout_.kanji_width, layout_.kana_width);
}

void MainWindow::PaintDivider(QPainter& painter) const {
  if (!layout_.divider) return;
  painter.setPen(palette().color(QPalette::WindowText));
  painter.drawLine(layout_.divider_x, 0, layout_.divider_x, layout_.pane_height);
}

QString MainWindow::StatusPartText(int part) const {
  return status_ ? status_->Text(part) : QString();
}

QWidget* MainWindow::status_bar_widget() const { return status_; }

void MainWindow::ToggleStatusBar() {
  if (status_) {
    delete status_;
    status_ = nullptr;
    status_height_ = 0;
    action(Command::StatusBar)->setChecked(false);
    ApplyLayout();
    return;
  }
  action(Command::StatusBar)->setChecked(true);
  status_ = new StatusBar(client_);
  status_->setFont(font());
  status_->show();
  ApplyLayout();
  status_->SetText(0, QString::fromUtf8(kSearchHint));
  RefreshCaret();
  OnCountsChanged(list_.filled_count(), list_.total_count());
}

void MainWindow::ToggleRubyTable() {
  table_shown_ = !table_shown_;
  action(Command::RubyTable)->setChecked(table_shown_);
  ApplyLayout();
  update();
}

void MainWindow::ToggleAlwaysOnTop() {
  const QRect frame = geometry();
  always_on_top_ = !always_on_top_;
  setWindowFlag(Qt::WindowStaysOnTopHint, always_on_top_);
  setGeometry(frame);
  show();
  action(Command::AlwaysOnTop)->setChecked(always_on_top_);
}

void MainWindow::ChooseFont() {
  QFont chosen;
  if (!prompter_->ChooseFont(this, font_description_, chosen)) return;
  font_description_ = chosen;
  text_font_ = chosen;
  text_->setFont(text_font_);
  update();
}

void MainWindow::ShowVersionHistory() {
  common::qt::VersionHistoryDialog dialog(this, QString::fromUtf8(kHistory),
                                         places_.version_history);
  prompter_->RunDialog(dialog);
}

void MainWindow::RefreshCaret() {
  const QTextCursor cursor = text_->textCursor();
  const int s = cursor.selectionStart();
  const QTextBlock block = text_->document()->findBlock(s);
  current_line_ = block.isValid() ? block.blockNumber() : 0;
  current_column_ = block.isValid() ? s - block.position() : 0;
  if (status_) {
    status_->SetText(2, QStringLiteral("Ln %1, Col %2").arg(current_line_ + 1).arg(
                            current_column_ + 1));
  }
}

void MainWindow::OnCountsChanged(int filled, int total) {
  if (status_) status_->SetText(1, ToQString(StatusText(filled, total)));
}

// --- document commands ----------------------------------------------------------------------

bool MainWindow::ConfirmClear() {
  if (list_.empty() && !modified_) return true;
  const Prompter::Answer answer = prompter_->Ask(
      this, QStringLiteral("This will clear current text(including all rubies), proceed?"),
      Prompter::Buttons::OkCancel, Prompter::Icon::Question);
  if (answer != Prompter::Answer::Ok) return false;
  list_.Clear();
  table_->RemoveAllRows();
  highlight_start_ = highlight_end_ = -1;
  return true;
}

void MainWindow::NewDocument() {
  if (!ConfirmClear()) return;
  SwitchRubyModeOff();
  modified_ = false;
  DropRawBytes();
  replacing_text_ = true;
  text_->clear();
  text_->setCurrentCharFormat(QTextCharFormat());
  replacing_text_ = false;
  list_.Clear();
  table_->RemoveAllRows();
  highlight_start_ = highlight_end_ = -1;
  RefreshCaret();
}

void MainWindow::LoadText(const QString& text) {
  replacing_text_ = true;
  text_->setPlainText(text);
  replacing_text_ = false;
  modified_ = false;
  RefreshCaret();
}

void MainWindow::DropRawBytes() {
  raw_bytes_.clear();
  action(Command::Encoding)->setEnabled(false);
}

void MainWindow::OnContentsChange(int, int removed, int added) {
  // Any change of the text outside Ruby Mode (typing, input methods, pastes, cuts, deletions,
  // drops) is a modification; the editor's own replacements of the whole text are not.
  if (ruby_mode_ || replacing_text_ || (removed == 0 && added == 0)) return;
  if (!modified_) {
    modified_ = true;
    DropRawBytes();
  }
}

bool MainWindow::ReadyToExit() {
  if (!modified_) return true;
  const Prompter::Answer answer =
      prompter_->Ask(this, QStringLiteral("Do you want to save the changes?"),
                     Prompter::Buttons::YesNoCancel, Prompter::Icon::Question);
  // Yes saves and stays open: the user chooses Exit again to leave.
  if (answer == Prompter::Answer::Yes) Dispatch(Command::Save);
  return answer == Prompter::Answer::No;
}

void MainWindow::Exit() {
  if (!ReadyToExit()) return;
  exiting_ = true;
  close();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // The close box and the system menu's Close behave exactly like File > Exit.
  if (exiting_ || ReadyToExit()) {
    exiting_ = true;
    event->accept();
  } else {
    event->ignore();
  }
}

// --- Ruby Mode switch -----------------------------------------------------------------------

void MainWindow::SwitchRubyModeOn() {
  DropRawBytes();
  action(Command::RubyMode)->setChecked(true);
  action(Command::RubyMode)->setEnabled(false);
  action(Command::Paste)->setEnabled(false);
  action(Command::Cut)->setEnabled(false);
  for (Command c : {Command::MultipleSelect, Command::BatchFill, Command::CtrlLock,
                    Command::ExternalEditor, Command::AutoHint, Command::Verify,
                    Command::RubyTable}) {
    action(c)->setEnabled(true);
  }
  ruby_mode_ = true;
  // The text cannot change: the pane's input filter lets through only keys that move the
  // caret or copy, and refuses input methods, drops and middle-button pastes. The window stays
  // editable in form so that the caret keeps showing for keyboard selections. Marks are not
  // undoable edits.
  text_->document()->setUndoRedoEnabled(false);
  text_->setAttribute(Qt::WA_InputMethodEnabled, false);
  text_->setAcceptDrops(false);
  if (!table_shown_) ToggleRubyTable();
}

void MainWindow::SwitchRubyModeOff() {
  action(Command::RubyMode)->setChecked(false);
  action(Command::RubyMode)->setEnabled(true);
  action(Command::Paste)->setEnabled(true);
  action(Command::Cut)->setEnabled(true);
  for (Command c : {Command::MultipleSelect, Command::BatchFill, Command::CtrlLock,
                    Command::ExternalEditor, Command::AutoHint, Command::Verify,
                    Command::RubyTable}) {
    action(c)->setEnabled(false);
  }
  ruby_mode_ = false;
  text_->setAttribute(Qt::WA_InputMethodEnabled, true);
  text_->setAcceptDrops(true);
  text_->document()->setUndoRedoEnabled(true);
  if (table_shown_) ToggleRubyTable();
}

}  // namespace orvi
