#include <gtest/gtest.h>

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <vector>

#include "ModalDriver.h"
#include "notify/UpdateWindow.h"
#include "text/GbkText.h"

namespace {

using qarnis::notify::IsSafeUpdateTarget;
using qarnis::notify::UpdateWindow;

struct TargetCase {
  const char* target;
  bool safe;
};

const std::vector<TargetCase> kTargets = {
    {"http://pan.example.net/qarnis/1.006", true},
    {"https://pan.example.net/s/AbC?pwd=12", true},
    {"HTTPS://PAN.EXAMPLE.NET/", true},
    {"  https://pan.example.net/x  ", true},  // stray blanks around a server field
    {"file:///etc/passwd", false},
    {"file://host/share/setup.exe", false},
    {"javascript:alert(1)", false},
    {"", false},
    {"   ", false},
    {"pan.example.net/qarnis", false},  // relative: no scheme
    {"/usr/bin/xterm", false},
    {"ftp://pan.example.net/qarnis.zip", false},
    {"mailto:someone@example.net", false},
    {"smb://host/share", false},
    {"data:text/html,<b>x</b>", false},
    {"http://", false},  // no host
    {"http:pan.example.net", false},
    {"https://pan.exa mple.net/", false},
};

TEST(UpdateTarget, OnlyHttpAndHttpsAddressesAreSafe) {
  for (const TargetCase& c : kTargets) {
    EXPECT_EQ(IsSafeUpdateTarget(QString::fromUtf8(c.target)), c.safe) << '"' << c.target << '"';
  }
}

TEST(UpdateWindowLink, AClickOpensOnlyASafeTarget) {
  for (const TargetCase& c : kTargets) {
    SCOPED_TRACE(c.target);
    std::vector<QUrl> opened;
    UpdateWindow window(c.target, nullptr, [&](const QUrl& url) { opened.push_back(url); });
    EXPECT_EQ(window.LinkTarget(), QString::fromUtf8(c.target));
    auto* link = window.findChild<QLabel*>(QStringLiteral("超级链接框1"));
    ASSERT_NE(link, nullptr);
    QTest::mouseClick(link, Qt::LeftButton);
    ASSERT_EQ(opened.size(), c.safe ? 1u : 0u);
    if (c.safe) {
      EXPECT_EQ(opened.front(), QUrl(QString::fromUtf8(c.target).trimmed()));
    }
  }
}

TEST(UpdateWindowLink, EnterOnTheFocusedLinkOpensItToo) {
  std::vector<QUrl> opened;
  UpdateWindow window("https://pan.example.net/q", nullptr, [&](const QUrl& url) { opened.push_back(url); });
  auto* link = window.findChild<QLabel*>(QStringLiteral("超级链接框1"));
  ASSERT_NE(link, nullptr);
  QTest::keyClick(link, Qt::Key_Return);
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened.front().host(), QStringLiteral("pan.example.net"));
}

TEST(UpdateWindowLook, TitleSizeAndTheOneLineOfText) {
  UpdateWindow window("https://pan.example.net/q", nullptr, [](const QUrl&) {});
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Qarnis更新公告"));
  EXPECT_EQ(window.size(), QSize(301, 142));
  EXPECT_FALSE(window.styleSheet().isEmpty()) << "the skin is applied";
  struct Control {
    const char* name;
    QRect place;
    const char* text;
  };
  const std::vector<Control> controls = {
      {"标签1", QRect(8, 48, 96, 13), "版本已更新请点击 "},
      {"超级链接框1", QRect(106, 46, 40, 16), "这里"},
      {"标签2", QRect(149, 48, 131, 13), "进入网盘下载最新版本。"},
  };
  for (const Control& c : controls) {
    auto* label = window.findChild<QLabel*>(QString::fromUtf8(c.name));
    ASSERT_NE(label, nullptr) << c.name;
    EXPECT_EQ(label->geometry(), c.place) << c.name;
    EXPECT_EQ(label->text(), QString::fromUtf8(c.text)) << c.name;
  }
}

TEST(UpdateWindowLook, OpensModallyAndTheUserClosesIt) {
  std::vector<QUrl> opened;
  UpdateWindow window(qarnis::text::Utf8ToGbk("https://pan.example.net/新版"), nullptr,
                      [&](const QUrl& url) { opened.push_back(url); });
  qarnis::testing::ModalDriver driver([](QWidget* dialog) {
    QTest::mouseClick(dialog->findChild<QLabel*>(QStringLiteral("超级链接框1")), Qt::LeftButton);
    dialog->close();
  });
  window.exec();
  EXPECT_TRUE(driver.Acted());
  EXPECT_FALSE(driver.ClosedByDriver());
  ASSERT_EQ(opened.size(), 1u);
  EXPECT_EQ(opened.front().path(), QStringLiteral("/新版"));
}

}  // namespace
