#include "account/AccountWindows.h"

#include "account/PasswordWindow.h"
#include "account/RegisterWindow.h"
#include "ui/GbkQt.h"

namespace qarnis::account {

AccountWindows::AccountWindows(QWidget* mainWindow, const MainLoginBoxes& boxes,
                               const settings::SettingsStore& settings, AccountServices& services,
                               QObject* parent)
    : QObject(parent),
      mainWindow_(mainWindow),
      mainAccount_(boxes.account),
      mainPassword_(boxes.password),
      mainRemember_(boxes.remember),
      settings_(settings),
      services_(services) {}

AccountWindows::~AccountWindows() {
  // A window still running its own loop is rejected so that loop ends; the opener deletes it.
  if (register_) register_->reject();
  if (password_) password_->reject();
}

void AccountWindows::OpenRegisterWindow() {
  if (register_ || password_) return;
  QPointer<RegisterWindow> window = new RegisterWindow(services_, state_.fields, mainWindow_);
  register_ = window;
  window->exec();
  delete window.data();
}

void AccountWindows::OpenPasswordWindow() {
  if (register_ || password_) return;
  QPointer<PasswordWindow> window = new PasswordWindow(services_, state_, mainWindow_);
  password_ = window;
  window->exec();
  delete window.data();
}

QWidget* AccountWindows::ReplyParent(QWidget* window) const {
  if (window != nullptr && window->isVisible()) return window;
  return mainWindow_.data();
}

void AccountWindows::RegistrationRefused(const QString& message) {
  if (register_) register_->BeginRefusalCountdown();
  services_.Messages().ShowForReply(ReplyParent(register_), message);
}

void AccountWindows::RegistrationTooFast() {
  RegistrationRefused(QStringLiteral("您的IP注册繁忙，请稍后再尝试。"));
}

void AccountWindows::RegistrationAccountExists() {
  RegistrationRefused(QStringLiteral("您注册的账号已经存在，请换个账号注册，如需帮助请联系管理员。"));
}

void AccountWindows::RegistrationAccepted() {
  if (RegisterWindow* window = register_) {
    window->MarkAccepted();
    const QString account = window->AccountText();
    const QString password = window->PasswordText();
    if (mainAccount_) mainAccount_->setText(account);
    if (mainPassword_) mainPassword_->setText(password);
    if (mainRemember_) mainRemember_->setChecked(true);
    settings_.WriteKey("DQZH", ui::FromQ(mainAccount_ ? mainAccount_->text() : account));
    settings_.WriteKey("DQMM", ui::FromQ(mainPassword_ ? mainPassword_->text() : password));
    settings_.WriteKey("ZDTXZM", settings::kOn);
    window->accept();
  }
  services_.Messages().ShowForReply(mainWindow_, QStringLiteral("恭喜，您的账号已经注册成功。"));
}

void AccountWindows::PasswordRefused(const QString& message) {
  services_.Messages().ShowForReply(ReplyParent(password_), message);
  if (password_) password_->BeginRefusalCountdown();
}

void AccountWindows::PasswordNoSuchAccount() {
  PasswordRefused(QStringLiteral("账号填写错误，请重检查输入的账号是否错误。"));
}

void AccountWindows::PasswordChanged() {
  services_.Messages().ShowForReply(ReplyParent(password_),
                                    QStringLiteral("密码修改完毕，下次登录请用新的密码登录。"));
  if (password_) password_->accept();
}

void AccountWindows::PasswordMismatch() {
  switch (state_.passwordChangeMode) {
    case PasswordChangeMode::EmailAndMobile:
      PasswordRefused(QStringLiteral("邮箱和手机号码都填写错误，请检查邮箱和手机是否输入错误。"));
      break;
    case PasswordChangeMode::EmailOnly:
      PasswordRefused(QStringLiteral("邮箱填写错误，请检查邮箱是否输入错误。"));
      break;
    case PasswordChangeMode::MobileOnly:
      PasswordRefused(QStringLiteral("手机号码填写错误，请检查手机号码是否输入错误。"));
      break;
    case PasswordChangeMode::None:
      break;
  }
}

}  // namespace qarnis::account
