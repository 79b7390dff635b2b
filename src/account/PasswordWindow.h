#pragma once
// The password change window: proves the account with its e-mail address or mobile number and sends one of
// the three forms of the password change request.
#include <QDialog>

#include "account/AccountForm.h"
#include "account/AccountRequestFields.h"
#include "account/AccountServices.h"

class QPushButton;

namespace qarnis::ui {
class GbkLimitedEdit;
}

namespace qarnis::account {

class PasswordWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kCountdownStart = 10;

  PasswordWindow(AccountServices& services, AccountState& state, QWidget* parent = nullptr);

  // 按钮_提交: the checks, the choice of the form, the connection check and the request.
  void Submit();
  // One tick of 时钟1.
  void CountdownTick();
  // A refusal from the server: the button waits out the countdown.
  void BeginRefusalCountdown();

  int Countdown() const { return countdown_.Value(); }
  bool CountdownRunning() const { return countdown_.Running(); }

 private:
  AccountServices& services_;
  AccountState& state_;
  ui::GbkLimitedEdit* account_;
  ui::GbkLimitedEdit* email_;
  ui::GbkLimitedEdit* mobile_;
  ui::GbkLimitedEdit* password_;
  ui::GbkLimitedEdit* repeat_;
  QPushButton* submit_;
  SubmitCountdown countdown_{this, kCountdownStart};
  bool submitting_ = false;
};

}  // namespace qarnis::account
