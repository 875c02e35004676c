// Ruby Mode in the text window, the Ruby Table's commands, the Pronunce dialog runs and
// Batch Fill.
#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>

#include "editor/app/candidates.h"
#include "editor/app/main_window.h"
#include "editor/app/prompter.h"
#include "editor/app/qt_text.h"
#include "editor/app/ruby_table.h"

namespace orvi {

namespace {

const QColor kAnnotatedColour(255, 0, 128);

}  // namespace

// --- the text window's input ------------------------------------------------------------------

bool MainWindow::PaneEvent(QEvent* event) {
  switch (event->type()) {
    case QEvent::ShortcutOverride: {
      // The menu's keys win over the text window's own bindings for the same keys (on some
      // desktops Ctrl+E, Ctrl+D or Ctrl+F move the caret or delete).
      auto* key = static_cast<QKeyEvent*>(event);
      const QKeySequence pressed(key->keyCombination());
      for (const auto& [command, item] : actions_) {
        for (const QKeySequence& shortcut : item->shortcuts()) {
          if (shortcut == pressed) {
            event->ignore();
            return true;
          }
        }
      }
      return false;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      RefreshCaret();
      if (!ruby_mode_) return false;
      auto* key = static_cast<QKeyEvent*>(event);
      switch (key->key()) {
        case Qt::Key_Shift:
          // Releasing Shift after a keyboard selection is an annotation attempt, as if the
          // mouse button had been released with Ctrl held.
          if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat()) {
            MakeCurrentAtCaret();
            AnnotationAttempt();
          }
          return false;
        case Qt::Key_End:
        case Qt::Key_Home:
        case Qt::Key_Left:
        case Qt::Key_Up:
        case Qt::Key_Right:
        case Qt::Key_Down:
          MakeCurrentAtCaret();
          return false;
        case Qt::Key_C:
          // Ctrl+C copies; a plain C would type a character, which Ruby Mode refuses.
          MakeCurrentAtCaret();
          return !(key->modifiers() & Qt::ControlModifier);
        default:
          return true;
      }
    }
    case QEvent::InputMethod:
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      return ruby_mode_;
    case QEvent::MouseMove:
      return ruby_mode_ && drag_guard_ && text_->textCursor().hasSelection();
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      // The middle button pastes the primary selection on X11.
      if (ruby_mode_ && mouse->button() == Qt::MiddleButton) return true;
      if (ruby_mode_ && mouse->button() == Qt::LeftButton) {
        drag_guard_ = text_->textCursor().hasSelection();
      }
      return false;
    }
    case QEvent::MouseButtonRelease: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (ruby_mode_ && mouse->button() == Qt::MiddleButton) return true;
      if (mouse->button() == Qt::RightButton) {
        ShowTextPopup(mouse->globalPosition().toPoint());
        return false;
      }
      if (!ruby_mode_ || mouse->button() != Qt::LeftButton) return false;
      MakeCurrentAtCaret();
      if ((mouse->modifiers() & Qt::ControlModifier) || ctrl_lock_) return AnnotationAttempt();
      return false;
    }
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return false;
      // A double click never selects a word: it asks for the readings in the selection.
      PronounceInSelection();
      return true;
    case QEvent::ContextMenu:
      return true;  // the pop-up opens when the right button is released
    default:
      return false;
  }
}

bool MainWindow::AnnotationAttempt() {
  const std::int32_t c = text_->SelectionStart();
  const std::int32_t a = text_->SelectionStart();
  const std::int32_t b = text_->SelectionEnd();
  if (a == b || b - a > kMaxSelection) {
    text_->PutCaret(a);
    return false;
  }
  const std::u16string base = text_->TextOf(a, b);
  list_.FillBase(base);
  if (!list_.CanAnnotate(a, b)) {
    text_->PutCaret(c);
    return true;
  }
  pronunce_.accepted = true;
  pronunce_.reading.clear();
  pronunce_.candidates.reset();
  if (!multiple_select_) {
    if (auto_hint_) pronunce_.candidates = LookupAround(a, b, base);
    pronunce_.base = base;
    pronunce_.series = false;
    if (!RunPronunce(text_)) {
      text_->PutCaret(c);
      return true;
    }
  }
  list_.FillReading(pronunce_.reading);
  pronunce_.reading.clear();
  list_.Insert(a, b);
  ColourRun(a, b, true);
  text_->PutCaret(c);
  return true;
}

