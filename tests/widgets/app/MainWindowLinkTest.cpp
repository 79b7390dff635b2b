// The main window against the demo tips server over real loopback TCP: the start-up connection, the connect
// button, the keep-alive, the dispatcher's own messages and the first-login data.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <memory>

#include "DemoTipsServer.h"
#include "RecordingMessageService.h"
#include "RecordingSoundPlayer.h"
#include "TempFolder.h"
#include "app/MainWindow.h"
#include "link/ServerLink.h"
#include "tips/TipsController.h"
#include "ui/GbkQt.h"

namespace qarnis::app {
namespace {

using qarnis::testing::DemoTipsServer;
using qarnis::testing::RecordingMessageService;
using qarnis::testing::RecordingSoundPlayer;
using qarnis::testing::TempFolder;

const QString kConnectFailed = QStringLiteral("连接服务器失败，请更换服务器进行尝试。");
const QString kConnectSucceeded = QStringLiteral("服务器连接成功。");
const QString kAlreadyLoggedIn = QStringLiteral(
    "抱歉，您的帐号已经登录了，请检查是否帐号密码已经泄漏，如果是卡了帐号，请过5分钟后再进行尝试登录。");
const QString kFrozen = QStringLiteral("您的帐号已经被冻结，请于您购买的投注站进行沟通。");
const char* kSep = "，，，，，";

// What the client receives (two backslashes open the reasons), and the same text as a script step writes it.
const std::string kRecommendation =
    "欧冠，2026-12-11 03:45，拜仁，，巴黎，0.93|半球|0.97，1.85|3.60|3.90，，，12-11 "
    "01:00，11，21，未开赛，\\\\Qarnis//近况上佳";
const std::string kNotice = "今晚十场推荐已更新|||||1|||||2026-12-10 20:00";

std::string ScriptText(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

const std::string kFirstLogin =
    "send SouCiDengLu" + std::string(kSep) + ScriptText(kRecommendation) + kSep + kSep + kNotice + "\n";

bool WaitUntil(const std::function<bool()>& condition, int timeoutMs = 10000) {
  for (int waited = 0; waited < timeoutMs && !condition(); waited += 10) QTest::qWait(10);
  return condition();
}

// A message box that stays open in its own event loop, as a real one does, while `whileOpen` runs inside
// that loop; then it closes.
class HoldingMessageService final : public ui::MessageService {
 public:
  void Show(QWidget*, const QString& text) override { Hold(text); }
  void ShowForReply(QWidget*, const QString& text) override { Hold(text); }
  std::function<void()> whileOpen;
  QStringList texts;
  bool open = false;

 private:
  void Hold(const QString& text) {
    texts.append(text);
    open = true;
    QEventLoop loop;
    QTimer::singleShot(0, &loop, [this, &loop] {
      if (whileOpen) whileOpen();
      loop.quit();
    });
    loop.exec();
    open = false;
  }
};

class MainWindowLinkTest : public ::testing::Test {
 protected:
  MainWindow& Open(int port, ui::MessageService* service = nullptr) {
    WindowServices services;
    services.environment = settings::ClientEnvironment::InFolder(folder.Path());
    services.environment.tipsPort = static_cast<std::uint16_t>(port);
    services.messages = service != nullptr ? service : &messages;
    services.sound = &sound;
    services.link = &link;
    services.startLiveFeed = false;
    window = std::make_unique<MainWindow>(services);
    return *window;
  }
  template <class W>
  W* Find(const char* name) {
    return window->findChild<W*>(QString::fromUtf8(name));
  }

  TempFolder folder;
  RecordingMessageService messages;
  RecordingSoundPlayer sound;
  link::ServerLink link;
  std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowLinkTest, StartUpConnectionSucceedsSilentlyAndKeepAliveSendsCs) {
  auto server = DemoTipsServer::Scripted("accept\nexpect cs\nclose\n");
  MainWindow& w = Open(server->Port());
  EXPECT_TRUE(messages.texts.isEmpty());
  EXPECT_TRUE(link.IsOpen());
  EXPECT_FALSE(Find<QPushButton>("按钮_连接服务器")->isEnabled());
  auto* keepAlive = Find<QTimer>("时钟_向服务器报道");
  EXPECT_TRUE(keepAlive->isActive());
  EXPECT_EQ(keepAlive->interval(), 60000);
  EXPECT_EQ(w.ReconnectMark(), 0);
  w.KeepAliveCheck();
  EXPECT_TRUE(w.LinkAlive());
  EXPECT_EQ(server->WaitForExit(), 0);
  EXPECT_EQ(server->Received(), std::vector<std::string>{"cs"});
}

TEST_F(MainWindowLinkTest, KeepAliveAfterTheServerClosedResetsTheControlsAndSaysSo) {
  auto server = DemoTipsServer::Scripted("accept\nclose\n");
  MainWindow& w = Open(server->Port());
  ASSERT_TRUE(messages.texts.isEmpty());
  // The closing event shows nothing by itself.
  ASSERT_TRUE(WaitUntil([&] { return !link.IsOpen(); }));
  EXPECT_TRUE(messages.texts.isEmpty());
  Find<QLineEdit>("编辑框_账号")->setEnabled(false);
  Find<QLineEdit>("编辑框_密码")->setEnabled(false);
  Find<QPushButton>("按钮_登录")->setEnabled(false);
  w.KeepAliveCheck();
  EXPECT_EQ(messages.texts, QStringList{kConnectFailed});
  EXPECT_FALSE(w.LinkAlive());
  EXPECT_TRUE(Find<QPushButton>("按钮_连接服务器")->isEnabled());
  EXPECT_TRUE(Find<QLineEdit>("编辑框_账号")->isEnabled());
  EXPECT_TRUE(Find<QLineEdit>("编辑框_密码")->isEnabled());
  EXPECT_FALSE(Find<QPushButton>("按钮_登录")->isEnabled());  // the login button keeps its state
  EXPECT_FALSE(Find<QTimer>("时钟_向服务器报道")->isActive());
}

TEST_F(MainWindowLinkTest, ConnectButtonSucceedsAndFails) {
  auto server = DemoTipsServer::Serving();
  MainWindow& w = Open(server->Port());
  ASSERT_TRUE(link.IsOpen());
  link.Close();
  Find<QPushButton>("按钮_登录")->setEnabled(false);
  Find<QPushButton>("按钮_连接服务器")->setEnabled(true);
  QTest::mouseClick(Find<QPushButton>("按钮_连接服务器"), Qt::LeftButton);
  EXPECT_EQ(messages.texts, QStringList{kConnectSucceeded});
  EXPECT_EQ(w.ReconnectMark(), 1);
  EXPECT_TRUE(link.IsOpen());
  EXPECT_FALSE(Find<QPushButton>("按钮_连接服务器")->isEnabled());
  EXPECT_TRUE(Find<QPushButton>("按钮_登录")->isEnabled());
  EXPECT_TRUE(Find<QTimer>("时钟_向服务器报道")->isActive());

  // Server ③ has nobody listening.
  link.Close();
  messages.Clear();
  w.OnServerChosen(2);
  Find<QPushButton>("按钮_连接服务器")->setEnabled(true);
  QTest::mouseClick(Find<QPushButton>("按钮_连接服务器"), Qt::LeftButton);
  EXPECT_EQ(messages.texts, QStringList{kConnectFailed});
  EXPECT_TRUE(Find<QPushButton>("按钮_连接服务器")->isEnabled());
  EXPECT_FALSE(Find<QTimer>("时钟_向服务器报道")->isActive());
}

TEST_F(MainWindowLinkTest, DispatcherShowsItsTwoMessagesBroughtToTheFront) {
  const std::string script = std::string("accept\nsend QARNYiJingDengLuLeNo\nsend QARNYiJingDengLuLeNo") +
                             kSep + "\nsend QARNZhangHaoYiBeiFeng" + kSep + "\nwait 300\n";
  auto server = DemoTipsServer::Scripted(script);
  Open(server->Port());
  ASSERT_TRUE(WaitUntil([&] { return messages.texts.size() >= 2; }));
  QTest::qWait(100);
  EXPECT_EQ(messages.texts, (QStringList{kAlreadyLoggedIn, kFrozen}));
  EXPECT_EQ(messages.forReply, (QList<bool>{true, true}));
}

TEST_F(MainWindowLinkTest, AReplyWaitsWhileTheBoxOfTheOneBeforeIsOpen) {
  const std::string script = std::string("accept\nsend QARNZhangHaoYiBeiFeng") + kSep +
                             "\nsend ShuJuTuiSong" + kSep + ScriptText(kRecommendation) + "\nwait 2000\n";
  auto server = DemoTipsServer::Scripted(script);
  HoldingMessageService holding;
  int rowsWhileOpen = -1;
  holding.whileOpen = [&] {
    QTest::qWait(300);  // the push has arrived meanwhile, and must wait for the box
    rowsWhileOpen = Find<QTreeWidget>("超级列表框3")->topLevelItemCount();
  };
  Open(server->Port(), &holding);
  auto* list = Find<QTreeWidget>("超级列表框3");
  ASSERT_TRUE(WaitUntil([&] { return list->topLevelItemCount() == 1; }));
  EXPECT_EQ(rowsWhileOpen, 0);
  EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("拜仁"));
  EXPECT_EQ(holding.texts, QStringList{kFrozen});
}

TEST_F(MainWindowLinkTest, ClosingWhileAReplyBoxIsOpenEndsCleanly) {
  const std::string script = std::string("accept\nsend QARNZhangHaoYiBeiFeng") + kSep +
                             "\nsend QARNZhangHaoYiBeiFeng" + kSep + "\nwait 5000\n";
  auto server = DemoTipsServer::Scripted(script);
  HoldingMessageService holding;
  bool destroyed = false;
  // The program ends while the first box is open and the second reply waits on the window thread: the
  // window and the link go from inside the box's loop, and nothing may hang.
  holding.whileOpen = [&] {
    if (destroyed) return;
    destroyed = true;
    QTimer::singleShot(0, [&] { window.reset(); });
  };
  Open(server->Port(), &holding);
  ASSERT_TRUE(WaitUntil([&] { return destroyed && window == nullptr; }));
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(MainWindowLinkTest, FirstLoginDataOnTheStartUpConnectionAddsBelowTheOldRows) {
  auto server = DemoTipsServer::Scripted("accept\n" + kFirstLogin + kFirstLogin + "wait 3000\n");
  MainWindow& w = Open(server->Port());
  auto* recommendations = Find<QTreeWidget>("超级列表框3");
  ASSERT_TRUE(WaitUntil([&] { return recommendations->topLevelItemCount() == 2; }));
  EXPECT_EQ(Find<QTreeWidget>("超级列表框4")->topLevelItemCount(), 2);
  EXPECT_EQ(w.ReconnectMark(), 0);
  // The holders keep the last payloads, exactly as received.
  EXPECT_EQ(w.Tips().recommendationsHolder, ui::FromQ(QString::fromUtf8(kRecommendation.c_str())));
  EXPECT_EQ(w.Tips().historyHolder, "");
  EXPECT_EQ(w.Tips().noticesHolder, ui::FromQ(QString::fromUtf8(kNotice.c_str())));
  EXPECT_TRUE(sound.played == 0);  // first-login data are not announced
}

TEST_F(MainWindowLinkTest, FirstLoginDataAfterTheConnectButtonReplacesTheRows) {
  // Every connection gets the first-login data, then the server hangs up.
  auto server = DemoTipsServer::Scripted("accept\n" + kFirstLogin + "wait 300\nclose\n", true);
  MainWindow& w = Open(server->Port());
  auto* recommendations = Find<QTreeWidget>("超级列表框3");
  ASSERT_TRUE(WaitUntil([&] { return recommendations->topLevelItemCount() == 1; }));
  ASSERT_TRUE(WaitUntil([&] { return !link.IsOpen(); }));
  Find<QPushButton>("按钮_连接服务器")->setEnabled(true);
  QTest::mouseClick(Find<QPushButton>("按钮_连接服务器"), Qt::LeftButton);
  EXPECT_EQ(messages.texts, QStringList{kConnectSucceeded});
  EXPECT_EQ(w.ReconnectMark(), 1);
  ASSERT_TRUE(WaitUntil([&] { return !link.IsOpen(); }));  // the second data arrived before the hang-up
  QTest::qWait(100);
  EXPECT_EQ(recommendations->topLevelItemCount(), 1);
  EXPECT_EQ(Find<QTreeWidget>("超级列表框4")->topLevelItemCount(), 1);
}

}  // namespace
}  // namespace qarnis::app
