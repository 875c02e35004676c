#include <QApplication>
#include <QMainWindow>
#include <QString>

namespace {

// The title is stored with a hyphen; at start-up a white star is written over it.
QString MainTitle() {
  QString title = QStringLiteral("Orvi - vexa");
  title[5] = QChar(0x2606);
  return title;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(MainTitle());
  window.resize(800, 600);
  window.show();
  return app.exec();
}
