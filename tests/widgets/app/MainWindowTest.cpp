#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "RecordingMessageService.h"
#include "RecordingSoundPlayer.h"
#include "TempFolder.h"
#include "ToolProcess.h"
#include "app/HeaderBanner.h"
#include "app/MainWindow.h"
#include "link/ServerLink.h"
#include "settings/SettingsStore.h"
#include "ui/GbkQt.h"

namespace qarnis::app {
namespace {

using qarnis::testing::ReadFile;
using qarnis::testing::RecordingMessageService;
using qarnis::testing::RecordingSoundPlayer;
using qarnis::testing::TempFolder;
using qarnis::testing::WriteFile;

const QString kConnectFailed = QStringLiteral("连接服务器失败，请更换服务器进行尝试。");

// A main window over a temporary folder; no tips server listens on its port, so the start-up connection
// fails.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() {
    environment = settings::ClientEnvironment::InFolder(folder.Path());
    environment.tipsPort = static_cast<std::uint16_t>(qarnis::testing::FreePort());
  }

  MainWindow& Open() {
    window.reset();
    WindowServices services;
    services.environment = environment;
    services.messages = &messages;
    services.sound = &sound;
    services.link = &link;
    services.startLiveFeed = false;
    window = std::make_unique<MainWindow>(services);
    return *window;
  }

