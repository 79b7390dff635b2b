#include "account/LoginController.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <optional>

#include "AccountTestText.h"
#include "FakeAccountServices.h"
#include "TempFolder.h"
#include "link/Messages.h"
#include "settings/SettingsStore.h"
#include "ui/GbkQt.h"

namespace qarnis::testing {
namespace {

using link::FieldSep;

const QString kFillBoth = QStringLiteral("请填写帐号和密码。");
const QString kClosedLink = QStringLiteral("无法连接服务器，请更换连接的服务器或者稍后尝试。");
const QString kRefused = QStringLiteral("帐号或密码错误，请检查您输入的帐号或密码是否正确。");
const QString kWelcome = QStringLiteral("欢迎登录Qarnis");

std::string Reply(std::initializer_list<std::string_view> fields) {
  std::string out;
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) out += FieldSep;
    out += f;
    first = false;
  }
  return out;
}

class LoginTest : public ::testing::Test {
 protected:
  LoginTest()
      : store(folder.File("Winsetb.ini")),
        account(new QLineEdit(&window)),
        password(new QLineEdit(&window)),
        login(new QPushButton(QStringLiteral("登录"), &window)),
        remember(new QCheckBox(QStringLiteral("记住帐号"), &window)) {
    account->setObjectName(QStringLiteral("编辑框_账号"));
    password->setObjectName(QStringLiteral("编辑框_密码"));
    login->setObjectName(QStringLiteral("按钮_登录"));
    remember->setObjectName(QStringLiteral("选择框_记住帐号"));
    store.WriteKey("NowBanBen", "1.005");

    account::LoginHooks hooks;
    hooks.openUpdateWindow = [this](const std::string& link) {
      updateWindowLinks.push_back(link);
      EXPECT_TRUE(login->isEnabled());
    };
    hooks.showFullHistory = [this](const std::string& history) {
      fullHistory = history;
      loginEnabledAtHistory = login->isEnabled();
    };
    hooks.setBannerText = [this](const QString& text) { banners.append(text); };
    controller.emplace(account::LoginWidgets{account, password, login, remember}, store, services, hooks);
    window.show();
  }

  void Type(const QString& accountText, const QString& passwordText) {
    account->clear();
    password->clear();
    TypeText(account, accountText);
    TypeText(password, passwordText);
  }

  bool LoggedIn() const { return !login->isEnabled() && !account->isEnabled() && !password->isEnabled(); }
  bool Untouched() const { return login->isEnabled() && account->isEnabled() && password->isEnabled(); }

  TempFolder folder;
  settings::SettingsStore store;
  FakeAccountServices services;
  QWidget window;
  QLineEdit* account;
  QLineEdit* password;
  QPushButton* login;
  QCheckBox* remember;
  std::optional<account::LoginController> controller;

  std::vector<std::string> updateWindowLinks;
  std::optional<std::string> fullHistory;
  bool loginEnabledAtHistory = false;
  QStringList banners;
};

struct ClickCase {
  const char* name;
  QString account;
  QString password;
  bool linkOpen;
  std::optional<std::string> sent;  // none: nothing is sent
  QStringList messages;
};

class LoginClick : public LoginTest, public ::testing::WithParamInterface<ClickCase> {};

