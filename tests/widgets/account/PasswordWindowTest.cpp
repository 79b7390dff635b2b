#include "account/PasswordWindow.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "AccountTestText.h"
#include "FakeAccountServices.h"
#include "link/Messages.h"
#include "ui/GbkLimitedEdit.h"

namespace qarnis::testing {
namespace {

using account::PasswordChangeMode;
using ui::GbkLimitedEdit;

const QString kIncomplete = QStringLiteral("您的信息填写不齐全，请补全信息在提交修改信息。");
const QString kMismatch = QStringLiteral("您2次输入的密码不相同，请重新输入");
const QString kShort = QStringLiteral("密码不能小于8位，最大18位。");
const QString kNeedOne = QStringLiteral("注册时的邮箱和手机至少要填写一个。");
const QString kNoServer =
    QStringLiteral("无法连接服务器，请换个服务器来连接或者稍后尝试，如有问题请加客服QQ询问。");

const std::string kHead = "QARNXiuGaiMiMa" + std::string(link::FieldSep);

// The boxes by role: account, e-mail, mobile, new password, repetition.
struct Boxes {
  const char* account;
  const char* email;
  const char* mobile;
  const char* password;
  const char* repeat;
};

class PasswordWindowTest : public ::testing::Test {
 protected:
  PasswordWindowTest() : window(services, state) {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  GbkLimitedEdit* Edit(int n) const {
    return window.findChild<GbkLimitedEdit*>(QStringLiteral("编辑框%1").arg(n));
  }
  QPushButton* Submit() const { return window.findChild<QPushButton*>(QStringLiteral("按钮_提交")); }

  void Fill(const Boxes& b) {
    const std::vector<std::pair<int, const char*>> order = {
        {1, b.account}, {2, b.email}, {5, b.mobile}, {3, b.password}, {4, b.repeat}};
    for (const auto& [number, text] : order) {
      Edit(number)->clear();
      TypeText(Edit(number), QString::fromUtf8(text));
    }
  }
  QStringList Texts() const {
    QStringList out;
    for (int n : {1, 2, 5, 3, 4}) out.append(Edit(n)->text());
    return out;
  }

  FakeAccountServices services;
  account::AccountState state;
  account::PasswordWindow window;
};

TEST_F(PasswordWindowTest, HasItsControlsInPlace) {
  EXPECT_EQ(window.size(), QSize(232, 328));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Qarnis修改密码"));
  struct Control {
    QString name;
    QRect place;
    QString text;
  };
  const std::vector<Control> labels = {
      {QStringLiteral("标签_帐号"), {35, 35, 30, 13}, QStringLiteral("帐号：")},
      {QStringLiteral("标签2"), {-1, 63, 245, 3}, QString()},
      {QStringLiteral("标签_邮箱"), {3, 81, 69, 13}, QStringLiteral("注册的邮箱：")},
      {QStringLiteral("标签_手机"), {4, 117, 69, 13}, QStringLiteral("注册的手机：")},
      {QStringLiteral("标签1"), {5, 144, 216, 13}, QStringLiteral("填写注册时的邮箱或手机，至少填写一个")},
      {QStringLiteral("标签3"), {-1, 166, 245, 3}, QString()},
      {QStringLiteral("标签_密码"), {1, 188, 73, 13}, QStringLiteral("修改的密码：")},
      {QStringLiteral("标签_确认密码"), {13, 230, 54, 13}, QStringLiteral("确认密码：")},
  };
  for (const Control& c : labels) {
    auto* label = window.findChild<QLabel*>(c.name);
    ASSERT_NE(label, nullptr) << c.name.toStdString();
    EXPECT_EQ(label->geometry(), c.place) << c.name.toStdString();
    EXPECT_EQ(label->text(), c.text) << c.name.toStdString();
  }
  struct EditSpec {
    int number;
    QRect place;
    int limit;
    bool masked;
    bool digits;
  };
  const std::vector<EditSpec> edits = {{1, {73, 29, 148, 23}, 18, false, false},
                                       {2, {73, 75, 148, 23}, 0, false, false},
                                       {5, {74, 112, 148, 23}, 11, false, true},
                                       {3, {72, 182, 148, 23}, 18, true, false},
                                       {4, {72, 224, 148, 23}, 18, true, false}};
  for (const EditSpec& e : edits) {
    GbkLimitedEdit* edit = Edit(e.number);
    ASSERT_NE(edit, nullptr) << e.number;
    EXPECT_EQ(edit->geometry(), e.place) << e.number;
    EXPECT_EQ(edit->ByteLimit(), e.limit) << e.number;
    EXPECT_EQ(edit->echoMode() == QLineEdit::Password, e.masked) << e.number;
    EXPECT_EQ(edit->DigitsAndMinusOnly(), e.digits) << e.number;
  }
  EXPECT_EQ(Submit()->geometry(), QRect(81, 259, 80, 32));
  EXPECT_EQ(Submit()->text(), QStringLiteral("提交"));
  EXPECT_EQ(window.Countdown(), 10);
  EXPECT_FALSE(window.CountdownRunning());
}

struct CheckCase {
  const char* name;
  Boxes boxes;
  QString message;
  bool passwordsEmptied;
};

class PasswordChecks : public PasswordWindowTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(PasswordChecks, RunInOrderAndSendNothing) {
  const CheckCase& c = GetParam();
  Fill(c.boxes);
  const QStringList before = Texts();
  QTest::mouseClick(Submit(), Qt::LeftButton);

