#include <QApplication>
#include <QFont>
#include <QIcon>

#include "editor/app/candidates.h"
#include "editor/app/main_window.h"
#include "editor/app/prompter.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  app.setWindowIcon(QIcon(QStringLiteral(":/orvi/orvi.png")));
  app.setApplicationName(QStringLiteral("Orvi"));
  app.setDesktopFileName(QStringLiteral("orvi"));
  // The editor's face keeps its name; the installed Japanese font renders it.
  QFont::insertSubstitution(QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"));

  orvi::QtPrompter prompter(orvi::MainWindow::Title());
  orvi::DictionaryCandidates dictionary;
  const orvi::TableStatus loaded = dictionary.Load();
  orvi::MainWindow window(&prompter, &dictionary);
  window.show();
  if (!loaded) {
    // Not fatal: the editor works without readings; Auto Hint then finds none.
    prompter.Ask(&window,
                 QStringLiteral("The reading dictionary could not be loaded (%1). "
                                "Auto Hint will offer no readings.")
                     .arg(QString::fromStdString(loaded.message)),
                 orvi::Prompter::Buttons::Ok, orvi::Prompter::Icon::Warning);
  }
  // A file named on the command line is opened once opening files is part of the editor;
  // until then it is ignored.
  return app.exec();
}
