#pragma once
// The login group of the main window: the login button and the handling of the login reply.
#include <QCheckBox>
#include <QLineEdit>
#include <QObject>
#include <QPointer>
#include <QPushButton>
#include <QString>
#include <functional>
#include <string>

#include "account/AccountServices.h"
#include "settings/SettingsStore.h"

namespace qarnis::account {

inline constexpr std::string_view kSpecialAccount = "mossfield4";

// The main window's controls; they stay owned by the main window.
struct LoginWidgets {
  QLineEdit* account = nullptr;   // 编辑框_账号
  QLineEdit* password = nullptr;  // 编辑框_密码
  QPushButton* login = nullptr;   // 按钮_登录
  QCheckBox* remember = nullptr;  // 选择框_记住帐号
};

struct LoginHooks {
  // Opens the update window modally and returns when it is closed.
  std::function<void(const std::string& updateLink)> openUpdateWindow;
  // Puts the special account's full history into its holder and fills the grid from it.
  std::function<void(const std::string& fullHistory)> showFullHistory;
  // Clears the banner's source canvas and sets the banner text.
  std::function<void(const QString& text)> setBannerText;
};

class LoginController : public QObject {
  Q_OBJECT
 public:
  // Connects the login button's click to OnLoginClicked; the caller must not connect it again.
  LoginController(const LoginWidgets& widgets, const settings::SettingsStore& settings,
                  AccountServices& services, LoginHooks hooks, QObject* parent = nullptr);

  // Checks the two boxes and sends the login request as typed.
  void OnLoginClicked();
  // Handles a whole login reply (accepted or refused); any other text is ignored.
  void HandleLoginResult(const std::string& lastLoginReply);

  // The address of the newer version from the last accepted login.
  const std::string& UpdateLink() const { return updateLink_; }

 private:
  QWidget* MessageParent() const;

  QPointer<QLineEdit> account_;
  QPointer<QLineEdit> password_;
  QPointer<QPushButton> login_;
  QPointer<QCheckBox> remember_;
  const settings::SettingsStore& settings_;
  AccountServices& services_;
  LoginHooks hooks_;
  std::string updateLink_;
};

}  // namespace qarnis::account
