#pragma once
// The registration window: checks what the user typed and sends the registration request.
#include <QDialog>

#include "account/AccountForm.h"
#include "account/AccountRequestFields.h"
#include "account/AccountServices.h"

class QLabel;
class QPushButton;

namespace qarnis::ui {
class GbkLimitedEdit;
}

namespace qarnis::account {

class RegisterWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kCountdownStart = 60;

  RegisterWindow(AccountServices& services, AccountRequestFields& fields, QWidget* parent = nullptr);

  // 按钮_提交: the checks, the connection check and the request.
  void Submit();
  // One tick of 时钟1.
  void CountdownTick();

  // A refusal from the server: the button waits out the countdown.
  void BeginRefusalCountdown();
  // The server accepted the account: nothing more may be submitted.
  void MarkAccepted();

  QString AccountText() const;
  QString PasswordText() const;
  int Countdown() const { return countdown_.Value(); }
  bool CountdownRunning() const { return countdown_.Running(); }

 private:
  AccountServices& services_;
  AccountRequestFields& fields_;
  ui::GbkLimitedEdit* account_;
  ui::GbkLimitedEdit* password_;
  ui::GbkLimitedEdit* repeat_;
  ui::GbkLimitedEdit* email_;
  ui::GbkLimitedEdit* mobile_;
  QPushButton* submit_;
  QLabel* waiting_;
  SubmitCountdown countdown_{this, kCountdownStart};
  bool submitting_ = false;
};

}  // namespace qarnis::account
