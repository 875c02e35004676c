#pragma once

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <map>
#include <vector>

#include "common/placement.h"
#include "editor/app/commands.h"
#include "editor/app/layout.h"
#include "editor/app/pronunce_dialog.h"
#include "editor/app/text_window.h"
#include "editor/core/notation.h"
#include "editor/core/ruby_list.h"

class QAction;
class QActionGroup;
class QLabel;
class QMenu;

namespace orvi {

class CandidateProvider;
class Prompter;
class RubyTable;
class StatusBar;

// Where each of the editor's dialogs was last closed in this run.
struct DialogPlaces {
  common::RememberedPlace adv_find, go_to, select_encoding, pronunce, tag_type, export_dialog,
      select_font, about, version_history;
};

// The editor's main window: the text window, the Ruby Table and the status bar laid out by
// the layout rule, the menus and keys, and the one command dispatcher. In Ruby Mode the text
// cannot change and selections become annotations.
class MainWindow : public QMainWindow,
                   public RubyListObserver,
                   public PaneEventHandler,
                   public NotationView {
  Q_OBJECT
 public:
  // The title string, also the caption of every message box.
  static QString Title();
  static constexpr int kMaxSelection = 30;

  MainWindow(Prompter* prompter, CandidateProvider* candidates, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Replaces the whole text as opening a file does: not a modification; the flag is cleared.
  void LoadText(const QString& text);

  // Carries out a command of any menu or key.
  void Dispatch(Command command);

  QAction* action(Command command) const;
  TextWindow* text_window() const { return text_; }
  RubyTable* table() const { return table_; }
  RubyList& list() { return list_; }
  QMenu* text_menu() const { return text_menu_; }
  QMenu* list_menu() const { return list_menu_; }
  bool ruby_mode() const { return ruby_mode_; }
  bool modified() const { return modified_; }
  bool table_shown() const { return table_shown_; }
  bool status_shown() const { return status_ != nullptr; }
  bool multiple_select() const { return multiple_select_; }
  bool ctrl_lock() const { return ctrl_lock_; }
  bool auto_hint() const { return auto_hint_; }
  bool always_on_top() const { return always_on_top_; }
  int current_line() const { return current_line_; }
  int current_column() const { return current_column_; }
  const QFont& text_font() const { return text_font_; }
  const QFont& dialog_font() const { return dialog_font_; }
  const Layout& layout() const { return layout_; }
  const DialogPlaces& places() const { return places_; }
  // The text of a status bar part (0 left, 1 middle, 2 right); empty while the bar is hidden.
  QString StatusPartText(int part) const;
  QWidget* status_bar_widget() const;
  QWidget* client_area() const { return client_; }

  // Applies the layout rule to the client area's present size.
  void ApplyLayout();
  void PaintDivider(QPainter& painter) const;

  // The clearing confirmation: asks before text or annotations are lost; on OK empties the
  // list and the table. False: the caller leaves everything as it is.
  bool ConfirmClear();
  // Ruby Mode on and off with every menu state; the commands that replace the text use them.
  void SwitchRubyModeOn();
  void SwitchRubyModeOff();
  // Colours every entry's run and puts the caret at the start, after the list was filled
  // from outside Ruby Mode's own selections.
  void RefreshMarks();

  // Ruby Mode operations, also used by the table and the dialogs.
  RubyEntry* MakeCurrentAtCaret();
  void Highlight(RubyEntry& entry);
  void RemoveHighlight();
  void PronounceInSelection();
  void DeleteInSelection();

  // RubyListObserver
  void OnEntryInserted(const RubyEntry& entry) override;
  void OnCountsChanged(int filled, int total) override;
  void OnCurrentEntryCleared() override;

  // PaneEventHandler: the text window's input in and out of Ruby Mode.
  bool PaneEvent(QEvent* event) override;

  // NotationView: what Phonic > Notate's walk does to the window.
  void SeriesStarted() override;
  void SeriesEnded() override;
  void SetHighlight(std::int32_t start, std::int32_t end, bool on) override;
  void PutCaret(std::int32_t p) override;
  void ColourAnnotated(std::int32_t start, std::int32_t end) override;
  PronunceAnswer AskPronunce(std::u16string_view run, CandidateSet& candidates) override;
  void MakeCurrentAt(std::int32_t p) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenus();
  QAction* AddItem(QMenu* menu, Command command, const QString& text, bool checkable = false,
                   const QList<QKeySequence>& keys = {});
  void SetFonts();

  // Small commands carried out here.
  void NewDocument();
  void ToggleStatusBar();
  void ToggleRubyTable();
  void ToggleAlwaysOnTop();
  void ChooseFont();
  void Exit();
  bool ReadyToExit();
  void ShowVersionHistory();
  void NotAvailable();
  void RunNotation();
  void DropRawBytes();
  void RefreshCaret();
  void OnContentsChange(int position, int removed, int added);

  // Ruby Mode in the text window.
  bool AnnotationAttempt();
  void ShowTextPopup(const QPoint& screen_point);
  void ColourRun(std::int32_t start, std::int32_t end, bool annotated);

  // The Ruby Table.
  void ShowListPopup(const QPoint& screen_point);
  void SelectEntryOfTableRow(bool then_pronounce);
  void ListDelete();
  void ListClear();
  void ListPronunce();
  void BatchFill();

  // Runs the Pronunce dialog over the shared state; answers the accepted flag.
  bool RunPronunce(QWidget* owner);
  std::optional<std::vector<std::u16string>> LookupAround(std::int32_t a, std::int32_t b,
                                                           const std::u16string& base);

  Prompter* prompter_;
  CandidateProvider* candidates_;
  RubyList list_;
  QWidget* client_ = nullptr;
  TextWindow* text_ = nullptr;
  RubyTable* table_ = nullptr;
  StatusBar* status_ = nullptr;
  QMenu* text_menu_ = nullptr;
  QMenu* list_menu_ = nullptr;
  std::map<Command, QAction*> actions_;
  Layout layout_;
  int status_height_ = 0;

  bool ruby_mode_ = false;
  bool modified_ = false;
  bool table_shown_ = false;
  bool verify_shown_ = false;
  bool multiple_select_ = false;
  bool ctrl_lock_ = false;
  bool auto_hint_ = true;
  bool auto_detect_ = true;
  bool always_on_top_ = false;
  NotationScope notation_scope_ = NotationScope::FullText;
  NotationMode notation_mode_ = NotationMode::Auto;
  bool replacing_text_ = false;  // the editor itself is replacing the text
  bool exiting_ = false;
  bool drag_guard_ = false;
  int current_line_ = 0;
  int current_column_ = 0;
  // The range shown bold and underlined, kept apart from the list so that the marks can be
  // taken off even after the entry is gone.
  std::int32_t highlight_start_ = -1;
  std::int32_t highlight_end_ = -1;

  QFont font_description_;
  QFont text_font_;
  QFont dialog_font_;
  DialogPlaces places_;
  PronunceState pronunce_;
  std::vector<char> raw_bytes_;  // the bytes of the last opened file, kept for Encoding...
};

}  // namespace orvi
