#pragma once

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <deque>
#include <functional>
#include <map>

#include "editor/app/candidates.h"
#include "editor/app/prompter.h"
#include "editor/app/pronunce_dialog.h"

namespace orvi::testing {

// What a Pronunce dialog showed when it opened.
struct DialogSeen {
  QString kanji;
  QString kana;
  QStringList candidates;
  QString selected_candidate;
  bool candidates_enabled = false;
  bool stop_enabled = false;
};

// Answers every question from scripts and records what was asked.
class FakePrompter : public Prompter {
 public:
  using DialogScript = std::function<void(PronunceDialog&)>;
  using MenuScript = std::function<QAction*(QMenu&)>;

  std::deque<Answer> answers;
  QStringList questions;
  std::deque<DialogScript> dialog_scripts;
  std::vector<DialogSeen> dialogs;
  std::deque<MenuScript> menu_scripts;
  QList<QDialog*> other_dialogs;  // valid only inside the script
  std::function<void(QDialog&)> other_dialog_script;
  std::map<QString, bool> menu_enabled;  // item text -> enabled, of the last menu shown
  bool font_answer = false;
  QFont font_to_choose;
  int unexpected = 0;  // questions, dialogs or menus that had no script

  Answer Ask(QWidget*, const QString& text, Buttons, Icon) override {
    questions << text;
    if (answers.empty()) {
      ++unexpected;
      return Answer::Cancel;
    }
    const Answer a = answers.front();
    answers.pop_front();
    return a;
  }

  int RunDialog(QDialog& dialog) override {
    auto* pronunce = qobject_cast<PronunceDialog*>(&dialog);
    if (!pronunce) {
      other_dialogs << &dialog;
      if (other_dialog_script) {
        other_dialog_script(dialog);
      } else {
        ++unexpected;
        dialog.reject();
      }
      return dialog.result();
    }
    DialogSeen seen;
    seen.kanji = pronunce->kanji_edit()->text();
    seen.kana = pronunce->kana_edit()->text();
    for (int i = 0; i < pronunce->candidate_box()->count(); ++i) {
      seen.candidates << pronunce->candidate_box()->itemText(i);
    }
    seen.selected_candidate = pronunce->candidate_box()->currentText();
    seen.candidates_enabled = pronunce->candidate_box()->isEnabled();
    seen.stop_enabled = pronunce->stop_button()->isEnabled();
    dialogs.push_back(seen);
    if (dialog_scripts.empty()) {
      ++unexpected;
      pronunce->cancel_button()->click();
    } else {
      DialogScript script = dialog_scripts.front();
      dialog_scripts.pop_front();
      script(*pronunce);
    }
    return dialog.result();
  }

  QAction* RunMenu(QMenu& menu, const QPoint&) override {
    menu_enabled.clear();
    for (QAction* a : menu.actions()) {
      if (!a->isSeparator()) menu_enabled[a->text()] = a->isEnabled();
    }
    if (menu_scripts.empty()) return nullptr;
    MenuScript script = menu_scripts.front();
    menu_scripts.pop_front();
    return script(menu);
  }

  bool ChooseFont(QWidget*, const QFont&, QFont& chosen) override {
    if (font_answer) chosen = font_to_choose;
    return font_answer;
  }
};

// Dialog scripts.
inline FakePrompter::DialogScript AcceptAs(const QString& kana) {
  return [kana](PronunceDialog& d) {
    d.kana_edit()->setText(kana);
    d.ok_button()->click();
  };
}
inline FakePrompter::DialogScript AcceptAsShown() {
  return [](PronunceDialog& d) { d.ok_button()->click(); };
}
inline FakePrompter::DialogScript Cancel() {
  return [](PronunceDialog& d) { d.cancel_button()->click(); };
}
inline FakePrompter::DialogScript Stop() {
  return [](PronunceDialog& d) { d.stop_button()->click(); };
}
// Picks a menu item by its text.
inline FakePrompter::MenuScript Choose(const QString& text) {
  return [text](QMenu& menu) -> QAction* {
    for (QAction* a : menu.actions()) {
      if (a->text() == text && a->isEnabled()) return a;
    }
    return nullptr;
  };
}

// A dictionary that knows a few words; records every lookup.
class FakeCandidates : public CandidateProvider {
 public:
  struct Call {
    char16_t left;
    std::u16string word;
    char16_t right;
  };
  std::map<std::u16string, std::vector<std::u16string>> words;
  std::vector<Call> calls;

  std::optional<std::vector<std::u16string>> Lookup(char16_t left, std::u16string_view word,
                                                   char16_t right) override {
    calls.push_back({left, std::u16string(word), right});
    const auto it = words.find(std::u16string(word));
    if (it == words.end()) return std::nullopt;
    return it->second;
  }
};

}  // namespace orvi::testing
