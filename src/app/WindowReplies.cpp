#include "app/WindowReplies.h"

#include "account/AccountWindows.h"
#include "account/LoginController.h"
#include "account/PasswordWindow.h"
#include "account/RegisterWindow.h"
#include "app/MainWindow.h"
#include "notify/Announcer.h"
#include "notify/PopupWindow.h"
#include "notify/ServerNoticeWindow.h"
#include "tips/TipsController.h"
#include "ui/MessageService.h"

namespace qarnis::app {

void WindowReplies::ShowReplyMessage(std::string_view utf8Text) {
  window_.Messages().ShowForReply(
      &window_, QString::fromUtf8(utf8Text.data(), static_cast<qsizetype>(utf8Text.size())));
}

void WindowReplies::LoginReply(const std::string& wholeText) {
  window_.SetLastLoginReply(wholeText);
  window_.Login().HandleLoginResult(window_.LastLoginReply());
}

void WindowReplies::PauseLiveFeed() { window_.PauseLiveFeed(); }
bool WindowReplies::ReconnectMark() const { return window_.ReconnectMark() == 1; }
void WindowReplies::EmptyTipsHolders() { window_.Tips().EmptyHolders(); }
void WindowReplies::ResetTipsViews() { window_.Tips().ResetViews(); }

void WindowReplies::SetTipsHolders(const std::string& recommendations, const std::string& history,
                                   const std::string& notices) {
  tips::TipsController& tips = window_.Tips();
  tips.recommendationsHolder = recommendations;
  tips.historyHolder = history;
  tips.noticesHolder = notices;
}

void WindowReplies::FillFirstLoginData() { window_.Tips().FillFirstLoginData(); }
void WindowReplies::NoticePush(const link::ReplyFields& f) { window_.Tips().NoticePush(f[1]); }
void WindowReplies::DataPush(const link::ReplyFields& f) { window_.Tips().DataPush(f[1]); }
void WindowReplies::EmptyPush() { window_.Tips().EmptyPush(); }
void WindowReplies::HistoryPush(const link::ReplyFields& f) { window_.Tips().HistoryPush(f[1]); }
void WindowReplies::RegistrationTooFast() { window_.Accounts().RegistrationTooFast(); }
void WindowReplies::RegistrationAccountExists() { window_.Accounts().RegistrationAccountExists(); }
void WindowReplies::RegistrationAccepted() { window_.Accounts().RegistrationAccepted(); }
void WindowReplies::PasswordNoSuchAccount() { window_.Accounts().PasswordNoSuchAccount(); }
void WindowReplies::PasswordChanged() { window_.Accounts().PasswordChanged(); }
void WindowReplies::PasswordMismatch() { window_.Accounts().PasswordMismatch(); }
void WindowReplies::ServerNotice(const std::string& text) { window_.Announcements().ServerNotice(text); }

}  // namespace qarnis::app
