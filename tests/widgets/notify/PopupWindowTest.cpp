#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "notify/PopupWindow.h"

namespace {

using qarnis::notify::PopupWindow;

QRect Screen() { return QGuiApplication::primaryScreen()->geometry(); }

// Owns the pop-up through a guard, since it deletes itself when it closes.
class PopupFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    popup = new PopupWindow(QStringLiteral("新消息推送"));
    popup->Start();
  }
  void TearDown() override { delete popup.data(); }

  void SlideToTheStop() {
    for (int i = 0; i < 1000 && popup->SlideTimer()->isActive(); ++i) popup->OnSlideTick();
  }
  void CloseTicks(int count) {
    for (int i = 0; i < count; ++i) popup->OnCloseTick();
  }

  QPointer<PopupWindow> popup;
};

using PopupGeometry = PopupFixture;

TEST_F(PopupGeometry, StartsBelowTheScreenAndClimbsFiveAtATimeToTheStop) {
  const QRect screen = Screen();
  const int left = screen.left() + screen.width() - 260;
  const int bottom = screen.top() + screen.height();
  EXPECT_EQ(popup->pos(), QPoint(left, bottom)) << "just below the bottom edge";
  EXPECT_TRUE(popup->SlideTimer()->isActive());
  EXPECT_EQ(popup->SlideTimer()->interval(), 10);
  EXPECT_FALSE(popup->CloseTimer()->isActive());

  for (int step = 1; step <= 42; ++step) {
    popup->OnSlideTick();
    ASSERT_EQ(popup->pos(), QPoint(left, bottom - 5 * step)) << "step " << step;
    ASSERT_TRUE(popup->SlideTimer()->isActive()) << "step " << step;
  }
  popup->OnSlideTick();  // at the stop: the slide ends and the standing time begins
  EXPECT_EQ(popup->pos(), QPoint(left, bottom - 210));
  EXPECT_EQ(popup->CurrentTop(), popup->TargetTop());
  EXPECT_FALSE(popup->SlideTimer()->isActive());
  EXPECT_TRUE(popup->CloseTimer()->isActive());
  EXPECT_EQ(popup->CloseTimer()->interval(), 100);
}

TEST_F(PopupGeometry, EndsAt1660x870OnAFullHdScreen) {
  if (Screen().size() != QSize(1920, 1080)) GTEST_SKIP() << "runs as widgets_notify_fullhd";
  SlideToTheStop();
  EXPECT_EQ(popup->pos(), QPoint(1660, 870));
  EXPECT_EQ(popup->frameGeometry().topLeft(), QPoint(1660, 870));
}

using PopupFade = PopupFixture;

TEST_F(PopupFade, StandsNinetyNineTicksFadesInStepsOfTenAndClosesAtTheHundredTwentyFifth) {
  SlideToTheStop();
  struct Step {
    int ticksSoFar;
    int opacity;
  };
  const std::vector<Step> steps = {{1, 255},   {99, 255}, {100, 245}, {101, 235},
                                   {112, 125}, {123, 15}, {124, 5}};
  int done = 0;
  for (const Step& s : steps) {
    CloseTicks(s.ticksSoFar - done);
    done = s.ticksSoFar;
    ASSERT_TRUE(popup->isVisible()) << "after " << done << " ticks";
    EXPECT_EQ(popup->CloseTicks(), done);
    EXPECT_EQ(popup->Opacity(), s.opacity) << "after " << done << " ticks";
    EXPECT_NEAR(popup->windowOpacity(), s.opacity / 255.0, 0.5 / 255) << "after " << done << " ticks";
  }
  popup->OnCloseTick();  // the 125th
  EXPECT_FALSE(popup->isVisible());
  EXPECT_EQ(popup->CloseTicks(), 0) << "the next pop-up must stand its full time";
  EXPECT_FALSE(popup->CloseTimer()->isActive());
  QTRY_VERIFY_WITH_TIMEOUT(popup.isNull(), 10000);  // deletes itself once closed
}

