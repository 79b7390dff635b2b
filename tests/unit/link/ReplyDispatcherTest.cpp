#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/ReplyDispatcher.h"

namespace qarnis::link {
namespace {

const std::string FS(FieldSep);

// Notes every call as one line, so a test compares the whole sequence.
class RecordingHandlings : public ReplyHandlings {
 public:
  bool reconnect = false;
  std::vector<std::string> calls;

  void ShowReplyMessage(std::string_view t) override { calls.push_back("message:" + std::string(t)); }
  void LoginReply(const std::string& whole) override { calls.push_back("login:" + whole); }
  void PauseLiveFeed() override { calls.push_back("pause"); }
  bool ReconnectMark() const override { return reconnect; }
  void EmptyTipsHolders() override { calls.push_back("empty holders"); }
  void ResetTipsViews() override { calls.push_back("reset views"); }
  void SetTipsHolders(const std::string& r, const std::string& h, const std::string& n) override {
    calls.push_back("holders:" + r + "/" + h + "/" + n);
  }
  void FillFirstLoginData() override { calls.push_back("fill"); }
  void NoticePush(const ReplyFields& f) override { calls.push_back("notice:" + f[1]); }
  void DataPush(const ReplyFields& f) override { calls.push_back("data:" + f[1]); }
  void EmptyPush() override { calls.push_back("empty push"); }
  void HistoryPush(const ReplyFields& f) override { calls.push_back("history:" + f[1]); }
  void RegistrationTooFast() override { calls.push_back("reg too fast"); }
  void RegistrationAccountExists() override { calls.push_back("reg exists"); }
  void RegistrationAccepted() override { calls.push_back("reg ok"); }
  void PasswordNoSuchAccount() override { calls.push_back("pw no account"); }
  void PasswordChanged() override { calls.push_back("pw ok"); }
  void PasswordMismatch() override { calls.push_back("pw mismatch"); }
  void ServerNotice(const std::string& t) override { calls.push_back("server notice:" + t); }
};

struct DispatchCase {
  const char* name;
  std::string text;
  bool reconnect;
  std::vector<std::string> calls;
};

class Dispatch : public ::testing::TestWithParam<DispatchCase> {};

TEST_P(Dispatch, CallsExactlyTheExpectedHandlings) {
  const DispatchCase& c = GetParam();
  RecordingHandlings h;
  h.reconnect = c.reconnect;
  DispatchReply(c.text, h);
  EXPECT_EQ(h.calls, c.calls);
}

const std::string kAlready = "message:" + std::string(kAlreadyLoggedInMessage);
const std::string kFrozen = "message:" + std::string(kAccountFrozenMessage);

INSTANTIATE_TEST_SUITE_P(
    Replies, Dispatch,
    ::testing::Values(
        DispatchCase{"Empty", "", false, {}},
        DispatchCase{"AlreadyLoggedInAlone", "QARNYiJingDengLuLeNo", false, {kAlready}},
        DispatchCase{"AlreadyLoggedInWithSeparatorIsIgnored", "QARNYiJingDengLuLeNo" + FS, false, {}},
        DispatchCase{"TextWithoutSeparatorIsIgnored", "ShuJuTuiSong", false, {}},
        DispatchCase{"EmptyPushAloneIsIgnored", "TuiSongKongShuJu", false, {}},
        DispatchCase{"EmptyPushWithSeparator", "TuiSongKongShuJu" + FS, false, {"empty push"}},
        DispatchCase{"LoginAcceptedHandsTheWholeText",
                     "QARNDengLuOKHuiYuan" + FS + "1.005" + FS + "http://x",
                     false,
                     {"login:QARNDengLuOKHuiYuan" + FS + "1.005" + FS + "http://x"}},
        DispatchCase{"LoginRefused",
                     "QARNDengLuZhangHaoHuoMiMaR" + FS,
                     false,
                     {"login:QARNDengLuZhangHaoHuoMiMaR" + FS}},
        DispatchCase{"FirstLoginAfterStartUpKeepsTheViews",
                     "SouCiDengLu" + FS + "R" + FS + "H" + FS + "N",
                     false,
                     {"pause", "empty holders", "holders:R/H/N", "fill"}},
        DispatchCase{"FirstLoginAfterConnectButtonResetsTheViews",
                     "SouCiDengLu" + FS + "R" + FS + "H" + FS + "N",
                     true,
                     {"pause", "empty holders", "reset views", "holders:R/H/N", "fill"}},
        DispatchCase{"FirstLoginWithAnEmptyField",
                     "SouCiDengLu" + FS + "A" + FS + FS + "C",
                     false,
                     {"pause", "empty holders", "holders:A//C", "fill"}},
        DispatchCase{"FirstLoginWithNoFieldsFillsEmptyHolders",
                     "SouCiDengLu" + FS,
                     false,
                     {"pause", "empty holders", "holders://", "fill"}},
        DispatchCase{"NoticePush", "LiShiGongGao" + FS + "n1", false, {"notice:n1"}},
        DispatchCase{"NoticePushWithoutField1", "LiShiGongGao" + FS, false, {"notice:"}},
        DispatchCase{"DataPush", "ShuJuTuiSong" + FS + "d", false, {"data:d"}},
        DispatchCase{"HistoryPush", "LiShuDuiCuo" + FS + "h", false, {"history:h"}},
        DispatchCase{"RegistrationTooFast", "QARNipZhuCeTaiKuai" + FS, false, {"reg too fast"}},
        DispatchCase{"RegistrationExists", "QARNZhangHaoYiCunZai" + FS, false, {"reg exists"}},
        DispatchCase{"RegistrationAccepted", "QARNZhuCeOK" + FS, false, {"reg ok"}},
        DispatchCase{"PasswordNoSuchAccount", "QARNipXiuGaiMiMaNoZhangHao" + FS, false, {"pw no account"}},
        DispatchCase{"PasswordChanged", "QARNipXiuGaiMiMaOK" + FS, false, {"pw ok"}},
        DispatchCase{"PasswordMismatch", "QARNipXiuGaiMiMaRYouXiang" + FS, false, {"pw mismatch"}},
        DispatchCase{"Frozen", "QARNZhangHaoYiBeiFeng" + FS, false, {kFrozen}},
        DispatchCase{
            "ServerNotice", "FuWuQiGongGao" + FS + "hello" + FS + "extra", false, {"server notice:hello"}},
        DispatchCase{"OtherLetterCaseIsIgnored", "souCiDengLu" + FS + "R", false, {}},
        DispatchCase{"UnknownKeywordIsIgnored", "Whatever" + FS + "x", false, {}},
        DispatchCase{"KeywordMustBeTheWholeField0", "ShuJuTuiSongX" + FS + "d", false, {}},
        DispatchCase{"EmptyField0IsIgnored", FS + "ShuJuTuiSong", false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qarnis::link
