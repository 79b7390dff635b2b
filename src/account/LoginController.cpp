#include "account/LoginController.h"

#include "link/Messages.h"
#include "ui/GbkQt.h"

namespace qarnis::account {

LoginController::LoginController(const LoginWidgets& widgets, const settings::SettingsStore& settings,
                                 AccountServices& services, LoginHooks hooks, QObject* parent)
    : QObject(parent),
      account_(widgets.account),
      password_(widgets.password),
      login_(widgets.login),
      remember_(widgets.remember),
      settings_(settings),
      services_(services),
      hooks_(std::move(hooks)) {
  if (login_) connect(login_, &QPushButton::clicked, this, &LoginController::OnLoginClicked);
}

QWidget* LoginController::MessageParent() const { return account_ ? account_->window() : nullptr; }

void LoginController::OnLoginClicked() {
  if (!account_ || !password_) return;
  if (account_->text().isEmpty() || password_->text().isEmpty()) {
    services_.Messages().Show(MessageParent(), QStringLiteral("请填写帐号和密码。"));
    return;
  }
  const std::string request = link::LoginRequest(ui::FromQ(account_->text()), ui::FromQ(password_->text()));
  if (!services_.Send(request)) {
    services_.Messages().Show(MessageParent(),
                              QStringLiteral("无法连接服务器，请更换连接的服务器或者稍后尝试。"));
  }
}

void LoginController::HandleLoginResult(const std::string& lastLoginReply) {
  const link::ReplyFields fields = link::CutReply(lastLoginReply);
  if (!fields.HadSeparator()) return;

  if (fields.Keyword() == link::keyword::LoginRefused) {
    services_.Messages().ShowForReply(MessageParent(),
                                      QStringLiteral("帐号或密码错误，请检查您输入的帐号或密码是否正确。"));
    return;
  }
  if (fields.Keyword() != link::keyword::LoginAccepted) return;

  updateLink_ = fields[2];
  if (settings_.ReadKey("NowBanBen") != fields[1]) {
    if (hooks_.openUpdateWindow) hooks_.openUpdateWindow(updateLink_);
    return;
  }
  if (!account_ || !password_) return;

  // A reply cut short before the history must not replace the stored history with nothing.
  if (ui::FromQ(account_->text()) == kSpecialAccount && fields.Count() > 4 && hooks_.showFullHistory) {
    hooks_.showFullHistory(fields[4]);
    if (!account_ || !password_) return;
  }
  if (login_) login_->setEnabled(false);
  if (hooks_.setBannerText) hooks_.setBannerText(QStringLiteral("欢迎登录Qarnis"));
  if (remember_ && remember_->isChecked()) {
    settings_.WriteKey("DQZH", ui::FromQ(account_->text()));
    settings_.WriteKey("DQMM", ui::FromQ(password_->text()));
  }
  account_->setEnabled(false);
  password_->setEnabled(false);
}

}  // namespace qarnis::account