TEST_F(PopupFade, ClosingEarlyStopsTheTimersAndResetsTheCount) {
  struct Case {
    const char* how;
    bool click;
  };
  for (const Case& c : {Case{"close button", false}, Case{"click on the window", true}}) {
    SCOPED_TRACE(c.how);
    SlideToTheStop();
    CloseTicks(50);
    ASSERT_EQ(popup->CloseTicks(), 50);
    if (c.click) {
      QTest::mouseClick(popup->findChild<QLabel*>(QStringLiteral("透明标签1")), Qt::LeftButton);
    } else {
      popup->close();
    }
    EXPECT_FALSE(popup->isVisible());
    EXPECT_EQ(popup->CloseTicks(), 0);
    EXPECT_FALSE(popup->CloseTimer()->isActive());
    EXPECT_FALSE(popup->SlideTimer()->isActive());
    QTRY_VERIFY_WITH_TIMEOUT(popup.isNull(), 10000);
    popup = new PopupWindow(QStringLiteral("新的公告"));
    popup->Start();
  }
}

TEST_F(PopupFade, RenewRestoresFullOpacityAndAFreshStandingTime) {
  SlideToTheStop();
  CloseTicks(110);
  ASSERT_EQ(popup->Opacity(), 145);
  popup->Renew(QStringLiteral("新的公告"));
  EXPECT_EQ(popup->Message(), QStringLiteral("有新的公告，请查看！"));
  EXPECT_EQ(popup->Opacity(), 255);
  EXPECT_EQ(popup->CloseTicks(), 0);
  EXPECT_TRUE(popup->CloseTimer()->isActive());
  CloseTicks(99);
  EXPECT_EQ(popup->Opacity(), 255);
}

using PopupLook = PopupFixture;

TEST_F(PopupLook, TitleSizeControlsAndMessage) {
  EXPECT_EQ(popup->windowTitle(), QStringLiteral("信息提示"));
  EXPECT_EQ(popup->size(), QSize(260, 160));
  EXPECT_EQ(popup->Message(), QStringLiteral("有新消息推送，请查看！"));
  EXPECT_FALSE(popup->styleSheet().isEmpty()) << "the skin is applied";

  auto* picture = popup->findChild<QLabel*>(QStringLiteral("图片框1"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->geometry(), QRect(0, 0, 254, 132));
  EXPECT_EQ(picture->pixmap().size(), QSize(254, 132));
  auto* message = popup->findChild<QLabel*>(QStringLiteral("透明标签1"));
  ASSERT_NE(message, nullptr);
  EXPECT_EQ(message->geometry(), QRect(5, 15, 243, 74));
  EXPECT_EQ(message->text(), QStringLiteral("有新消息推送，请查看！"));
  EXPECT_EQ(message->font().family(), QStringLiteral("微软雅黑"));
  EXPECT_EQ(message->font().pixelSize(), 24);
  for (const char* name : {"时钟_窗口移动", "时钟_定时关闭"}) {
    auto* timer = picture->findChild<QTimer*>(QString::fromUtf8(name));
    EXPECT_NE(timer, nullptr) << name << " lives inside the picture";
  }
  EXPECT_TRUE(popup->windowFlags().testFlag(Qt::WindowDoesNotAcceptFocus));
  EXPECT_TRUE(popup->testAttribute(Qt::WA_ShowWithoutActivating));
}

TEST(PopupPicture, IsAGradientNotAFlatFill) {
  const QImage image = PopupWindow::BackgroundPicture().toImage();
  ASSERT_EQ(image.size(), QSize(254, 132));
  EXPECT_NE(image.pixel(127, 5), image.pixel(127, 100)) << "top and bottom differ";
  EXPECT_NE(image.pixel(22, 105), image.pixel(60, 105)) << "the icon stands out";
}

}  // namespace
