// The account flows against the real demo tips server over loopback: the server's script checks every
// request byte for byte, and its replies drive the real windows.
#include <sys/stat.h>

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>

#include "AccountTestText.h"
#include "FakeAccountServices.h"
#include "ModalDriver.h"
#include "TempFolder.h"
#include "ToolProcess.h"
#include "account/AccountWindows.h"
#include "account/LoginController.h"
#include "account/PasswordWindow.h"
#include "link/Messages.h"
#include "link/ServerLink.h"
#include "settings/SettingsStore.h"

namespace qarnis::testing {
namespace {

constexpr int kWaitMs = 20000;

// The client's side of the link as the account code sees it; replies are queued for the window thread.
class LinkServices final : public account::AccountServices {
 public:
  bool Connect(int port) {
    return link.Connect(port, "127.0.0.1", [this](const link::LinkEvent& event) {
      std::string text;
      if (!link.Read(&event, text)) return;
      std::lock_guard lock(mutex);
      replies.push_back(text);
    });
  }
  bool Send(const std::string& gbkText) override { return link.Send(gbkText); }
  void KeepAliveCheck() override {
    alive = link.Send(link::KeepAliveRequest());
    if (!alive) messages.Show(nullptr, kKeepAliveFailed);
  }
  bool LinkAlive() const override { return alive; }
  ui::MessageService& Messages() override { return messages; }

  // Waits, running the window's events, for the next reply.
  std::optional<std::string> NextReply() {
    std::optional<std::string> out;
    (void)QTest::qWaitFor(
        [&] {
          std::lock_guard lock(mutex);
          if (replies.empty()) return false;
          out = replies.front();
          replies.pop_front();
          return true;
        },
        kWaitMs);
    return out;
  }

  RecordingMessageService messages;
  link::ServerLink link;
  bool alive = false;
  std::mutex mutex;
  std::deque<std::string> replies;
};

class ScriptedServer {
 public:
  explicit ScriptedServer(const std::string& script) : port_(FreePort()) {
    WriteFile(folder_.File("script.txt"), script);
    process_ = std::make_unique<ToolProcess>(
        ToolPath("qarnis_demo_tips_server"),
        std::vector<std::string>{"--port", std::to_string(port_), "--script", folder_.File("script.txt"),
                                 "--once", "--received", folder_.File("received.txt"), "--ready-file",
                                 folder_.File("ready"), "--exit-with-parent"});
    const std::string ready = folder_.File("ready");
    ready_ = QTest::qWaitFor(
        [&] {
          struct stat st {};
          return ::stat(ready.c_str(), &st) == 0 && st.st_size > 0;
        },
        kWaitMs);
  }
  bool Ready() const { return ready_; }
  int Port() const { return port_; }
  std::string Received() const { return ReadFile(folder_.File("received.txt")); }
  // The script's verdict: 0 when every expected text came as written.
  // Lets the script play out (its last steps may still be waiting), then ends the server.
  int Finish() {
    for (int i = 0; i < 1000 && process_->Running(); ++i) QTest::qWait(10);
    return process_->Running() ? process_->Stop() : process_->LastStatus();
  }

 private:
  TempFolder folder_;
  int port_;
  std::unique_ptr<ToolProcess> process_;
  bool ready_ = false;
};

class AccountDemoServerTest : public ::testing::Test {
 protected:
  AccountDemoServerTest()
      : store(folder.File("Winsetb.ini")),
        account(new QLineEdit(&main)),
        password(new QLineEdit(&main)),
        login(new QPushButton(&main)),
        remember(new QCheckBox(&main)),
        windows(&main, {account, password, remember}, store, services) {
    store.WriteKey("NowBanBen", "1.005");
    account::LoginHooks hooks;
    hooks.openUpdateWindow = [this](const std::string& link) { updateLinks.push_back(link); };
    hooks.showFullHistory = [this](const std::string& history) { histories.push_back(history); };
    hooks.setBannerText = [this](const QString& text) { banners.append(text); };
    controller = std::make_unique<account::LoginController>(
        account::LoginWidgets{account, password, login, remember}, store, services, hooks);
    main.show();
  }

