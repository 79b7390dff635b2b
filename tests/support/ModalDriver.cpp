#include "ModalDriver.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QDialog>

namespace qarnis::testing {

constexpr int kPollMs = 10;

ModalDriver::ModalDriver(Action action, int timeoutMs) : action_(std::move(action)), timeoutMs_(timeoutMs) {
  QObject::connect(&timer_, &QTimer::timeout, &timer_, [this] { Poll(); });
  timer_.start(kPollMs);
}

ModalDriver::~ModalDriver() { timer_.stop(); }

void ModalDriver::Poll() {
  waitedMs_ += kPollMs;
  if (!acted_) {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal != nullptr && modal->isVisible()) {
      acted_ = true;
      window_ = modal;
      seenClass_ = QString::fromLatin1(modal->metaObject()->className());
      waitedMs_ = 0;
      action_(modal);
      return;
    }
    if (waitedMs_ > timeoutMs_) timer_.stop();
    return;
  }
  if (window_.isNull() || !window_->isVisible()) {
    timer_.stop();
    return;
  }
  if (waitedMs_ > timeoutMs_) {
    closedByDriver_ = true;
    ADD_FAILURE() << "modal window " << seenClass_.toStdString() << " did not close";
    if (auto* dialog = qobject_cast<QDialog*>(window_.data()))
      dialog->reject();
    else
      window_->close();
    timer_.stop();
  }
}

}  // namespace qarnis::testing