std::optional<std::vector<std::u16string>> MainWindow::LookupAround(std::int32_t a,
                                                                    std::int32_t b,
                                                                    const std::u16string& base) {
  if (!candidates_) return std::nullopt;
  return candidates_->Lookup(text_->UnitBefore(a), base, text_->UnitAfter(b));
}

bool MainWindow::RunPronunce(QWidget* owner) {
  pronunce_.auto_hint = auto_hint_;
  pronunce_.stop = pronunce_.series ? pronunce_.stop : false;
  PronunceDialog dialog(owner, pronunce_, candidates_, dialog_font_, this, places_.pronunce);
  prompter_->RunDialog(dialog);
  return pronunce_.accepted;
}

void MainWindow::ColourRun(std::int32_t start, std::int32_t end, bool annotated) {
  QTextCharFormat format;
  format.setForeground(annotated ? kAnnotatedColour : QColor(Qt::black));
  text_->MergeFormat(start, end, format);
}

void MainWindow::RefreshMarks() {
  list_.ForEach([this](const RubyEntry& entry) { ColourRun(entry.start, entry.end, true); });
  text_->PutCaret(0);
}

// --- the current entry ----------------------------------------------------------------------

void MainWindow::Highlight(RubyEntry& entry) {
  RemoveHighlight();
  QTextCharFormat format;
  format.setFontWeight(QFont::Bold);
  format.setFontUnderline(true);
  text_->MergeFormat(entry.start, entry.end, format);
  highlight_start_ = entry.start;
  highlight_end_ = entry.end;
  list_.set_current(&entry);
}

void MainWindow::RemoveHighlight() {
  list_.set_current(nullptr);
  OnCurrentEntryCleared();
}

void MainWindow::OnCurrentEntryCleared() {
  if (highlight_start_ < 0) return;
  QTextCharFormat format;
  format.setFontWeight(QFont::Normal);
  format.setFontUnderline(false);
  text_->MergeFormat(highlight_start_, highlight_end_, format);
  highlight_start_ = highlight_end_ = -1;
}

RubyEntry* MainWindow::MakeCurrentAtCaret() {
  RubyEntry* entry = list_.FindCovering(text_->SelectionStart());
  if (!entry) {
    RemoveHighlight();
    return nullptr;
  }
  if (list_.current() != entry) Highlight(*entry);
  table_->SelectRowOf(entry);
  return entry;
}

void MainWindow::OnEntryInserted(const RubyEntry& entry) { table_->AddRow(entry); }

// --- the text window's pop-up commands ------------------------------------------------------

void MainWindow::ShowTextPopup(const QPoint& screen_point) {
  action(Command::TextCut)->setEnabled(!ruby_mode_);
  action(Command::TextUndo)->setEnabled(!ruby_mode_);
  action(Command::TextPaste)->setEnabled(!ruby_mode_);
  action(Command::TextCopy)->setEnabled(true);
  action(Command::TextSelectAll)->setEnabled(true);
  const std::int32_t a = text_->SelectionStart();
  const std::int32_t b = text_->SelectionEnd();
  bool touches = false;
  for (std::int32_t p = a; p <= b && !touches; ++p) touches = list_.FindCovering(p) != nullptr;
  action(Command::TextDelete)->setEnabled(touches);
  action(Command::TextPronunce)->setEnabled(touches);
  if (QAction* chosen = prompter_->RunMenu(*text_menu_, screen_point)) {
    Dispatch(static_cast<Command>(chosen->data().toInt()));
  }
}