TEST_P(LoginClick, ChecksTheBoxesAndSendsAsTyped) {
  const ClickCase& c = GetParam();
  services.sendSucceeds = c.linkOpen;
  Type(c.account, c.password);
  QTest::mouseClick(login, Qt::LeftButton);

  if (c.sent) {
    ASSERT_EQ(services.sent.size(), 1u);
    EXPECT_EQ(services.sent[0], *c.sent);
  } else {
    EXPECT_TRUE(services.sent.empty());
  }
  EXPECT_EQ(services.Texts(), c.messages);
  EXPECT_TRUE(Untouched());
  for (bool forReply : services.messages.recorder.forReply) EXPECT_FALSE(forReply);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LoginClick,
    ::testing::Values(
        ClickCase{"BothEmpty", QString(), QString(), true, std::nullopt, {kFillBoth}},
        ClickCase{"PasswordEmpty", QStringLiteral("alice"), QString(), true, std::nullopt, {kFillBoth}},
        ClickCase{"AccountEmpty", QString(), QStringLiteral("pw"), true, std::nullopt, {kFillBoth}},
        ClickCase{"Plain",
                  QStringLiteral("alice"),
                  QStringLiteral("pw12345"),
                  true,
                  "QARNYongHuDengLu\xA3\xAC\xA3\xAC\xA3\xAC\xA3\xAC\xA3\xAC"
                  "alice|||||pw12345",
                  {}},
        ClickCase{"SpacesSeparatorsAndChineseAsTyped",
                  QStringLiteral(" 张三|||||x "),
                  QStringLiteral(" 密 "),
                  true,
                  "QARNYongHuDengLu" + std::string(FieldSep) + " " + Gbk("张三") + "|||||x |||||" + " " +
                      Gbk("密") + " ",
                  {}},
        ClickCase{"LinkClosed",
                  QStringLiteral("alice"),
                  QStringLiteral("pw"),
                  false,
                  "QARNYongHuDengLu" + std::string(FieldSep) + "alice|||||pw",
                  {kClosedLink}}),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.name); });

TEST_F(LoginTest, TwoClicksSendTwoRequestsAndEachReplyIsHandledOnItsOwn) {
  Type(QStringLiteral("alice"), QStringLiteral("wrong"));
  QTest::mouseClick(login, Qt::LeftButton);
  QTest::mouseClick(login, Qt::LeftButton);
  ASSERT_EQ(services.sent.size(), 2u);
  EXPECT_EQ(services.sent[0], services.sent[1]);
  EXPECT_TRUE(login->isEnabled());

  controller->HandleLoginResult(Reply({"QARNDengLuZhangHaoHuoMiMaR"}) + std::string(FieldSep));
  controller->HandleLoginResult(Reply({"QARNDengLuOKHuiYuan", "1.005", "http://127.0.0.1/new", "x"}));
  EXPECT_EQ(services.Texts(), QStringList{kRefused});
  EXPECT_EQ(services.messages.recorder.forReply, QList<bool>{true});
  EXPECT_TRUE(LoggedIn());
}

struct ResultCase {
  const char* name;
  QString account;
  bool remember;
  std::string reply;
  bool loggedIn;
  std::optional<std::string> updateLinkShown;
  std::optional<std::string> fullHistory;
  QStringList messages;
};

class LoginResult : public LoginTest, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(LoginResult, FollowsTheReply) {
  const ResultCase& c = GetParam();
  Type(c.account, QStringLiteral("pass1234"));
  remember->setChecked(c.remember);
  controller->HandleLoginResult(c.reply);

  EXPECT_EQ(LoggedIn(), c.loggedIn);
  if (!c.loggedIn) {
    EXPECT_TRUE(Untouched());
  }
  EXPECT_EQ(banners, c.loggedIn ? QStringList{kWelcome} : QStringList{});
  if (c.updateLinkShown) {
    EXPECT_EQ(updateWindowLinks, std::vector<std::string>{*c.updateLinkShown});
  } else {
    EXPECT_TRUE(updateWindowLinks.empty());
  }
  EXPECT_EQ(fullHistory, c.fullHistory);
  if (c.fullHistory) {
    EXPECT_TRUE(loginEnabledAtHistory);
  }
  EXPECT_EQ(services.Texts(), c.messages);

  const bool saved = c.loggedIn && c.remember;
  EXPECT_EQ(store.ReadKey("DQZH"), saved ? ui::FromQ(c.account) : "");
  EXPECT_EQ(store.ReadKey("DQMM"), saved ? "pass1234" : "");
  EXPECT_EQ(store.ReadKey("ZDTXZM"), "");
}

const std::string kAccepted = "QARNDengLuOKHuiYuan";

