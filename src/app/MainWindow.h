#pragma once
#include <QMainWindow>

namespace qarnis::app {
class MainWindow : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(QWidget* parent = nullptr);
};
}  // namespace qarnis::app
