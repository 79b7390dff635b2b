#include "account/RegisterWindow.h"

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

using ui::GbkLimitedEdit;

const QString kIncomplete = QStringLiteral("您的信息填写不齐全，请补全信息在提交注册信息。");
const QString kMismatch = QStringLiteral("您2次输入的密码不相同，请重新输入");
const QString kBadEmail = QStringLiteral("您填写的邮箱有误，请重新填写");
const QString kBadMobile = QStringLiteral("您填写的手机有误，请重新填写");
const QString kShortPassword = QStringLiteral("密码必须大于8位，最大不可以超过18位。");
const QString kNoServer =
    QStringLiteral("无法连接服务器，请换个服务器来连接或者稍后尝试，如有问题请加客服QQ询问。");

const QString kPw = QStringLiteral("pass1234");
const QString kMobile = QStringLiteral("13800138000");

class RegisterWindowTest : public ::testing::Test {
 protected:
  RegisterWindowTest() : window(services, fields) {
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  GbkLimitedEdit* Edit(int n) const {
    return window.findChild<GbkLimitedEdit*>(QStringLiteral("编辑框%1").arg(n));
  }
  QPushButton* Submit() const { return window.findChild<QPushButton*>(QStringLiteral("按钮_提交")); }
  QLabel* Waiting() const { return window.findChild<QLabel*>(QStringLiteral("标签6")); }

  void Fill(const QStringList& texts) {
    for (int i = 0; i < texts.size(); ++i) {
      Edit(i + 1)->clear();
      TypeText(Edit(i + 1), texts[i]);
    }
  }
  QStringList Boxes() const {
    QStringList out;
    for (int i = 1; i <= 5; ++i) out.append(Edit(i)->text());
    return out;
  }

  FakeAccountServices services;
  account::AccountRequestFields fields;
  account::RegisterWindow window;
};

TEST_F(RegisterWindowTest, HasItsControlsInPlace) {
  EXPECT_EQ(window.size(), QSize(231, 375));
  EXPECT_EQ(window.windowTitle(), QStringLiteral("Qarnis注册帐号"));

  struct Control {
    QString name;
    QRect place;
    QString text;
  };
  const std::vector<Control> labels = {
      {QStringLiteral("标签1"), {37, 3, 208, 18}, QStringLiteral("以下信息必须填写，邮箱和")},
      {QStringLiteral("标签2"), {8, 23, 192, 18}, QStringLiteral("手机是用于修改密码的验证。")},
      {QStringLiteral("标签_帐号"), {27, 112, 30, 13}, QStringLiteral("帐号：")},
      {QStringLiteral("标签_密码"), {27, 149, 30, 13}, QStringLiteral("密码：")},
      {QStringLiteral("标签_确认密码"), {3, 188, 54, 13}, QStringLiteral("确认密码：")},
      {QStringLiteral("标签_邮箱"), {27, 231, 30, 13}, QStringLiteral("邮箱：")},
      {QStringLiteral("标签5"), {0, 256, 224, 13}, QStringLiteral("请填写真实邮箱，我们会给您发注册信息。")},
      {QStringLiteral("标签_手机号码"), {3, 280, 54, 13}, QStringLiteral("手机号码：")},
      {QStringLiteral("标签6"), {1, 89, 223, 256}, QStringLiteral("请稍等..")},
  };
  for (const Control& c : labels) {
    auto* label = window.findChild<QLabel*>(c.name);
    ASSERT_NE(label, nullptr) << c.name.toStdString();
    EXPECT_EQ(label->geometry(), c.place) << c.name.toStdString();
    EXPECT_EQ(label->text(), c.text) << c.name.toStdString();
  }
  EXPECT_FALSE(Waiting()->isVisible());

  struct EditSpec {
    int number;
    QRect place;
    int limit;
    bool masked;
    bool digits;
  };
  const std::vector<EditSpec> edits = {{1, {64, 106, 148, 23}, 18, false, false},
                                       {2, {64, 144, 148, 23}, 18, true, false},
                                       {3, {64, 183, 148, 23}, 18, true, false},
                                       {4, {64, 225, 148, 23}, 38, false, false},
                                       {5, {64, 274, 148, 23}, 11, false, true}};
  for (const EditSpec& e : edits) {
    GbkLimitedEdit* edit = Edit(e.number);
    ASSERT_NE(edit, nullptr) << e.number;
    EXPECT_EQ(edit->geometry(), e.place) << e.number;
    EXPECT_EQ(edit->ByteLimit(), e.limit) << e.number;
    EXPECT_EQ(edit->echoMode() == QLineEdit::Password, e.masked) << e.number;
    EXPECT_EQ(edit->DigitsAndMinusOnly(), e.digits) << e.number;
  }
  ASSERT_NE(Submit(), nullptr);
  EXPECT_EQ(Submit()->geometry(), QRect(64, 305, 80, 32));
  EXPECT_EQ(Submit()->text(), QStringLiteral("提交"));
  EXPECT_TRUE(Submit()->isEnabled());
  EXPECT_EQ(window.Countdown(), 60);
  EXPECT_FALSE(window.CountdownRunning());
}

TEST_F(RegisterWindowTest, BoxLimitsCountGbkBytes) {
  Fill({QStringLiteral("一二三四五六七八九十"), QStringLiteral("abcdefghijklmnopqrs")});
  Edit(5)->clear();
  TypeText(Edit(5), QStringLiteral("138a0013-80001"));
  EXPECT_EQ(Edit(1)->text(), QStringLiteral("一二三四五六七八九"));
  EXPECT_EQ(Edit(2)->text(), QStringLiteral("abcdefghijklmnopqr"));
  EXPECT_EQ(Edit(5)->text(), QStringLiteral("1380013-800"));
}

struct CheckCase {
  const char* name;
  std::vector<const char*> boxes;  // 编辑框1 .. 编辑框5, UTF-8
  QString message;                 // empty: the request goes out
  bool passwordsEmptied;
};

class RegisterChecks : public RegisterWindowTest, public ::testing::WithParamInterface<CheckCase> {};

TEST_P(RegisterChecks, RunInOrder) {
  const CheckCase& c = GetParam();
  QStringList boxes;
  for (const char* box : c.boxes) boxes.append(QString::fromUtf8(box));
  Fill(boxes);
  QTest::mouseClick(Submit(), Qt::LeftButton);

  if (c.message.isEmpty()) {
    EXPECT_TRUE(services.Texts().isEmpty()) << services.Texts().join(QLatin1Char('/')).toStdString();
    ASSERT_EQ(services.sent.size(), 1u);
    EXPECT_EQ(services.keepAliveChecks, 1);
  } else {
    EXPECT_EQ(services.Texts(), QStringList{c.message});
    EXPECT_TRUE(services.sent.empty());
    EXPECT_EQ(services.keepAliveChecks, 0);
  }
  QStringList expected = boxes;
  if (c.passwordsEmptied) expected[1] = expected[2] = QString();
  EXPECT_EQ(Boxes(), expected);
  EXPECT_TRUE(Submit()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegisterChecks,
    ::testing::Values(
        CheckCase{"AccountEmptyBeforeMismatch",
                  {"", "pass1234", "other123", "a@b", "13800138000"},
                  kIncomplete,
                  false},
        CheckCase{"PasswordEmpty", {"alice", "", "pass1234", "a@b", "13800138000"}, kIncomplete, false},
        CheckCase{"RepeatEmpty", {"alice", "pass1234", "", "a@b", "13800138000"}, kIncomplete, false},
        CheckCase{"EmailEmpty", {"alice", "pass1234", "other123", "", "13800138000"}, kIncomplete, false},
        CheckCase{"MobileEmpty", {"alice", "pass1234", "other123", "a@b", ""}, kIncomplete, false},
        CheckCase{"SpacesCountAsText", {" ", "        ", "        ", " @", "13800138000"}, QString(), false},
        CheckCase{"MismatchEmptiesOnlyThePasswords",
                  {"alice", "pass1234", "pass12345", "bad", "1"},
                  kMismatch,
                  true},
        CheckCase{
            "EmailWithoutAt", {"alice", "pass1234", "pass1234", "alice.example", "1"}, kBadEmail, false},
        CheckCase{"AtInsideAChineseCharacterIsNoAt",
                  {"alice", "pass1234", "pass1234", "丂", "13800138000"},
                  kBadEmail,
                  false},
        CheckCase{"AtAlonePasses", {"alice", "pass1234", "pass1234", "@", "13800138000"}, QString(), false},
        CheckCase{"TenDigitsFail", {"alice", "pass1234", "pass1234", "a@b", "1380013800"}, kBadMobile, false},
        CheckCase{"ElevenOfDigitsAndMinusPass",
                  {"alice", "pass1234", "pass1234", "a@b", "0755-123456"},
                  QString(),
                  false},
        CheckCase{"MobileBeforePassword", {"alice", "short", "short", "a@b", "1"}, kBadMobile, false},
        CheckCase{"SevenBytePasswordFails",
                  {"alice", "pass123", "pass123", "a@b", "13800138000"},
                  kShortPassword,
                  false},
        CheckCase{"EightBytePasswordPasses",
                  {"alice", "pass1234", "pass1234", "a@b", "13800138000"},
                  QString(),
                  false},
        CheckCase{"FourChineseCharactersAreEightBytes",
                  {"alice", "密码密码", "密码密码", "a@b", "13800138000"},
                  QString(),
                  false}),
    [](const ::testing::TestParamInfo<CheckCase>& info) { return std::string(info.param.name); });

TEST_F(RegisterWindowTest, SendsTheRequestFromTheStoredFieldsAndShowsTheWaitingText) {
  Fill({QStringLiteral("张三"), kPw, kPw, QStringLiteral("z@例子.cn"), QStringLiteral("138-0013800")});
  QTest::mouseClick(Submit(), Qt::LeftButton);

  ASSERT_EQ(services.sent.size(), 1u);
  EXPECT_EQ(services.sent[0], "QARNZhuCeDeZhangHao" + std::string(link::FieldSep) + Gbk("张三") +
                                  "|||||pass1234|||||" + Gbk("z@例子.cn") + "|||||138-0013800");
  EXPECT_EQ(fields.account, Gbk("张三"));
  EXPECT_EQ(fields.password, "pass1234");
  EXPECT_EQ(fields.email, Gbk("z@例子.cn"));
  EXPECT_EQ(fields.mobile, "138-0013800");
  EXPECT_TRUE(Waiting()->isVisible());
  EXPECT_TRUE(Submit()->isEnabled());
  EXPECT_EQ(Submit()->text(), QStringLiteral("提交"));
  EXPECT_TRUE(services.Texts().isEmpty());
}

TEST_F(RegisterWindowTest, ALostLinkShowsBothMessagesAndSendsNothing) {
  services.aliveAfterCheck = false;
  fields.account = "before";
  Fill({QStringLiteral("alice"), kPw, kPw, QStringLiteral("a@b"), kMobile});
  QTest::mouseClick(Submit(), Qt::LeftButton);

  EXPECT_EQ(services.Texts(), (QStringList{kKeepAliveFailed, kNoServer}));
  EXPECT_TRUE(services.sent.empty());
  EXPECT_EQ(fields.account, "before");
  EXPECT_FALSE(Waiting()->isVisible());
}

TEST_F(RegisterWindowTest, RefusalCountsDownFromSixtyOnTheButton) {
  Fill({QStringLiteral("alice"), kPw, kPw, QStringLiteral("a@b"), kMobile});
  QTest::mouseClick(Submit(), Qt::LeftButton);
  window.BeginRefusalCountdown();

  EXPECT_FALSE(Waiting()->isVisible());
  EXPECT_FALSE(Submit()->isEnabled());
  EXPECT_EQ(Submit()->text(), QStringLiteral("提交"));  // for the first second
  EXPECT_TRUE(window.CountdownRunning());
  EXPECT_EQ(window.findChild<QTimer*>(QStringLiteral("时钟1"))->interval(), 1000);

  QStringList captions;
  for (int i = 0; i < 59; ++i) {
    window.CountdownTick();
    captions.append(Submit()->text());
    EXPECT_FALSE(Submit()->isEnabled());
  }
  EXPECT_EQ(captions.first(), QStringLiteral("59"));
  EXPECT_EQ(captions.last(), QStringLiteral("1"));
  EXPECT_TRUE(window.CountdownRunning());

  window.CountdownTick();
  EXPECT_EQ(Submit()->text(), QStringLiteral("提交"));
  EXPECT_TRUE(Submit()->isEnabled());
  EXPECT_FALSE(window.CountdownRunning());
  EXPECT_EQ(window.Countdown(), 60);

  window.BeginRefusalCountdown();
  window.CountdownTick();
  EXPECT_EQ(Submit()->text(), QStringLiteral("59"));
}

TEST_F(RegisterWindowTest, TheTimerDrivesTheCountdown) {
  window.BeginRefusalCountdown();
  EXPECT_TRUE(QTest::qWaitFor([this] { return Submit()->text() == QStringLiteral("59"); }, 10000));
}

}  // namespace
}  // namespace qarnis::testing
