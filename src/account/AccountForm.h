#pragma once
// Building blocks shared by the registration and password windows: placed labels and GBK-limited edits.
#include <QLabel>
#include <QPushButton>
#include <QRect>
#include <QTimer>
#include <cstddef>

#include "ui/GbkLimitedEdit.h"

namespace qarnis::account {

// Input limits, in GBK bytes, that the two windows share.
inline constexpr int kNameBytes = 18;
inline constexpr int kMobileBytes = 11;
inline constexpr std::size_t kMinPasswordBytes = 8;

inline QLabel* AddLabel(QWidget* window, const QString& name, const QString& text, QRect place) {
  auto* label = new QLabel(text, window);
  label->setObjectName(name);
  label->setGeometry(place);
  return label;
}

inline ui::GbkLimitedEdit* AddEdit(QWidget* window, const QString& name, QRect place, int byteLimit) {
  auto* edit = new ui::GbkLimitedEdit(window);
  edit->setObjectName(name);
  edit->setGeometry(place);
  edit->SetByteLimit(byteLimit);
  return edit;
}

// The submit button after a refusal: disabled while its caption counts down once a second from start − 1
// to 1, then enabled again as "提交". The timer is named "时钟1" like the window's control.
class SubmitCountdown {
 public:
  SubmitCountdown(QWidget* window, int start) : start_(start), value_(start), timer_(window) {
    timer_.setObjectName(QStringLiteral("时钟1"));
  }
  void Attach(QPushButton* button) {
    button_ = button;
    QObject::connect(&timer_, &QTimer::timeout, button, [this] { Tick(); });
  }
  void Begin() {
    button_->setEnabled(false);
    timer_.start(1000);
  }
  void Tick() {
    --value_;
    button_->setText(QString::number(value_));
    if (value_ <= 0) {
      button_->setEnabled(true);
      value_ = start_;
      button_->setText(QStringLiteral("提交"));
      timer_.stop();
    }
  }
  int Value() const { return value_; }
  bool Running() const { return timer_.isActive(); }

 private:
  int start_;
  int value_;
  QTimer timer_;
  QPushButton* button_ = nullptr;
};

}  // namespace qarnis::account
