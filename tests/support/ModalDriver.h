#pragma once
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace qarnis::testing {

// Drives one modal window from inside its own event loop. Arm it, then do what opens the window:
//
//   ModalDriver driver([](QWidget* w) { ...type, click, close... });
//   QTest::mouseClick(button, Qt::LeftButton);   // runs dlg.exec() and returns once it closed
//   EXPECT_TRUE(driver.Acted());
//
// When no modal window shows up within the time-out, nothing is done and Acted() stays false. When the
// window is still open after the action and the time-out, the driver closes it and records a failure,
// so a broken window fails the test instead of hanging it.
class ModalDriver {
 public:
  using Action = std::function<void(QWidget*)>;
  explicit ModalDriver(Action action, int timeoutMs = 5000);
  ~ModalDriver();

  bool Acted() const { return acted_; }
  bool ClosedByDriver() const { return closedByDriver_; }
  // The window's class name and size as it stood when the action ran.
  QString SeenClass() const { return seenClass_; }

 private:
  void Poll();

  Action action_;
  int timeoutMs_;
  int waitedMs_ = 0;
  bool acted_ = false;
  bool closedByDriver_ = false;
  QString seenClass_;
  QPointer<QWidget> window_;
  QTimer timer_;
};

}  // namespace qarnis::testing
