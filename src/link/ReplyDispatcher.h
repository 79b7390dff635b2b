#pragma once
// Routes every text from the tips server to its handling, in a fixed order of keyword tests.
#include <string>
#include <string_view>

#include "link/Messages.h"

namespace qarnis::link {

// The dispatcher's own two messages (UTF-8).
inline constexpr std::string_view kAlreadyLoggedInMessage =
    "抱歉，您的帐号已经登录了，请检查是否帐号密码已经泄漏，如果是卡了帐号，请过5分钟后再进行尝试登录。";
inline constexpr std::string_view kAccountFrozenMessage = "您的帐号已经被冻结，请于您购买的投注站进行沟通。";

// What the dispatcher calls; the window side implements it. Texts handed over are GBK except
// ShowReplyMessage.
class ReplyHandlings {
 public:
  virtual ~ReplyHandlings() = default;
  virtual void ShowReplyMessage(std::string_view utf8Text) = 0;  // the dispatcher's own two messages
  virtual void LoginReply(const std::string& wholeText) = 0;     // caller stores LastLoginReply + handles
  virtual void PauseLiveFeed() = 0;
  virtual bool ReconnectMark() const = 0;
  virtual void EmptyTipsHolders() = 0;  // recommendations, then history, then notices holder
  virtual void ResetTipsViews() = 0;    // delete rows of both lists, clear grid + layout 51
  virtual void SetTipsHolders(const std::string& recommendations, const std::string& history,
                              const std::string& notices) = 0;
  virtual void FillFirstLoginData() = 0;  // ends with the resume
  virtual void NoticePush(const ReplyFields& f) = 0;
  virtual void DataPush(const ReplyFields& f) = 0;
  virtual void EmptyPush() = 0;
  virtual void HistoryPush(const ReplyFields& f) = 0;
  virtual void RegistrationTooFast() = 0;
  virtual void RegistrationAccountExists() = 0;
  virtual void RegistrationAccepted() = 0;
  virtual void PasswordNoSuchAccount() = 0;
  virtual void PasswordChanged() = 0;
  virtual void PasswordMismatch() = 0;
  virtual void ServerNotice(const std::string& text) = 0;  // field 1
};

// Handles one received text (GBK). An empty text (a closing event) does nothing.
void DispatchReply(std::string_view text, ReplyHandlings& h);

}  // namespace qarnis::link
