#include "link/Messages.h"

#include "text/GbkText.h"

namespace qarnis::link {
namespace {

std::string Join(std::string_view keyword, std::initializer_list<std::string_view> subFields) {
  std::string out(keyword);
  out += FieldSep;
  bool first = true;
  for (std::string_view sub : subFields) {
    if (!first) out += SubSep;
    out += sub;
    first = false;
  }
  return out;
}

}  // namespace

std::string LoginRequest(std::string_view account, std::string_view password) {
  return Join(keyword::Login, {account, password});
}

std::string KeepAliveRequest() { return std::string(keyword::KeepAlive); }

std::string RegistrationRequest(std::string_view account, std::string_view password, std::string_view email,
                                std::string_view mobile) {
  return Join(keyword::Registration, {account, password, email, mobile});
}

std::string PasswordChangeByEmailAndMobile(std::string_view account, std::string_view email,
                                           std::string_view newPassword, std::string_view mobile) {
  return Join(keyword::PasswordChange, {account, email, newPassword, mobile});
}

std::string PasswordChangeByEmail(std::string_view account, std::string_view email,
                                  std::string_view newPassword) {
  return Join(keyword::PasswordChange, {account, email, newPassword});
}

std::string PasswordChangeByMobile(std::string_view account, std::string_view mobile,
                                   std::string_view newPassword) {
  return Join(keyword::PasswordChange, {account, mobile, newPassword});
}

std::string PasswordChangeRequest(int mode, std::string_view account, std::string_view email,
                                  std::string_view mobile, std::string_view newPassword) {
  switch (mode) {
    case 1:
      return PasswordChangeByEmailAndMobile(account, email, newPassword, mobile);
    case 2:
      return PasswordChangeByEmail(account, email, newPassword);
    case 3:
      return PasswordChangeByMobile(account, mobile, newPassword);
    default:
      return {};
  }
}

const std::string& ReplyFields::Field(std::size_t index) const {
  static const std::string kEmpty;
  return index < fields_.size() ? fields_[index] : kEmpty;
}

ReplyFields CutReply(std::string_view text) {
  if (!text::Contains(text, FieldSep)) {
    std::vector<std::string> whole;
    if (!text.empty()) whole.emplace_back(text);
    return ReplyFields(std::move(whole), false);
  }
  return ReplyFields(text::Split(text, FieldSep), true);
}

}  // namespace qarnis::link
