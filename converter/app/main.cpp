#include <QApplication>
#include <QDialog>
#include <QString>

namespace {

// The caption is stored with a hyphen; at start-up a white star is written over it.
QString MainCaption() {
  QString caption = QStringLiteral("Quenlite - For vexa");
  caption[9] = QChar(0x2606);
  return caption;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(MainCaption());
  dialog.show();
  return app.exec();
}
