// The baseline of the start-up bench: a bare Qt 6 window of the main window's size, nothing else.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.resize(1000, 700);
  window.show();
  QTimer::singleShot(30000, &app, &QCoreApplication::quit);  // never outlives a lost bench
  return app.exec();
}
