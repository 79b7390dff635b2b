#pragma once
// The window side of the reply dispatcher: each handling routed to the part of the main window that owns it.
// Runs on the window thread, one reply at a time.
#include "link/ReplyDispatcher.h"

namespace qarnis::app {

class MainWindow;

class WindowReplies final : public link::ReplyHandlings {
 public:
  explicit WindowReplies(MainWindow& window) : window_(window) {}

  void ShowReplyMessage(std::string_view utf8Text) override;
  void LoginReply(const std::string& wholeText) override;
  void PauseLiveFeed() override;
  bool ReconnectMark() const override;
  void EmptyTipsHolders() override;
  void ResetTipsViews() override;
  void SetTipsHolders(const std::string& recommendations, const std::string& history,
                      const std::string& notices) override;
  void FillFirstLoginData() override;
  void NoticePush(const link::ReplyFields& f) override;
  void DataPush(const link::ReplyFields& f) override;
  void EmptyPush() override;
  void HistoryPush(const link::ReplyFields& f) override;
  void RegistrationTooFast() override;
  void RegistrationAccountExists() override;
  void RegistrationAccepted() override;
  void PasswordNoSuchAccount() override;
  void PasswordChanged() override;
  void PasswordMismatch() override;
  void ServerNotice(const std::string& text) override;

 private:
  MainWindow& window_;
};

}  // namespace qarnis::app