  template <class W>
  W* Find(const char* name) {
    W* w = window->findChild<W*>(QString::fromUtf8(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }

  std::string SettingsText() { return ReadFile(environment.settingsFile); }

  TempFolder folder;
  settings::ClientEnvironment environment;
  RecordingMessageService messages;
  RecordingSoundPlayer sound;
  link::ServerLink link;
  std::unique_ptr<MainWindow> window;
};

struct ControlCase {
  const char* name;
  const char* type;  // class name
  QString text;
  QRect geometry;  // inside its parent; empty size = not checked
  bool visible;
  bool enabled;
};

QString TextOf(QWidget* w) {
  if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
  if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
  if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
  if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
  return {};
}

TEST_F(MainWindowTest, ControlsStandAsDescribed) {
  MainWindow& w = Open();
  w.show();
  const QString noText;
  const ControlCase cases[] = {
      {"分组框_声明", "QGroupBox", QStringLiteral("声明"), {0, 2, 280, 87}, true, true},
      {"图片框1", "QLabel", noText, {3, 12, 70, 70}, true, true},
      {"标签1", "QLabel", QStringLiteral("声明：本软件资讯仅供体育爱好者"), {94, 15, 0, 0}, true, true},
      {"标签2", "QLabel", QStringLiteral("浏览、购买中国足彩参考之用。任何"), {81, 33, 0, 0}, true, true},
      {"标签3", "QLabel", QStringLiteral("人不得用于非法用途，否则责任自负。"), {76, 51, 0, 0}, true, true},
      {"画板2", "qarnis::app::BannerSource", noText, {126, 68, 144, 16}, true, true},
      {"图片框2", "QLabel", noText, {291, 0, 718, 88}, true, true},
      {"画板1", "qarnis::app::BannerDisplay", noText, {296, 4, 710, 80}, true, true},
      {"选择夹1", "QTabWidget", noText, {1, 96, 1010, 704}, true, true},
      {"分组框1", "QGroupBox", QStringLiteral("公告"), {1, 21, 567, 102}, true, true},
      {"超级列表框4", "QTreeWidget", noText, {3, 15, 561, 83}, true, true},
      {"分组框_相关设置", "QGroupBox", QStringLiteral("相关设置"), {570, 21, 130, 102}, true, true},
      {"按钮_连接服务器", "QPushButton", QStringLiteral("连接"), {84, 18, 40, 24}, true, true},  // start-up
                                                                                                 // failed
      {"组合框_服务器选择", "QComboBox", noText, {7, 20, 71, 20}, true, true},
      {"选择框_右下角弹窗", "QCheckBox", QStringLiteral("右下角弹窗"), {19, 53, 80, 13}, true, true},
      {"选择框_开启声音提示", "QCheckBox", QStringLiteral("开启声音提醒"), {19, 78, 95, 13}, true, true},
      {"分组框_账号申请登录", "QGroupBox", QStringLiteral("账号登录"), {701, 21, 306, 102}, true, true},
      {"标签_帐号", "QLabel", QStringLiteral("帐号："), {4, 25, 0, 0}, true, true},
      {"编辑框_账号", "QLineEdit", noText, {36, 18, 136, 23}, true, true},
      {"标签_帐号1", "QLabel", QStringLiteral("密码："), {4, 57, 0, 0}, true, true},
      {"编辑框_密码", "QLineEdit", noText, {36, 53, 136, 23}, true, true},
      {"选择框_记住帐号", "QCheckBox", QStringLiteral("记住帐号"), {174, 25, 68, 13}, true, true},
      {"按钮_登录", "QPushButton", QStringLiteral("登录"), {176, 50, 60, 25}, true, true},
      {"超级按钮_注册帐号", "QPushButton", QStringLiteral("注册帐号"), {245, 13, 56, 15}, true, true},
      {"超级按钮_修改密码", "QPushButton", QStringLiteral("修改密码"), {245, 36, 56, 15}, true, true},
      {"超级链接框1", "QLabel", noText, {172, 84, 54, 13}, true, true},
      {"超级链接框2", "QLabel", noText, {228, 84, 54, 13}, true, true},
      {"分组框2", "QGroupBox", noText, {1, 125, 1008, 196}, true, true},
      {"标签5", "QLabel", QStringLiteral("最新推介"), {480, 125, 0, 0}, true, true},
      {"超级列表框3", "QTreeWidget", noText, {3, 14, 1002, 178}, true, true},
      {"分组框_全部比赛场次2", "QGroupBox", noText, {1, 325, 1008, 355}, true, true},
      {"标签7", "QLabel", QStringLiteral("最近50场历史记录"), {454, 325, 0, 0}, true, true},
      {"高级表格_球赛历史", "QTableView", noText, {5, 15, 999, 336}, true, true},
      {"标签6", "QLabel", noText, {0, 0, 0, 0}, false, true},
      {"标签_赢", "QLabel", noText, {0, 0, 0, 0}, false, true},
      {"标签_赢半", "QLabel", noText, {0, 0, 0, 0}, false, true},
      {"标签_走", "QLabel", noText, {0, 0, 0, 0}, false, true},
      {"标签_输", "QLabel", noText, {0, 0, 0, 0}, false, true},
      {"标签_输半", "QLabel", noText, {0, 0, 0, 0}, false, true},
      {"标签_命中率", "QLabel", QStringLiteral("命中率："), {0, 0, 0, 0}, false, true},
      {"标签_命中率的率", "QLabel", noText, {0, 0, 0, 0}, false, true},
      {"编辑框2", "QLineEdit", noText, {2, 680, 1006, 19}, true, false},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(c.name);
    QWidget* control = w.findChild<QWidget*>(QString::fromUtf8(c.name));
    ASSERT_NE(control, nullptr);
    EXPECT_STREQ(control->metaObject()->className(), c.type);
    if (!c.text.isNull()) EXPECT_EQ(TextOf(control), c.text);
    if (c.geometry.x() != 0 || c.geometry.y() != 0 || c.geometry.width() != 0)
      EXPECT_EQ(control->pos(), c.geometry.topLeft());
    if (c.geometry.width() > 0) EXPECT_EQ(control->size(), c.geometry.size());
    EXPECT_EQ(control->isVisibleTo(&w), c.visible);
    EXPECT_EQ(control->isEnabled(), c.enabled);
  }
  EXPECT_FALSE(Find<QLineEdit>("编辑框2")->text().isEmpty());
  EXPECT_TRUE(Find<QLabel>("超级链接框1")->text().contains(QStringLiteral("微博地址")));
  EXPECT_TRUE(Find<QLabel>("超级链接框2")->text().contains(QStringLiteral("博客地址")));
  EXPECT_FALSE(Find<QLineEdit>("编辑框1")->isVisibleTo(&w));
}

TEST_F(MainWindowTest, WindowTitleSizeMenusTabsAndTimers) {
  MainWindow& w = Open();
  EXPECT_EQ(w.windowTitle(), QStringLiteral("Qarnis-足球决策版1.005"));
  EXPECT_EQ(w.size(), QSize(1018, 850));
  EXPECT_EQ(w.pos(), QPoint(0, 0));
  QStringList menus;
  for (QAction* a : w.menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{QStringLiteral("关于我们"), QStringLiteral("软件介绍")}));
  auto* tabs = Find<QTabWidget>("选择夹1");
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("  今日推介  "));
  EXPECT_EQ(tabs->tabText(1), QStringLiteral("  即时比分  "));
  auto* servers = Find<QComboBox>("组合框_服务器选择");
  QStringList entries;
  for (int i = 0; i < servers->count(); ++i) entries << servers->itemText(i);
  EXPECT_EQ(entries,
            (QStringList{QStringLiteral("服务器①"), QStringLiteral("服务器②"), QStringLiteral("服务器③")}));
  auto* keepAlive = Find<QTimer>("时钟_向服务器报道");
  EXPECT_FALSE(keepAlive->isActive());  // the start-up connection failed
  EXPECT_NE(Find<QTimer>("时钟_左下弹窗"), nullptr);
  EXPECT_EQ(w.ReconnectMark(), 0);
  auto* livePageLabel = Find<QLabel>("标签4");
  EXPECT_EQ(livePageLabel->text(), QStringLiteral("全部比赛场次"));
  EXPECT_EQ(livePageLabel->pos(), QPoint(470, 22));
  auto* liveGroup = Find<QGroupBox>("分组框_全部比赛场次");
  EXPECT_EQ(liveGroup->geometry(), QRect(1, 22, 1008, 668));
  EXPECT_EQ(Find<QTableView>("超级列表框1")->geometry(), QRect(5, 15, 999, 651));
}

