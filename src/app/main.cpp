#include <QApplication>
#include "app/MainWindow.h"
int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qarnis::app::MainWindow w;
  w.show();
  return app.exec();
}
