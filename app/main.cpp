#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow w;
  w.setWindowTitle("Corvane");
  w.resize(900, 600);
  w.show();
  return app.exec();
}