TEST_F(MainWindowTest, StartUpWithoutServerShowsOneMessageAndLeavesConnectEnabled) {
  Open();
  EXPECT_EQ(messages.texts, QStringList{kConnectFailed});
  EXPECT_TRUE(Find<QPushButton>("按钮_连接服务器")->isEnabled());
  EXPECT_FALSE(link.IsOpen());
}

TEST_F(MainWindowTest, FirstStartWritesExactlyTheThreeKeys) {
  Open();
  EXPECT_EQ(SettingsText(), "[set]\r\nKQSYTS=\xD5\xE6\r\nYXJTC=\xD5\xE6\r\nNowBanBen=1.005\r\n");
  EXPECT_TRUE(Find<QCheckBox>("选择框_右下角弹窗")->isChecked());
  EXPECT_TRUE(Find<QCheckBox>("选择框_开启声音提示")->isChecked());
  EXPECT_TRUE(Find<QLineEdit>("编辑框_账号")->text().isEmpty());
  EXPECT_TRUE(Find<QLineEdit>("编辑框_密码")->text().isEmpty());
  EXPECT_FALSE(Find<QCheckBox>("选择框_记住帐号")->isChecked());
}

struct StartCase {
  const char* name;
  std::string file;
  QString account;
  QString password;
  bool remember;
  bool popup;
  bool sound;
};

class MainWindowStartTest : public MainWindowTest, public ::testing::WithParamInterface<StartCase> {};

TEST_P(MainWindowStartTest, SettingsFileDecidesTheBoxes) {
  const StartCase& c = GetParam();
  WriteFile(environment.settingsFile, c.file);
  Open();
  EXPECT_EQ(Find<QLineEdit>("编辑框_账号")->text(), c.account);
  EXPECT_EQ(Find<QLineEdit>("编辑框_密码")->text(), c.password);
  EXPECT_EQ(Find<QCheckBox>("选择框_记住帐号")->isChecked(), c.remember);
  EXPECT_EQ(Find<QCheckBox>("选择框_右下角弹窗")->isChecked(), c.popup);
  EXPECT_EQ(Find<QCheckBox>("选择框_开启声音提示")->isChecked(), c.sound);
  // An existing file gets no defaults, only the version.
  settings::SettingsStore store(environment.settingsFile);
  EXPECT_EQ(store.ReadKey("NowBanBen"), "1.005");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MainWindowStartTest,
    ::testing::Values(StartCase{"SavedCredentialsFilledWhenFlagOn",
                                "[set]\r\nZDTXZM=\xD5\xE6\r\nDQZH=\xD5\xC5\xC8\xFD\r\nDQMM=pw\r\nYXJTC="
                                "\xD5\xE6\r\nKQSYTS=\xBC\xD9\r\n",
                                QStringLiteral("张三"), QStringLiteral("pw"), true, true, false},
                      StartCase{"FlagOffLeavesBoxesEmpty", "[set]\r\nZDTXZM=\xBC\xD9\r\nDQZH=a\r\nDQMM=b\r\n",
                                QString(), QString(), false, false, false},
                      StartCase{"OtherWordForYesUnticks", "[set]\r\nYXJTC=yes\r\nKQSYTS=\r\n", QString(),
                                QString(), false, false, false},
                      StartCase{"ExistingFileWithoutKeysGetsNoDefaults", "[other]\r\nk=v\r\n", QString(),
                                QString(), false, false, false}),
    [](const auto& info) { return info.param.name; });