void MainWindow::PronounceInSelection() {
  const std::int32_t a = text_->SelectionStart();
  const std::int32_t b = text_->SelectionEnd();
  bool any = false;
  const RubyEntry* last = nullptr;
  std::int32_t p = a;
  while (p <= b) {
    RubyEntry* entry = list_.FindCovering(p);
    // An entry that begins where the last one ended is the next one, not the last again.
    if (entry && entry == last) entry = list_.FindContaining(p);
    if (!entry) {
      ++p;
      continue;
    }
    text_->PutCaret(entry->end);
    MakeCurrentAtCaret();
    pronunce_.base = entry->base;
    pronunce_.reading = entry->reading;
    pronunce_.accepted = true;
    pronunce_.series = false;
    pronunce_.candidates.reset();
    RunPronunce(text_);
    last = entry;
    p = entry->end;
    if (pronunce_.accepted) {
      any = true;
      const int row = table_->RowOf(entry->id, entry->start);
      if (row >= 0) table_->SetKana(row, pronunce_.reading);
      list_.FillReading(pronunce_.reading);
      list_.SetReading(*entry);
    }
    pronunce_.reading.clear();
  }
  if (any) text_->PutCaret(b);
}

void MainWindow::DeleteInSelection() {
  const std::int32_t a = text_->SelectionStart();
  const std::int32_t b = text_->SelectionEnd();
  bool any = false;
  for (std::int32_t p = a; p <= b; ++p) {
    RubyEntry* entry = list_.FindCovering(p);
    if (!entry) continue;
    text_->PutCaret(entry->end);
    MakeCurrentAtCaret();
    const int row = table_->RowOf(entry->id, entry->start);
    if (row >= 0) table_->removeRow(row);
    ColourRun(entry->start, entry->end, false);
    list_.Delete(entry->id);
    any = true;
  }
  if (any) text_->PutCaret(b);
}

// --- the Ruby Table ---------------------------------------------------------------------------

void MainWindow::ShowListPopup(const QPoint& screen_point) {
  const bool selected = !table_->SelectedRows().empty();
  action(Command::ListDelete)->setEnabled(selected);
  action(Command::ListPronunce)->setEnabled(selected);
  action(Command::ListClear)->setEnabled(true);
  if (QAction* chosen = prompter_->RunMenu(*list_menu_, screen_point)) {
    Dispatch(static_cast<Command>(chosen->data().toInt()));
  }
}

void MainWindow::SelectEntryOfTableRow(bool then_pronounce) {
  const std::vector<int> rows = table_->SelectedRows();
  if (rows.empty()) return;
  RubyEntry* entry = list_.FindById(table_->IdOfRow(rows.front()));
  if (!entry) return;
  Highlight(*entry);
  text_->PutCaret(entry->end);
  text_->ensureCursorVisible();
  if (then_pronounce) Dispatch(Command::ListPronunce);
}

void MainWindow::ListDelete() {
  for (std::vector<int> rows = table_->SelectedRows(); !rows.empty();
       rows = table_->SelectedRows()) {
    const int row = rows.front();
    if (RubyEntry* entry = list_.FindById(table_->IdOfRow(row))) {
      ColourRun(entry->start, entry->end, false);
      list_.Delete(entry->id);
    }
    table_->removeRow(row);
  }
}

void MainWindow::ListClear() {
  const Prompter::Answer answer =
      prompter_->Ask(this, QStringLiteral("Clear all rubies?"), Prompter::Buttons::YesNo,
                     Prompter::Icon::Question);
  if (answer != Prompter::Answer::Yes) return;
  table_->RemoveAllRows();
  RemoveHighlight();
  ColourRun(0, text_->TextLength(), false);
  list_.Clear();
}

