#include <gtest/gtest.h>

#include <QPlainTextEdit>

#include "notify/ServerNoticeWindow.h"
#include "text/GbkText.h"

namespace {

using qarnis::notify::ServerNoticeWindow;

TEST(ServerNoticeWindowLook, TitleSizeAndReadOnlyTextBox) {
  ServerNoticeWindow window(qarnis::text::Utf8ToGbk("欢迎使用Qarnis"));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Qarnis公告"));
  EXPECT_EQ(window.size(), QSize(537, 247));
  EXPECT_FALSE(window.styleSheet().isEmpty()) << "the skin is applied";
  auto* editor = window.findChild<QPlainTextEdit*>(QStringLiteral("超级编辑框1"));
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->geometry(), QRect(1, 2, 527, 214));
  EXPECT_TRUE(editor->isReadOnly());
  EXPECT_EQ(editor->toPlainText(), QStringLiteral("欢迎使用Qarnis"));
}

TEST(ServerNoticeWindowLook, ShowsTheServerTextAsItIs) {
  struct Case {
    std::string gbk;
    QString shown;
  };
  const std::vector<Case> cases = {
      {qarnis::text::Utf8ToGbk("第一行\r\n第二行"), QStringLiteral("第一行\n第二行")},
      {"<b>bold</b> &amp; <a href=\"file:///etc\">x</a>",
       QStringLiteral("<b>bold</b> &amp; <a href=\"file:///etc\">x</a>")},
      {std::string("\x81", 1), QString(QChar(0xFFFD))},  // a cut-off GBK lead byte
      {std::string(), QString()},
  };
  for (const Case& c : cases) {
    ServerNoticeWindow window(c.gbk);
    EXPECT_EQ(window.Text(), c.shown);
  }
}

}  // namespace
