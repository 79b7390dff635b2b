#include "ui/GbkLimitedEdit.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QTest>

#include "AccountTestText.h"

namespace qarnis::testing {
namespace {

using ui::GbkLimitedEdit;

class GbkLimitedEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    edit.SetByteLimit(18);
    edit.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
    edit.setFocus();
  }

  void Paste(const QString& text) {
    QApplication::clipboard()->setText(text);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  }

  GbkLimitedEdit edit;
};

TEST_F(GbkLimitedEditTest, NineChineseCharactersFillEighteenBytesAndATenthIsRefused) {
  TypeText(&edit, QStringLiteral("一二三四五六七八九"));
  EXPECT_EQ(edit.text(), QStringLiteral("一二三四五六七八九"));
  EXPECT_EQ(edit.GbkText().size(), 18u);

  TypeText(&edit, QStringLiteral("十"));
  TypeText(&edit, QStringLiteral("a"));
  EXPECT_EQ(edit.text(), QStringLiteral("一二三四五六七八九"));
}

TEST_F(GbkLimitedEditTest, ACharacterThatWouldCrossTheLimitIsRefusedWhole) {
  TypeText(&edit, QStringLiteral("abcdefghijklmnopq"));  // 17 bytes
  TypeText(&edit, QStringLiteral("中"));
  EXPECT_EQ(edit.text(), QStringLiteral("abcdefghijklmnopq"));
  TypeText(&edit, QStringLiteral("r"));
  EXPECT_EQ(edit.text(), QStringLiteral("abcdefghijklmnopqr"));
}

TEST_F(GbkLimitedEditTest, InputMethodCommitIsCutLikeTyping) {
  TypeText(&edit, QStringLiteral("一二三四五六七八"));  // 16 bytes
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("九十"));
  QApplication::sendEvent(&edit, &commit);
  EXPECT_EQ(edit.text(), QStringLiteral("一二三四五六七八九"));
}

struct PasteCase {
  const char* name;
  QString before;
  int selectFrom;  // -1: cursor at the end, no selection
  int selectLength;
  QString pasted;
  QString after;
};

class GbkLimitedEditPaste : public GbkLimitedEditTest, public ::testing::WithParamInterface<PasteCase> {};

TEST_P(GbkLimitedEditPaste, PastedTextIsCutAtACharacterBoundary) {
  const PasteCase& c = GetParam();
  edit.setText(c.before);
  if (c.selectFrom >= 0)
    edit.setSelection(c.selectFrom, c.selectLength);
  else
    edit.end(false);
  Paste(c.pasted);
  EXPECT_EQ(edit.text(), c.after);
  EXPECT_LE(edit.GbkText().size(), 18u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GbkLimitedEditPaste,
    ::testing::Values(PasteCase{"FitsWhole", QStringLiteral("abc"), -1, 0, QStringLiteral("中文"),
                                QStringLiteral("abc中文")},
                      PasteCase{"CutAfterWholeCharacters", QStringLiteral("abcdefghijklmno"), -1, 0,
                                QStringLiteral("中文"), QStringLiteral("abcdefghijklmno中")},
                      PasteCase{"CutInTheMiddleKeepsTheTail", QStringLiteral("一二三四五六七八"), 1, 0,
                                QStringLiteral("ABCDEF"), QStringLiteral("一AB二三四五六七八")},
                      PasteCase{"ReplacedSelectionFreesItsBytes", QStringLiteral("一二三四五六七八九"), 0, 3,
                                QStringLiteral("abcdefgh"), QStringLiteral("abcdef四五六七八九")},
                      PasteCase{"NothingFits", QStringLiteral("一二三四五六七八九"), -1, 0,
                                QStringLiteral("x"), QStringLiteral("一二三四五六七八九")}),
    [](const ::testing::TestParamInfo<PasteCase>& info) { return std::string(info.param.name); });

TEST(GbkLimitedEditNoLimit, TakesLongText) {
  GbkLimitedEdit edit;
  const QString longText(200, QChar(0x4E2D));
  edit.setText(longText);
  EXPECT_EQ(edit.text(), longText);
}

TEST(GbkLimitedEditMask, ShowsStarsAndKeepsTheText) {
  GbkLimitedEdit edit;
  edit.SetByteLimit(18);
  edit.SetPasswordMask(true);
  edit.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&edit));
  QTest::keyClicks(&edit, QStringLiteral("secret12"));
  EXPECT_EQ(edit.text(), QStringLiteral("secret12"));
  EXPECT_EQ(edit.echoMode(), QLineEdit::Password);
  EXPECT_EQ(edit.displayText(), QStringLiteral("********"));
}

class DigitsEditTest : public GbkLimitedEditTest {
 protected:
  void SetUp() override {
    GbkLimitedEditTest::SetUp();
    edit.SetByteLimit(11);
    edit.SetDigitsAndMinusOnly(true);
  }
};

TEST_F(DigitsEditTest, RefusesEverythingButDigitsAndMinus) {
  QTest::keyClicks(&edit, QStringLiteral("1a3-b+ 5"));
  TypeText(&edit, QStringLiteral("中"));
  EXPECT_EQ(edit.text(), QStringLiteral("13-5"));
}

TEST_F(DigitsEditTest, EditingKeysKeepWorking) {
  QTest::keyClicks(&edit, QStringLiteral("12345"));
  QTest::keyClick(&edit, Qt::Key_Backspace);
  EXPECT_EQ(edit.text(), QStringLiteral("1234"));
  QTest::keyClick(&edit, Qt::Key_Left);
  QTest::keyClick(&edit, Qt::Key_Left);
  QTest::keyClicks(&edit, QStringLiteral("-"));
  EXPECT_EQ(edit.text(), QStringLiteral("12-34"));
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.text(), QStringLiteral("12-4"));
  QTest::keyClick(&edit, Qt::Key_Home);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_EQ(edit.text(), QStringLiteral("2-4"));

  QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&edit, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("2-4"));
  QTest::keyClick(&edit, Qt::Key_End);
  QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(edit.text(), QStringLiteral("2-42-4"));

  QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(&edit, Qt::Key_Delete);
  EXPECT_TRUE(edit.text().isEmpty());
}

TEST_F(DigitsEditTest, PasteWithOtherCharactersIsRefusedAndLongDigitsAreCut) {
  QTest::keyClicks(&edit, QStringLiteral("12"));
  Paste(QStringLiteral("34ab"));
  EXPECT_EQ(edit.text(), QStringLiteral("12"));
  Paste(QStringLiteral("3456789012345"));
  EXPECT_EQ(edit.text(), QStringLiteral("12345678901"));
}

}  // namespace
}  // namespace qarnis::testing