INSTANTIATE_TEST_SUITE_P(
    Cases, LoginResult,
    ::testing::Values(ResultCase{"SameVersionRemembered",
                                 QStringLiteral("张三"),
                                 true,
                                 Reply({kAccepted, "1.005", "http://127.0.0.1/up", "", "A|||||B"}),
                                 true,
                                 std::nullopt,
                                 std::nullopt,
                                 {}},
                      ResultCase{"SameVersionNotRemembered",
                                 QStringLiteral("alice"),
                                 false,
                                 Reply({kAccepted, "1.005", "http://127.0.0.1/up"}),
                                 true,
                                 std::nullopt,
                                 std::nullopt,
                                 {}},
                      ResultCase{"NewerVersionOffersTheUpdateOnly",
                                 QStringLiteral("alice"),
                                 true,
                                 Reply({kAccepted, "1.006", "http://127.0.0.1/up"}),
                                 false,
                                 "http://127.0.0.1/up",
                                 std::nullopt,
                                 {}},
                      ResultCase{"VersionComparedByteForByte",
                                 QStringLiteral("alice"),
                                 true,
                                 Reply({kAccepted, "1.005 ", "http://127.0.0.1/up"}),
                                 false,
                                 "http://127.0.0.1/up",
                                 std::nullopt,
                                 {}},
                      ResultCase{"SpecialAccountGetsItsFullHistoryFirst",
                                 QStringLiteral("mossfield4"),
                                 true,
                                 Reply({kAccepted, "1.005", "u", "ignored", "rec1\r\nrec2"}),
                                 true,
                                 std::nullopt,
                                 "rec1\r\nrec2",
                                 {}},
                      ResultCase{"SpecialAccountInOtherCaseIsOrdinary",
                                 QStringLiteral("Mossfield4"),
                                 false,
                                 Reply({kAccepted, "1.005", "u", "ignored", "rec1"}),
                                 true,
                                 std::nullopt,
                                 std::nullopt,
                                 {}},
                      ResultCase{"SpecialAccountWithoutHistoryKeepsTheStoredOne",
                                 QStringLiteral("mossfield4"),
                                 false,
                                 Reply({kAccepted, "1.005", "u"}),
                                 true,
                                 std::nullopt,
                                 std::nullopt,
                                 {}},
                      ResultCase{"AcceptedWithoutFieldsOffersTheUpdate",
                                 QStringLiteral("alice"),
                                 false,
                                 kAccepted + std::string(FieldSep),
                                 false,
                                 "",
                                 std::nullopt,
                                 {}},
                      ResultCase{"Refused",
                                 QStringLiteral("alice"),
                                 true,
                                 Reply({"QARNDengLuZhangHaoHuoMiMaR", ""}) + "x",
                                 false,
                                 std::nullopt,
                                 std::nullopt,
                                 {kRefused}},
                      ResultCase{"KeywordWithoutSeparatorIgnored",
                                 QStringLiteral("alice"),
                                 true,
                                 kAccepted,
                                 false,
                                 std::nullopt,
                                 std::nullopt,
                                 {}},
                      ResultCase{"OtherLetterCaseIgnored",
                                 QStringLiteral("alice"),
                                 true,
                                 Reply({"qARNDengLuOKHuiYuan", "1.005", "u"}),
                                 false,
                                 std::nullopt,
                                 std::nullopt,
                                 {}}),
    [](const ::testing::TestParamInfo<ResultCase>& info) { return std::string(info.param.name); });

TEST_F(LoginTest, AcceptedLoginKeepsTheUpdateLinkAndAChangedPasswordReplacesTheSavedOne) {
  store.WriteKey("DQZH", "alice");
  store.WriteKey("DQMM", "oldpass1");
  Type(QStringLiteral("alice"), QStringLiteral("newpass1"));
  remember->setChecked(true);
  controller->HandleLoginResult(Reply({kAccepted, "1.005", "http://127.0.0.1/v2"}));
  EXPECT_EQ(controller->UpdateLink(), "http://127.0.0.1/v2");
  EXPECT_EQ(store.ReadKey("DQMM"), "newpass1");
}

}  // namespace
}  // namespace qarnis::testing