void MainWindow::ListPronunce() {
  for (int row : table_->SelectedRows()) {
    RubyEntry* entry = list_.FindById(table_->IdOfRow(row));
    if (!entry) continue;
    pronunce_.base = entry->base;
    pronunce_.reading = entry->reading;
    pronunce_.accepted = true;
    pronunce_.series = false;
    pronunce_.candidates.reset();
    if (RunPronunce(table_)) {
      table_->SetKana(row, pronunce_.reading);
      list_.FillReading(pronunce_.reading);
      list_.SetReading(*entry);
    }
    pronunce_.reading.clear();
  }
}

void MainWindow::BatchFill() {
  pronunce_.series = true;
  pronunce_.stop = false;
  for (int row = 0; row < table_->rowCount() && !pronunce_.stop; ++row) {
    RubyEntry* entry = list_.FindById(table_->IdOfRow(row));
    if (!entry || entry->filled()) continue;
    text_->PutCaret(entry->end);
    Highlight(*entry);
    pronunce_.base = entry->base;
    pronunce_.reading.clear();
    pronunce_.accepted = true;
    pronunce_.candidates.reset();
    if (auto_hint_) pronunce_.candidates = LookupAround(entry->start, entry->end, entry->base);
    RunPronunce(this);
    pronunce_.candidates.reset();
    if (pronunce_.accepted) {
      table_->SetKana(row, pronunce_.reading);
      list_.FillReading(pronunce_.reading);
      list_.SetReading(*entry);
    }
    pronunce_.reading.clear();
  }
  pronunce_.series = false;
}

}  // namespace orvi

// --- Phonic > Notate --------------------------------------------------------------------------

namespace orvi {

void MainWindow::RunNotation() {
  const ReadingDictionary* dictionary = candidates_ ? candidates_->dictionary() : nullptr;
  if (!dictionary) {
    prompter_->Ask(this, QStringLiteral("The reading dictionary is not loaded."),
                   Prompter::Buttons::Ok, Prompter::Icon::Warning);
    return;
  }
  NotationRequest request;
  request.scope = notation_scope_;
  request.mode = notation_mode_;
  request.selection_start = text_->SelectionStart();
  request.selection_end = text_->SelectionEnd();
  RemoveHighlight();
  Notate(*dictionary, text_->WholeText(), list_, request, *this);
}

void MainWindow::SeriesStarted() {
  pronunce_.series = true;
  pronunce_.stop = false;
}

void MainWindow::SeriesEnded() { pronunce_.series = false; }

void MainWindow::SetHighlight(std::int32_t start, std::int32_t end, bool on) {
  QTextCharFormat format;
  format.setFontWeight(on ? QFont::Bold : QFont::Normal);
  format.setFontUnderline(on);
  text_->MergeFormat(start, end, format);
}

void MainWindow::PutCaret(std::int32_t p) { text_->PutCaret(p); }

void MainWindow::ColourAnnotated(std::int32_t start, std::int32_t end) {
  ColourRun(start, end, true);
}

PronunceAnswer MainWindow::AskPronunce(std::u16string_view run, CandidateSet& candidates) {
  std::vector<std::u16string> best_first;
  while (const std::u16string* reading = candidates.TakeBest()) best_first.push_back(*reading);
  pronunce_.base = std::u16string(run);
  pronunce_.reading.clear();
  pronunce_.accepted = true;
  pronunce_.candidates.reset();
  if (!best_first.empty()) pronunce_.candidates = std::move(best_first);
  RunPronunce(this);
  pronunce_.candidates.reset();
  PronunceAnswer answer;
  if (pronunce_.accepted) {
    answer.kind = PronunceAnswer::Kind::Accepted;
    answer.reading = pronunce_.reading;
  } else {
    answer.kind = pronunce_.stop ? PronunceAnswer::Kind::Stopped : PronunceAnswer::Kind::Cancelled;
  }
  pronunce_.reading.clear();
  return answer;
}

void MainWindow::MakeCurrentAt(std::int32_t p) {
  text_->PutCaret(p);
  MakeCurrentAtCaret();
}

}  // namespace orvi
