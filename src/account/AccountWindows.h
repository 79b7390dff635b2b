#pragma once
// Owned by the main window: opens the registration and password windows and handles their server replies,
// which the reply handling calls on the window thread. A reply for a window that is not open still shows its
// message; only the window changes are skipped.
#include <QCheckBox>
#include <QLineEdit>
#include <QObject>
#include <QPointer>

#include "account/AccountRequestFields.h"
#include "account/AccountServices.h"
#include "account/PasswordWindow.h"
#include "account/RegisterWindow.h"
#include "settings/SettingsStore.h"

class QWidget;

namespace qarnis::account {

// The main window's login boxes that an accepted registration fills in.
struct MainLoginBoxes {
  QLineEdit* account = nullptr;   // 编辑框_账号
  QLineEdit* password = nullptr;  // 编辑框_密码
  QCheckBox* remember = nullptr;  // 选择框_记住帐号
};

class AccountWindows : public QObject {
  Q_OBJECT
 public:
  AccountWindows(QWidget* mainWindow, const MainLoginBoxes& boxes, const settings::SettingsStore& settings,
                 AccountServices& services, QObject* parent = nullptr);
  ~AccountWindows() override;

  // Modal: return when the window has closed. Each opening starts with empty boxes.
  void OpenRegisterWindow();
  void OpenPasswordWindow();

  // "QARNipZhuCeTaiKuai", "QARNZhangHaoYiCunZai", "QARNZhuCeOK"
  void RegistrationTooFast();
  void RegistrationAccountExists();
  void RegistrationAccepted();
  // "QARNipXiuGaiMiMaNoZhangHao", "QARNipXiuGaiMiMaOK", "QARNipXiuGaiMiMaRYouXiang"
  void PasswordNoSuchAccount();
  void PasswordChanged();
  void PasswordMismatch();

  RegisterWindow* OpenRegister() const { return register_.data(); }
  PasswordWindow* OpenPassword() const { return password_.data(); }
  const AccountState& State() const { return state_; }

 private:
  void RegistrationRefused(const QString& message);
  void PasswordRefused(const QString& message);
  QWidget* ReplyParent(QWidget* window) const;

  QPointer<QWidget> mainWindow_;
  QPointer<QLineEdit> mainAccount_;
  QPointer<QLineEdit> mainPassword_;
  QPointer<QCheckBox> mainRemember_;
  const settings::SettingsStore& settings_;
  AccountServices& services_;
  AccountState state_;
  QPointer<RegisterWindow> register_;
  QPointer<PasswordWindow> password_;
};

}  // namespace qarnis::account
