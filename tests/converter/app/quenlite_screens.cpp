// Puts Quenlite's windows into typical states and captures the X screen after each, for a
// look at the layout under Xvfb:
//   xvfb-run -s "-screen 0 1280x1024x24" build-dir/tests/converter/app/quenlite_screens OUTDIR
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <functional>

#include "common/qt/link_label.h"
#include "common/qt/version_history_dialog.h"
#include "converter/app/advanced_options_dialog.h"
#include "converter/app/main_dialog.h"
#include "converter/app/prompts.h"
#include "converter/app/save_dialog.h"
#include "converter/app/select_encoding_dialog.h"

namespace {

class ScriptedPrompts : public quenlite::app::Prompts {
 public:
  QStringList files;
  QStringList ChooseSourceFiles(QWidget*) override { return files; }
  QString ChooseFolder(QWidget*, const QString&) override { return {}; }
  QString ChooseSaveFile(QWidget*, const QString&) override { return {}; }
  bool AskYesNo(QWidget*, const QString&, const QString&) override { return false; }
  void OpenUrl(const QUrl&) override {}
};

QString out_dir;

void Capture(const QString& name) {
  for (int i = 0; i < 20; ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
  QProcess::execute(QStringLiteral("import"),
                    {QStringLiteral("-window"), QStringLiteral("root"), out_dir + QLatin1Char('/') + name});
}

// Calls f on the next modal dialog of type T.
template <typename T>
void OnModal(std::function<void(T*)> f) {
  auto* timer = new QTimer;
  QObject::connect(timer, &QTimer::timeout, [timer, f] {
    if (auto* d = qobject_cast<T*>(QApplication::activeModalWidget()); d && d->isVisible()) {
      timer->stop();
      timer->deleteLater();
      f(d);
    }
  });
  timer->start(50);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  out_dir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
  QTemporaryDir dir;
  const QString folder = dir.path() + QStringLiteral("/歌詞フォルダ/");
  QDir().mkpath(folder);
  const QStringList names = {QStringLiteral("(アルバム) 01 桜の歌.lrc"), QStringLiteral("夜空.txt"),
                             QStringLiteral("[00:01.00]test.lrc")};
  for (const QString& n : names) {
    QFile f(folder + n);
    f.open(QIODevice::WriteOnly);
    f.write("[00:01.00]\x8d\xf7\x82\xcc\x89\xcc\n");  // 桜の歌 in Shift-JIS
  }
  ScriptedPrompts prompts;
  quenlite::app::MainDialog dialog(prompts);
  dialog.show();

  // One Japanese file selected.
  prompts.files = {folder + names[0]};
  dialog.controls().source_browse->click();
  dialog.controls().split_album->click();
  Capture(QStringLiteral("main.png"));

  // Several files, status window on, one batch.
  prompts.files = {folder + names[0], folder + names[1], folder + names[2]};
  dialog.controls().source_browse->click();
  dialog.controls().show_status->click();
  QEventLoop wait;
  QObject::connect(&dialog, &quenlite::app::MainDialog::batchFinished, &wait, &QEventLoop::quit);
  dialog.controls().start->click();
  wait.exec();
  Capture(QStringLiteral("status.png"));

  // The same batch again: the Save dialog, then its rename mode.
  OnModal<quenlite::app::SaveDialog>([](quenlite::app::SaveDialog* d) {
    Capture(QStringLiteral("save.png"));
    d->renameButton()->click();
    Capture(QStringLiteral("save-rename.png"));
    d->done(QDialog::Accepted);
    OnModal<quenlite::app::SaveDialog>([](quenlite::app::SaveDialog* next) {
      next->toAllBox()->click();
      next->skipButton()->click();
    });
  });
  dialog.controls().start->click();
  wait.exec();

  OnModal<quenlite::app::SelectEncodingDialog>([](quenlite::app::SelectEncodingDialog* d) {
    Capture(QStringLiteral("encoding.png"));
    d->button(QStringLiteral("OK"))->click();
  });
  dialog.controls().source_encoding_button->click();
  OnModal<quenlite::app::AdvancedOptionsDialog>([](quenlite::app::AdvancedOptionsDialog* d) {
    d->box(quenlite::app::AdvancedOptionsDialog::kKatakana)->click();
    Capture(QStringLiteral("advanced.png"));
    d->accept();
  });
  dialog.controls().more->clicked();
  OnModal<common::qt::VersionHistoryDialog>([](common::qt::VersionHistoryDialog* d) {
    Capture(QStringLiteral("history.png"));
    d->okButton()->click();
  });
  dialog.controls().version->clicked();
  Capture(QStringLiteral("main-after.png"));
  return 0;
}
