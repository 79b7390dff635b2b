#include "app/MainWindow.h"
namespace qarnis::app {
MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {}
}  // namespace qarnis::app