TEST_F(MainWindowTest, AlertBoxesWriteTheirFlagsWhenClicked) {
  Open();
  auto* popup = Find<QCheckBox>("选择框_右下角弹窗");
  auto* soundBox = Find<QCheckBox>("选择框_开启声音提示");
  settings::SettingsStore store(environment.settingsFile);
  popup->click();
  EXPECT_EQ(store.ReadKey("YXJTC"), settings::kOff);
  popup->click();
  EXPECT_EQ(store.ReadKey("YXJTC"), settings::kOn);
  soundBox->click();
  EXPECT_EQ(store.ReadKey("KQSYTS"), settings::kOff);
}

TEST_F(MainWindowTest, RememberAccountWithEmptyBoxesThenUntickAndRestart) {
  Open();
  settings::SettingsStore store(environment.settingsFile);
  Find<QCheckBox>("选择框_记住帐号")->click();
  EXPECT_EQ(store.ReadKey("ZDTXZM"), settings::kOn);
  EXPECT_NE(SettingsText().find("DQZH=\r\n"), std::string::npos);
  EXPECT_NE(SettingsText().find("DQMM=\r\n"), std::string::npos);

  Open();  // next start: empty texts filled in, box ticked
  EXPECT_TRUE(Find<QCheckBox>("选择框_记住帐号")->isChecked());
  Find<QLineEdit>("编辑框_账号")->setText(QStringLiteral("李四"));
  Find<QLineEdit>("编辑框_密码")->setText(QStringLiteral("secret"));
  Find<QCheckBox>("选择框_记住帐号")->click();  // untick
  Find<QCheckBox>("选择框_记住帐号")->click();  // tick again: stores the typed texts
  EXPECT_EQ(store.ReadKey("DQZH"), ui::FromQ(QStringLiteral("李四")));
  Find<QCheckBox>("选择框_记住帐号")->click();  // untick: only the flag changes
  EXPECT_EQ(store.ReadKey("ZDTXZM"), settings::kOff);
  EXPECT_EQ(store.ReadKey("DQMM"), "secret");

  Open();
  EXPECT_TRUE(Find<QLineEdit>("编辑框_账号")->text().isEmpty());
  EXPECT_TRUE(Find<QLineEdit>("编辑框_密码")->text().isEmpty());
  EXPECT_FALSE(Find<QCheckBox>("选择框_记住帐号")->isChecked());
}

TEST_F(MainWindowTest, BannerIsBlackUntilATextIsSet) {
  MainWindow& w = Open();
  const QImage& dots = w.Banner()->Image();
  for (int y = 0; y < dots.height(); y += 7)
    for (int x = 0; x < dots.width(); x += 7) ASSERT_EQ(dots.pixel(x, y) & 0xFFFFFF, 0u);
  EXPECT_EQ(w.Banner()->DotsPainted(), 0);
}

TEST_F(MainWindowTest, BannerShowsEverySourcePixelAsAColouredDot) {
  MainWindow& w = Open();
  w.SetBannerText(QStringLiteral("欢迎登录Qarnis"));
  EXPECT_EQ(Find<QLineEdit>("编辑框1")->text(), QStringLiteral("欢迎登录Qarnis"));
  // The display fills in over several event-loop turns; wait for it rather than forcing it.
  for (int i = 0; i < 500 && !w.Banner()->Complete(); ++i) QTest::qWait(10);
  ASSERT_TRUE(w.Banner()->Complete());
  EXPECT_EQ(w.Banner()->DotsPainted(), 2304);
  const QImage source = Find<BannerSource>("画板2")->Image();
  ASSERT_EQ(source.size(), QSize(144, 16));
  const QImage& dots = w.Banner()->Image();
  int lit = 0;
  for (int y = 0; y < 16; ++y) {
    for (int x = 0; x < 144; ++x) {
      const bool background = (source.pixel(x, y) & 0xFFFFFF) == (kBannerBackground & 0xFFFFFF);
      const QRgb expected = background ? kDotDark : kDotLit;
      lit += background ? 0 : 1;
      // The whole 4 x 4 dot takes the colour; the fifth column and row stay black.
      ASSERT_EQ(dots.pixel(5 * x, 5 * y) & 0xFFFFFF, expected & 0xFFFFFF) << x << "," << y;
      ASSERT_EQ(dots.pixel(5 * x + 3, 5 * y + 3) & 0xFFFFFF, expected & 0xFFFFFF);
      ASSERT_EQ(dots.pixel(5 * x + 4, 5 * y + 4) & 0xFFFFFF, 0u);
    }
  }
  EXPECT_GT(lit, 20);    // the text lit some dots
  EXPECT_LT(lit, 2304);  // and the untouched pixels are dark red
}

}  // namespace
}  // namespace qarnis::app
