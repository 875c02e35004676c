#include <QApplication>
#include <QFont>
#include <QIcon>

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
  orvi::MainWindow window(&prompter, nullptr);
  window.show();
  // A file named on the command line is opened once opening files is part of the editor;
  // until then it is ignored.
  return app.exec();
}