  // Routes a reply the way the client's reply handling does.
  void Dispatch(const std::string& reply) {
    const std::string keyword = link::CutReply(reply).Keyword();
    namespace kw = link::keyword;
    if (keyword == kw::LoginAccepted || keyword == kw::LoginRefused)
      controller->HandleLoginResult(reply);
    else if (keyword == kw::RegistrationAccepted)
      windows.RegistrationAccepted();
    else if (keyword == kw::AccountExists)
      windows.RegistrationAccountExists();
    else if (keyword == kw::PasswordMismatch)
      windows.PasswordMismatch();
    else if (keyword == kw::PasswordChanged)
      windows.PasswordChanged();
    else
      ADD_FAILURE() << "unexpected reply " << reply;
  }
  void DispatchNext() {
    const std::optional<std::string> reply = services.NextReply();
    ASSERT_TRUE(reply.has_value()) << "no reply from the server";
    Dispatch(*reply);
  }
  void Type(QWidget* window, const char* name, const char* utf8) {
    auto* edit = window->findChild<QLineEdit*>(QString::fromUtf8(name));
    ASSERT_NE(edit, nullptr) << name;
    edit->clear();
    TypeText(edit, QString::fromUtf8(utf8));
  }
  static void ClickSubmit(QWidget* window) {
    QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("按钮_提交")), Qt::LeftButton);
  }

  TempFolder folder;
  settings::SettingsStore store;
  LinkServices services;
  QWidget main;
  QLineEdit* account;
  QLineEdit* password;
  QPushButton* login;
  QCheckBox* remember;
  account::AccountWindows windows;
  std::unique_ptr<account::LoginController> controller;
  std::vector<std::string> updateLinks;
  std::vector<std::string> histories;
  QStringList banners;
};

TEST_F(AccountDemoServerTest, RegisterLogInAndChangeThePassword) {
  ScriptedServer server(
      "accept\n"
      "expect cs\n"
      "expect QARNZhuCeDeZhangHao，，，，，新用户|||||pass1234|||||new@user.cn|||||138-0013800\n"
      "send QARNZhuCeOK，，，，，\n"
      "expect QARNYongHuDengLu，，，，，新用户|||||pass1234\n"
      "send QARNDengLuOKHuiYuan，，，，，1.005，，，，，http://127.0.0.1/update，，，，，x\n"
      "expect cs\n"
      "expect QARNXiuGaiMiMa，，，，，新用户|||||138-0013800|||||newpass99\n"
      "send QARNipXiuGaiMiMaRYouXiang，，，，，\n"
      "expect cs\n"
      "expect QARNXiuGaiMiMa，，，，，新用户|||||new@user.cn|||||newpass99|||||138-0013800\n"
      "send QARNipXiuGaiMiMaOK，，，，，\n"
      "wait 200\n");
  ASSERT_TRUE(server.Ready());
  ASSERT_TRUE(services.Connect(server.Port()));

  ModalDriver registration([this](QWidget* window) {
    Type(window, "编辑框1", "新用户");
    Type(window, "编辑框2", "pass1234");
    Type(window, "编辑框3", "pass1234");
    Type(window, "编辑框4", "new@user.cn");
    Type(window, "编辑框5", "138-0013800");
    ClickSubmit(window);
    DispatchNext();
  });
  windows.OpenRegisterWindow();
  ASSERT_TRUE(registration.Acted());
  EXPECT_FALSE(registration.ClosedByDriver());
  EXPECT_EQ(account->text(), QStringLiteral("新用户"));
  EXPECT_EQ(store.ReadKey("ZDTXZM"), Gbk("真"));

  QTest::mouseClick(login, Qt::LeftButton);
  DispatchNext();
  EXPECT_FALSE(login->isEnabled());
  EXPECT_FALSE(account->isEnabled());
  EXPECT_EQ(banners, QStringList{QStringLiteral("欢迎登录Qarnis")});
  EXPECT_EQ(controller->UpdateLink(), "http://127.0.0.1/update");

  ModalDriver change([this](QWidget* window) {
    Type(window, "编辑框1", "新用户");
    Type(window, "编辑框5", "138-0013800");
    Type(window, "编辑框3", "newpass99");
    Type(window, "编辑框4", "newpass99");
    ClickSubmit(window);
    DispatchNext();
    Type(window, "编辑框2", "new@user.cn");
    // The refusal holds the button for ten seconds; the test skips the wait.
    for (int i = 0; i < 10; ++i) windows.OpenPassword()->CountdownTick();
    Type(window, "编辑框3", "newpass99");
    Type(window, "编辑框4", "newpass99");
    ClickSubmit(window);
    DispatchNext();
  });
  windows.OpenPasswordWindow();
  ASSERT_TRUE(change.Acted());
  EXPECT_FALSE(change.ClosedByDriver());

  EXPECT_EQ(services.messages.texts,
            (QStringList{QStringLiteral("恭喜，您的账号已经注册成功。"),
                         QStringLiteral("手机号码填写错误，请检查手机号码是否输入错误。"),
                         QStringLiteral("密码修改完毕，下次登录请用新的密码登录。")}));
  EXPECT_EQ(password->text(), QStringLiteral("pass1234"));
  EXPECT_EQ(server.Finish(), 0) << server.Received();
}