  EXPECT_EQ(services.Texts(), QStringList{c.message});
  EXPECT_TRUE(services.sent.empty());
  EXPECT_EQ(services.keepAliveChecks, 0);
  EXPECT_EQ(state.passwordChangeMode, PasswordChangeMode::None);
  QStringList expected = before;
  if (c.passwordsEmptied) expected[3] = expected[4] = QString();
  EXPECT_EQ(Texts(), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordChecks,
    ::testing::Values(
        CheckCase{"AccountEmpty", {"", "a@b", "1", "pass1234", "pass1234"}, kIncomplete, false},
        CheckCase{"PasswordEmpty", {"alice", "a@b", "1", "", "pass1234"}, kIncomplete, false},
        CheckCase{"RepeatEmpty", {"alice", "", "", "pass1234", ""}, kIncomplete, false},
        CheckCase{"MismatchEmptiesBoth", {"alice", "a@b", "1", "pass1234", "pass4321"}, kMismatch, true},
        CheckCase{
            "MismatchBeforeTheContactCheck", {"alice", "", "", "pass1234", "pass4321"}, kMismatch, true},
        CheckCase{"SevenBytesEmptyBoth", {"alice", "a@b", "1", "pass123", "pass123"}, kShort, true},
        CheckCase{"NoContactKeepsEverything", {"alice", "", "", "pass1234", "pass1234"}, kNeedOne, false}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

struct FormCase {
  const char* name;
  Boxes boxes;
  PasswordChangeMode mode;
  std::string request;
};

class PasswordForms : public PasswordWindowTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(PasswordForms, SendTheFormOfTheFilledBoxes) {
  const FormCase& c = GetParam();
  state.fields = {"old-account", "old-password", "old@mail", "000-0000000"};
  Fill(c.boxes);
  QTest::mouseClick(Submit(), Qt::LeftButton);

  EXPECT_TRUE(services.Texts().isEmpty());
  EXPECT_EQ(services.keepAliveChecks, 1);
  EXPECT_EQ(services.sent, std::vector<std::string>{c.request});
  EXPECT_EQ(state.passwordChangeMode, c.mode);
  EXPECT_EQ(state.fields.account, Gbk(c.boxes.account));
  EXPECT_EQ(state.fields.password, Gbk(c.boxes.password));
  EXPECT_EQ(state.fields.email, c.mode == PasswordChangeMode::MobileOnly ? "old@mail" : Gbk(c.boxes.email));
  EXPECT_EQ(state.fields.mobile,
            c.mode == PasswordChangeMode::EmailOnly ? "000-0000000" : Gbk(c.boxes.mobile));
  EXPECT_TRUE(Submit()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PasswordForms,
    ::testing::Values(FormCase{"EmailAndMobile",
                               {"alice", "a@b.cn", "13800138000", "newpass1", "newpass1"},
                               PasswordChangeMode::EmailAndMobile,
                               kHead + "alice|||||a@b.cn|||||newpass1|||||13800138000"},
                      FormCase{
                          "EmailOnly",
                          {"张三", "无效邮箱", "", "新密码新密码", "新密码新密码"},
                          PasswordChangeMode::EmailOnly,
                          kHead + Gbk("张三") + "|||||" + Gbk("无效邮箱") + "|||||" + Gbk("新密码新密码")},
                      FormCase{"MobileOnly",
                               {"alice", "", "138-0013800", "newpass1", "newpass1"},
                               PasswordChangeMode::MobileOnly,
                               kHead + "alice|||||138-0013800|||||newpass1"}),
    [](const ::testing::TestParamInfo<FormCase>& info) { return std::string(info.param.name); });

TEST_F(PasswordWindowTest, ALostLinkShowsBothMessagesAndKeepsNoMode) {
  services.aliveAfterCheck = false;
  Fill({"alice", "a@b", "", "newpass1", "newpass1"});
  QTest::mouseClick(Submit(), Qt::LeftButton);
  EXPECT_EQ(services.Texts(), (QStringList{kKeepAliveFailed, kNoServer}));
  EXPECT_TRUE(services.sent.empty());
  EXPECT_EQ(state.passwordChangeMode, PasswordChangeMode::None);
  EXPECT_TRUE(state.fields.account.empty());
}

TEST_F(PasswordWindowTest, RefusalCountsDownFromTenOnTheButton) {
  window.BeginRefusalCountdown();
  EXPECT_FALSE(Submit()->isEnabled());
  EXPECT_EQ(Submit()->text(), QStringLiteral("提交"));
  EXPECT_EQ(window.findChild<QTimer*>(QStringLiteral("时钟1"))->interval(), 1000);
  QStringList captions;
  for (int i = 0; i < 10; ++i) {
    window.CountdownTick();
    captions.append(Submit()->text());
  }
  QStringList expected;
  for (int n = 9; n >= 1; --n) expected.append(QString::number(n));
  expected.append(QStringLiteral("提交"));
  EXPECT_EQ(captions, expected);
  EXPECT_TRUE(Submit()->isEnabled());
  EXPECT_FALSE(window.CountdownRunning());
  EXPECT_EQ(window.Countdown(), 10);
}

}  // namespace
}  // namespace qarnis::testing
