#pragma once
// The texts exchanged with the tips server: request builders, reply keywords and the cut of a reply into its
// fields. Every text here is a GBK byte string.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qarnis::link {

// Five full-width commas (A3 AC five times): separates the fields of a server text.
inline constexpr std::string_view FieldSep = "\xA3\xAC\xA3\xAC\xA3\xAC\xA3\xAC\xA3\xAC";
// Five vertical bars: separates the sub-fields inside a field.
inline constexpr std::string_view SubSep = "|||||";

namespace keyword {
// Requests.
inline constexpr std::string_view Login = "QARNYongHuDengLu";
inline constexpr std::string_view KeepAlive = "cs";
inline constexpr std::string_view Registration = "QARNZhuCeDeZhangHao";
inline constexpr std::string_view PasswordChange = "QARNXiuGaiMiMa";
// Replies.
inline constexpr std::string_view AlreadyLoggedIn = "QARNYiJingDengLuLeNo";  // whole text, no FieldSep
inline constexpr std::string_view LoginAccepted = "QARNDengLuOKHuiYuan";
inline constexpr std::string_view LoginRefused = "QARNDengLuZhangHaoHuoMiMaR";
inline constexpr std::string_view FirstLoginData = "SouCiDengLu";
inline constexpr std::string_view NoticePush = "LiShiGongGao";
inline constexpr std::string_view DataPush = "ShuJuTuiSong";
inline constexpr std::string_view EmptyPush = "TuiSongKongShuJu";
inline constexpr std::string_view HistoryPush = "LiShuDuiCuo";
inline constexpr std::string_view RegistrationTooFast = "QARNipZhuCeTaiKuai";
inline constexpr std::string_view AccountExists = "QARNZhangHaoYiCunZai";
inline constexpr std::string_view RegistrationAccepted = "QARNZhuCeOK";
inline constexpr std::string_view PasswordNoSuchAccount = "QARNipXiuGaiMiMaNoZhangHao";
inline constexpr std::string_view PasswordChanged = "QARNipXiuGaiMiMaOK";
inline constexpr std::string_view PasswordMismatch = "QARNipXiuGaiMiMaRYouXiang";
inline constexpr std::string_view AccountFrozen = "QARNZhangHaoYiBeiFeng";
inline constexpr std::string_view ServerNotice = "FuWuQiGongGao";
}  // namespace keyword

// Requests, joined exactly as typed: nothing is trimmed, escaped or re-encoded.
std::string LoginRequest(std::string_view account, std::string_view password);
std::string KeepAliveRequest();  // "cs"
std::string RegistrationRequest(std::string_view account, std::string_view password, std::string_view email,
                                std::string_view mobile);
// Mode 1: account, e-mail, new password, mobile.
std::string PasswordChangeByEmailAndMobile(std::string_view account, std::string_view email,
                                           std::string_view newPassword, std::string_view mobile);
// Mode 2: account, e-mail, new password.
std::string PasswordChangeByEmail(std::string_view account, std::string_view email,
                                  std::string_view newPassword);
// Mode 3: account, mobile, new password.
std::string PasswordChangeByMobile(std::string_view account, std::string_view mobile,
                                   std::string_view newPassword);
// The form of `mode` (1, 2 or 3; any other mode gives an empty text, which the link does not send).
std::string PasswordChangeRequest(int mode, std::string_view account, std::string_view email,
                                  std::string_view mobile, std::string_view newPassword);

// A reply cut at FieldSep. A field that is not there reads as an empty text, so a short reply is handled
// with empty fields instead of failing.
class ReplyFields {
 public:
  ReplyFields() = default;
  ReplyFields(std::vector<std::string> fields, bool hadSeparator)
      : fields_(std::move(fields)), hadSeparator_(hadSeparator) {}

  const std::string& Keyword() const { return Field(0); }
  const std::string& Field(std::size_t index) const;
  const std::string& operator[](std::size_t index) const { return Field(index); }
  std::size_t Count() const { return fields_.size(); }
  // False for a text without FieldSep (the whole text is then field 0).
  bool HadSeparator() const { return hadSeparator_; }
  const std::vector<std::string>& All() const { return fields_; }

 private:
  std::vector<std::string> fields_;
  bool hadSeparator_ = false;
};

// Cuts at every FieldSep that begins on a character boundary; a text without one is a single field.
ReplyFields CutReply(std::string_view text);

}  // namespace qarnis::link
