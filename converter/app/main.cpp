#include <QApplication>
#include <QIcon>

#include "converter/app/main_dialog.h"
#include "converter/app/prompts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Quenlite"));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/quenlite/quenlite.png")));
  quenlite::app::DesktopPrompts prompts;
  quenlite::app::MainDialog dialog(prompts);
  dialog.show();
  return app.exec();
}