TEST_F(AccountDemoServerTest, ARefusedLoginCanBeRetriedAndTwoClicksSendTwoRequests) {
  ScriptedServer server(
      "accept\n"
      "expect QARNYongHuDengLu，，，，，demo|||||wrong\n"
      "expect QARNYongHuDengLu，，，，，demo|||||wrong\n"
      "send QARNDengLuZhangHaoHuoMiMaR，，，，，\n"
      "expect QARNYongHuDengLu，，，，，mossfield4|||||qarnis4\n"
      "send QARNDengLuOKHuiYuan，，，，，1.005，，，，，u，，，，，x，，，，，第一条\\r\\n第二条\n"
      "wait 200\n");
  ASSERT_TRUE(server.Ready());
  ASSERT_TRUE(services.Connect(server.Port()));

  TypeText(account, QStringLiteral("demo"));
  TypeText(password, QStringLiteral("wrong"));
  QTest::mouseClick(login, Qt::LeftButton);
  QTest::mouseClick(login, Qt::LeftButton);
  DispatchNext();
  EXPECT_TRUE(login->isEnabled());
  EXPECT_EQ(services.messages.texts,
            QStringList{QStringLiteral("帐号或密码错误，请检查您输入的帐号或密码是否正确。")});

  account->clear();
  password->clear();
  TypeText(account, QStringLiteral("mossfield4"));
  TypeText(password, QStringLiteral("qarnis4"));
  QTest::mouseClick(login, Qt::LeftButton);
  DispatchNext();
  EXPECT_EQ(histories, std::vector<std::string>{Gbk("第一条\r\n第二条")});
  EXPECT_FALSE(login->isEnabled());
  EXPECT_EQ(server.Finish(), 0) << server.Received();
}

TEST_F(AccountDemoServerTest, AClosedLinkRefusesTheLogin) {
  TypeText(account, QStringLiteral("demo"));
  TypeText(password, QStringLiteral("demo123"));
  QTest::mouseClick(login, Qt::LeftButton);
  EXPECT_EQ(services.messages.texts,
            QStringList{QStringLiteral("无法连接服务器，请更换连接的服务器或者稍后尝试。")});
}

}  // namespace
}  // namespace qarnis::testing
