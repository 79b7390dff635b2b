#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

#include "RecordingSoundPlayer.h"
#include "notify/Announcer.h"
#include "notify/PopupWindow.h"
#include "notify/ServerNoticeWindow.h"
#include "text/GbkText.h"

namespace {

using qarnis::notify::Announcer;
using qarnis::notify::PopupWindow;
using qarnis::notify::ServerNoticeWindow;

const QString kPush = QStringLiteral("新消息推送");
const QString kNotice = QStringLiteral("新的公告");

std::string Gbk(const char* utf8) { return qarnis::text::Utf8ToGbk(utf8); }

// A stand-in main window with the two switches, as the announcement reads them.
class AnnouncerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    main = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(main.get());
    popupSwitch = new QCheckBox(QStringLiteral("右下角弹窗"), main.get());
    popupSwitch->setObjectName(QStringLiteral("选择框_右下角弹窗"));
    soundSwitch = new QCheckBox(QStringLiteral("开启声音提醒"), main.get());
    soundSwitch->setObjectName(QStringLiteral("选择框_开启声音提示"));
    edit = new QLineEdit(main.get());
    layout->addWidget(popupSwitch);
    layout->addWidget(soundSwitch);
    layout->addWidget(edit);
    announcer = new Announcer(main.get(), popupSwitch, soundSwitch, sound);
  }
  void TearDown() override { main.reset(); }

  void Switches(bool popup, bool soundOn) {
    popupSwitch->setChecked(popup);
    soundSwitch->setChecked(soundOn);
  }
  // Stands in for the 2000 ms wait: fires the deferred timer's handler only when the timer is armed.
  bool Tick() {
    if (!announcer->DeferredTimer()->isActive()) return false;
    announcer->OnDeferredTimer();
    return true;
  }

  qarnis::testing::RecordingSoundPlayer sound;
  std::unique_ptr<QWidget> main;
  QCheckBox* popupSwitch = nullptr;
  QCheckBox* soundSwitch = nullptr;
  QLineEdit* edit = nullptr;
  Announcer* announcer = nullptr;
};

TEST_F(AnnouncerFixture, TheSwitchesGovernSoundAndPopup) {
  struct Case {
    bool popup;
    bool sound;
    int played;
    bool popupOpens;
  };
  const std::vector<Case> cases = {
      {false, false, 0, false}, {false, true, 1, false}, {true, false, 0, true}, {true, true, 1, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "popup " << c.popup << ", sound " << c.sound);
    Switches(c.popup, c.sound);
    sound.played = 0;
    announcer->AnnounceNews(kPush);
    EXPECT_EQ(sound.played, c.played);
    EXPECT_EQ(announcer->PendingPopupText(), c.popup ? kPush : QString());
    EXPECT_EQ(Tick(), c.popupOpens);
    ASSERT_EQ(announcer->CurrentPopup() != nullptr, c.popupOpens);
    EXPECT_FALSE(announcer->DeferredTimer()->isActive()) << "the tick stops its timer";
    EXPECT_EQ(announcer->CurrentNoticeWindow(), nullptr);
    if (c.popupOpens) {
      EXPECT_EQ(announcer->CurrentPopup()->Message(), QStringLiteral("有新消息推送，请查看！"));
      EXPECT_TRUE(announcer->PendingPopupText().isEmpty()) << "each pop-up empties the word";
      announcer->CurrentPopup()->close();
      QTRY_VERIFY_WITH_TIMEOUT(announcer->CurrentPopup() == nullptr, 10000);
    }
  }
}

TEST_F(AnnouncerFixture, DeferredTimerIsATwoSecondSingleShotOnTheMainWindow) {
  Switches(true, false);
  QTimer* timer = main->findChild<QTimer*>(QStringLiteral("时钟_左下弹窗"));
  ASSERT_EQ(timer, announcer->DeferredTimer());
  EXPECT_FALSE(timer->isActive()) << "idle at start";
  EXPECT_TRUE(timer->isSingleShot());
  announcer->AnnounceNews(kPush);
  EXPECT_TRUE(timer->isActive());
  EXPECT_EQ(timer->interval(), 2000);

  // The real timer, once: the pop-up opens on its own after the delay.
  QSignalSpy shown(announcer, &Announcer::PopupShown);
  ASSERT_TRUE(shown.wait(20000));
  ASSERT_NE(announcer->CurrentPopup(), nullptr);
  EXPECT_TRUE(announcer->CurrentPopup()->isVisible());
  EXPECT_FALSE(timer->isActive());
}

TEST_F(AnnouncerFixture, TwoAnnouncementsWithinTheDelayShowTheLaterWord) {
  Switches(true, true);
  announcer->AnnounceNews(kPush);
  announcer->AnnounceNews(kNotice);
  EXPECT_EQ(sound.played, 2);
  ASSERT_TRUE(Tick());
  EXPECT_FALSE(Tick()) << "one pop-up, not two";
  ASSERT_NE(announcer->CurrentPopup(), nullptr);
  EXPECT_EQ(announcer->CurrentPopup()->Message(), QStringLiteral("有新的公告，请查看！"));
}

