// Drives the real editor window: types a long Japanese lyric through input-method commits, then
// makes 1,000 annotations the way a user does (select a run, release the button with Ctrl,
// accept the Pronunce dialog with the dictionary's best reading) and prints the time per step.
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QInputMethodEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <cstdio>
#include <vector>

#include "editor/app/candidates.h"
#include "editor/app/main_window.h"
#include "editor/app/prompter.h"
#include "editor/app/pronunce_dialog.h"
#include "editor/app/ruby_table.h"

namespace {

// Accepts every Pronunce dialog as it opens, as a user pressing Enter would.
class AcceptingPrompter : public orvi::Prompter {
 public:
  int dialogs = 0;
  Answer Ask(QWidget*, const QString&, Buttons, Icon) override { return Answer::Ok; }
  int RunDialog(QDialog& dialog) override {
    ++dialogs;
    if (auto* p = qobject_cast<orvi::PronunceDialog*>(&dialog)) p->ok_button()->click();
    return dialog.result();
  }
  QAction* RunMenu(QMenu&, const QPoint&) override { return nullptr; }
  bool ChooseFont(QWidget*, const QFont&, QFont&) override { return false; }
};

struct Run {
  int start;
  int end;
};

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  constexpr int kAttempts = 1000;

  orvi::DictionaryCandidates dictionary;
  QElapsedTimer timer;
  timer.start();
  const orvi::TableStatus loaded = dictionary.Load();
  std::printf("dictionary load: %.1f ms (%s)\n", timer.nsecsElapsed() / 1e6,
              loaded ? "ok" : loaded.message.c_str());

  AcceptingPrompter prompter;
  orvi::MainWindow window(&prompter, &dictionary);
  window.resize(1000, 700);
  window.show();
  app.processEvents();

  // A lyric of kanji runs between kana, four runs to a line.
  const char16_t* words[] = {u"日本", u"夜空", u"本当", u"気持", u"世界", u"未来", u"時間",
                             u"季節", u"約束", u"言葉", u"笑顔", u"涙",   u"青空", u"花火"};
  const char16_t* joins[] = {u"の", u"を", u"に", u"と"};
  std::u16string lyric;
  std::vector<Run> runs;
  int offset = 0;
  for (int k = 0; static_cast<int>(runs.size()) < kAttempts; ++k) {
    const std::u16string word = words[k % 14];
    runs.push_back({offset, offset + static_cast<int>(word.size())});
    lyric += word;
    lyric += joins[k % 4];
    offset += static_cast<int>(word.size()) + 1;
    if (k % 4 == 3) {
      lyric += u'\n';
      ++offset;
    }
  }

  // Typing: one input-method commit per line, as a Japanese input method delivers text.
  orvi::TextWindow* text = window.text_window();
  timer.restart();
  std::size_t line_start = 0;
  int commits = 0;
  while (line_start < lyric.size()) {
    std::size_t line_end = lyric.find(u'\n', line_start);
    if (line_end == std::u16string::npos) line_end = lyric.size() - 1;
    const QString line = QString::fromUtf16(lyric.data() + line_start,
                                            static_cast<qsizetype>(line_end - line_start + 1));
    QInputMethodEvent commit(QString(), {});
    commit.setCommitString(line);
    QApplication::sendEvent(text, &commit);
    ++commits;
    line_start = line_end + 1;
  }
  app.processEvents();
  const double typing_ms = timer.nsecsElapsed() / 1e6;
  std::printf("typing: %d lines, %zu code units in %.1f ms (%.3f ms per line)\n", commits,
              lyric.size(), typing_ms, typing_ms / commits);

  window.Dispatch(orvi::Command::RubyMode);
  app.processEvents();

  QWidget* viewport = text->viewport();
  timer.restart();
  for (const Run& run : runs) {
    text->SetSelection(run.start, run.end);
    QMouseEvent release(QEvent::MouseButtonRelease, QPointF(5, 5), viewport->mapToGlobal(QPointF(5, 5)),
                        Qt::LeftButton, Qt::NoButton, Qt::ControlModifier);
    QApplication::sendEvent(viewport, &release);
  }
  app.processEvents();
  const double annotate_ms = timer.nsecsElapsed() / 1e6;

  const int made = window.list().total_count();
  std::printf("annotation attempts: %d, entries made: %d, dialogs: %d, filled: %d, rows: %d\n",
              kAttempts, made, prompter.dialogs, window.list().filled_count(),
              window.table()->rowCount());
  std::printf("time per annotation attempt: %.3f ms (goal: under 5 ms)\n", annotate_ms / kAttempts);

  // Walking the caret over the annotated text (each key release highlights the run).
  timer.restart();
  text->PutCaret(0);
  for (int i = 0; i < 1000; ++i) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(text, &press);
    QApplication::sendEvent(text, &release);
  }
  app.processEvents();
  std::printf("caret move with highlight: %.3f ms per key\n", timer.nsecsElapsed() / 1e6 / 1000);
  return made == kAttempts ? 0 : 1;
}
