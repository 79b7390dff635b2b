#include "link/ReplyDispatcher.h"

#include "text/GbkText.h"

namespace qarnis::link {

void DispatchReply(std::string_view text, ReplyHandlings& h) {
  if (!text::Contains(text, FieldSep)) {
    if (text == keyword::AlreadyLoggedIn) h.ShowReplyMessage(kAlreadyLoggedInMessage);
    return;
  }
  const ReplyFields f = CutReply(text);
  const std::string& k = f.Keyword();
  namespace kw = keyword;
  if (k == kw::LoginAccepted || k == kw::LoginRefused) {
    h.LoginReply(std::string(text));
  } else if (k == kw::FirstLoginData) {
    h.PauseLiveFeed();
    h.EmptyTipsHolders();
    if (h.ReconnectMark()) h.ResetTipsViews();
    h.SetTipsHolders(f[1], f[2], f[3]);
    h.FillFirstLoginData();
  } else if (k == kw::NoticePush) {
    h.NoticePush(f);
  } else if (k == kw::DataPush) {
    h.DataPush(f);
  } else if (k == kw::EmptyPush) {
    h.EmptyPush();
  } else if (k == kw::HistoryPush) {
    h.HistoryPush(f);
  } else if (k == kw::RegistrationTooFast) {
    h.RegistrationTooFast();
  } else if (k == kw::AccountExists) {
    h.RegistrationAccountExists();
  } else if (k == kw::RegistrationAccepted) {
    h.RegistrationAccepted();
  } else if (k == kw::PasswordNoSuchAccount) {
    h.PasswordNoSuchAccount();
  } else if (k == kw::PasswordChanged) {
    h.PasswordChanged();
  } else if (k == kw::PasswordMismatch) {
    h.PasswordMismatch();
  } else if (k == kw::AccountFrozen) {
    h.ShowReplyMessage(kAccountFrozenMessage);
  } else if (k == kw::ServerNotice) {
    h.ServerNotice(f[1]);
  }
}

}  // namespace qarnis::link