TEST_F(AnnouncerFixture, AServerNoticeOpensItsWindowWhateverTheSwitchesSay) {
  Switches(false, false);
  announcer->ServerNotice(Gbk("今晚22点停机维护\r\n请提前退出"));
  EXPECT_EQ(sound.played, 0) << "a notice is not chimed";
  ASSERT_TRUE(Tick());
  ServerNoticeWindow* window = announcer->CurrentNoticeWindow();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_EQ(window->Text(), QStringLiteral("今晚22点停机维护\n请提前退出"));
  EXPECT_TRUE(announcer->ServerNoticeText().empty()) << "emptied once the window has it";
  EXPECT_EQ(announcer->CurrentPopup(), nullptr);
}

TEST_F(AnnouncerFixture, ANoticeAndAnAnnouncementWithinTheDelay) {
  Switches(true, false);
  announcer->ServerNotice(Gbk("服务器公告"));
  announcer->AnnounceNews(kPush);
  ASSERT_TRUE(Tick());
  ASSERT_NE(announcer->CurrentNoticeWindow(), nullptr) << "the notice comes first";
  EXPECT_EQ(announcer->CurrentPopup(), nullptr);
  EXPECT_EQ(announcer->PendingPopupText(), kPush) << "the word waits for the next pop-up";

  // Next arming: an empty server notice (nothing to show) leaves the tick to the pop-up.
  announcer->ServerNotice(std::string());
  ASSERT_TRUE(Tick());
  ASSERT_NE(announcer->CurrentPopup(), nullptr);
  EXPECT_EQ(announcer->CurrentPopup()->Message(), QStringLiteral("有新消息推送，请查看！"));
}

TEST_F(AnnouncerFixture, AnEmptyServerNoticeOpensThePopupInstead) {
  Switches(false, false);
  announcer->ServerNotice(std::string());
  ASSERT_TRUE(Tick());
  EXPECT_EQ(announcer->CurrentNoticeWindow(), nullptr);
  ASSERT_NE(announcer->CurrentPopup(), nullptr);
  EXPECT_EQ(announcer->CurrentPopup()->Message(), QStringLiteral("有，请查看！"));
}

TEST_F(AnnouncerFixture, ATickWhileAPopupIsUpReusesIt) {
  Switches(true, false);
  announcer->AnnounceNews(kPush);
  ASSERT_TRUE(Tick());
  PopupWindow* first = announcer->CurrentPopup();
  ASSERT_NE(first, nullptr);
  for (int i = 0; i < 50 && first->SlideTimer()->isActive(); ++i) first->OnSlideTick();
  for (int i = 0; i < 105; ++i) first->OnCloseTick();
  ASSERT_LT(first->Opacity(), 255);

  announcer->AnnounceNews(kNotice);
  ASSERT_TRUE(Tick());
  EXPECT_EQ(announcer->CurrentPopup(), first) << "never two pop-ups on top of each other";
  EXPECT_EQ(first->Message(), QStringLiteral("有新的公告，请查看！"));
  EXPECT_EQ(first->Opacity(), 255);
  EXPECT_EQ(first->CloseTicks(), 0);
  int popups = 0;
  for (QWidget* w : QApplication::topLevelWidgets())
    popups += qobject_cast<PopupWindow*>(w) != nullptr ? 1 : 0;
  EXPECT_EQ(popups, 1);
}

TEST_F(AnnouncerFixture, ASecondNoticeWhileTheWindowIsOpenReplacesItsText) {
  announcer->ServerNotice(Gbk("第一条"));
  ASSERT_TRUE(Tick());
  ServerNoticeWindow* window = announcer->CurrentNoticeWindow();
  ASSERT_NE(window, nullptr);
  announcer->ServerNotice(Gbk("第二条"));
  announcer->ServerNotice(Gbk("第三条"));
  ASSERT_TRUE(Tick());
  EXPECT_EQ(announcer->CurrentNoticeWindow(), window);
  EXPECT_EQ(window->Text(), QStringLiteral("第三条"));
}

TEST_F(AnnouncerFixture, ThePopupLeavesTheKeyboardWithTheMainWindow) {
  Switches(true, false);
  main->show();
  main->activateWindow();
  edit->setFocus();
  ASSERT_TRUE(QTest::qWaitForWindowActive(main.get(), 10000));
  announcer->AnnounceNews(kPush);
  ASSERT_TRUE(Tick());
  ASSERT_NE(announcer->CurrentPopup(), nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(announcer->CurrentPopup(), 10000));
  // The platform may hand activation to the new window first; it has to come back to the main window.
  QTRY_COMPARE_WITH_TIMEOUT(QApplication::activeWindow(), main.get(), 10000);
  EXPECT_EQ(QApplication::focusWidget(), edit);
}

TEST_F(AnnouncerFixture, WindowsDoNotOutliveTheMainWindow) {
  Switches(true, false);
  announcer->AnnounceNews(kPush);
  ASSERT_TRUE(Tick());
  announcer->ServerNotice(Gbk("公告"));
  ASSERT_TRUE(Tick());
  QPointer<PopupWindow> popup = announcer->CurrentPopup();
  QPointer<ServerNoticeWindow> notice = announcer->CurrentNoticeWindow();
  ASSERT_TRUE(popup && notice);
  main.reset();
  EXPECT_TRUE(popup.isNull());
  EXPECT_TRUE(notice.isNull());
}

}  // namespace
