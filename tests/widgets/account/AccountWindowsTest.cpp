#include "account/AccountWindows.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "AccountTestText.h"
#include "FakeAccountServices.h"
#include "ModalDriver.h"
#include "TempFolder.h"
#include "account/PasswordWindow.h"
#include "account/RegisterWindow.h"
#include "settings/SettingsStore.h"

namespace qarnis::testing {
namespace {

using account::PasswordChangeMode;

const QString kTooFast = QStringLiteral("您的IP注册繁忙，请稍后再尝试。");
const QString kExists = QStringLiteral("您注册的账号已经存在，请换个账号注册，如需帮助请联系管理员。");
const QString kRegistered = QStringLiteral("恭喜，您的账号已经注册成功。");
const QString kNoAccount = QStringLiteral("账号填写错误，请重检查输入的账号是否错误。");
const QString kChanged = QStringLiteral("密码修改完毕，下次登录请用新的密码登录。");
const QString kBothWrong = QStringLiteral("邮箱和手机号码都填写错误，请检查邮箱和手机是否输入错误。");
const QString kEmailWrong = QStringLiteral("邮箱填写错误，请检查邮箱是否输入错误。");
const QString kMobileWrong = QStringLiteral("手机号码填写错误，请检查手机号码是否输入错误。");

void FillBox(QWidget* window, const QString& name, const QString& text) {
  auto* edit = window->findChild<QLineEdit*>(name);
  ASSERT_NE(edit, nullptr) << name.toStdString();
  edit->clear();
  TypeText(edit, text);
}

QPushButton* SubmitOf(QWidget* window) {
  return window->findChild<QPushButton*>(QStringLiteral("按钮_提交"));
}

void FillRegistration(QWidget* window) {
  FillBox(window, QStringLiteral("编辑框1"), QStringLiteral("新用户"));
  FillBox(window, QStringLiteral("编辑框2"), QStringLiteral("pass1234"));
  FillBox(window, QStringLiteral("编辑框3"), QStringLiteral("pass1234"));
  FillBox(window, QStringLiteral("编辑框4"), QStringLiteral("new@user.cn"));
  FillBox(window, QStringLiteral("编辑框5"), QStringLiteral("13800138000"));
}

// Fills the password window for one form: 1 e-mail and mobile, 2 e-mail only, 3 mobile only.
void FillPasswordChange(QWidget* window, int form) {
  FillBox(window, QStringLiteral("编辑框1"), QStringLiteral("alice"));
  FillBox(window, QStringLiteral("编辑框2"), form != 3 ? QStringLiteral("a@b.cn") : QString());
  FillBox(window, QStringLiteral("编辑框5"), form != 2 ? QStringLiteral("13800138000") : QString());
  FillBox(window, QStringLiteral("编辑框3"), QStringLiteral("newpass1"));
  FillBox(window, QStringLiteral("编辑框4"), QStringLiteral("newpass1"));
}

class AccountWindowsTest : public ::testing::Test {
 protected:
  AccountWindowsTest()
      : store(folder.File("Winsetb.ini")),
        account(new QLineEdit(QStringLiteral("olduser"), &main)),
        password(new QLineEdit(QStringLiteral("oldpass1"), &main)),
        remember(new QCheckBox(&main)),
        windows(&main, {account, password, remember}, store, services) {
    main.resize(400, 300);
    main.show();
    services.messages.probe = [this] {
      if (windows.OpenRegister() != nullptr && windows.OpenRegister()->isVisible())
        return QStringLiteral("register");
      if (windows.OpenPassword() != nullptr && windows.OpenPassword()->isVisible())
        return QStringLiteral("password");
      return QStringLiteral("none");
    };
  }

  TempFolder folder;
  settings::SettingsStore store;
  FakeAccountServices services;
  QWidget main;
  QLineEdit* account;
  QLineEdit* password;
  QCheckBox* remember;
  account::AccountWindows windows;
};

TEST_F(AccountWindowsTest, AcceptedRegistrationFillsTheLoginBoxesClosesAndThenTellsTheUser) {
  ModalDriver driver([this](QWidget* window) {
    EXPECT_EQ(window->size(), QSize(231, 375));
    FillRegistration(window);
    QTest::mouseClick(SubmitOf(window), Qt::LeftButton);
    ASSERT_EQ(services.sent.size(), 1u);
    windows.RegistrationAccepted();
  });
  windows.OpenRegisterWindow();

  ASSERT_TRUE(driver.Acted());
  EXPECT_FALSE(driver.ClosedByDriver());
  EXPECT_EQ(driver.SeenClass(), QStringLiteral("qarnis::account::RegisterWindow"));
  EXPECT_EQ(windows.OpenRegister(), nullptr);
  EXPECT_EQ(services.Texts(), QStringList{kRegistered});
  EXPECT_EQ(services.messages.recorder.forReply, QList<bool>{true});
  EXPECT_EQ(services.messages.probed, QStringList{QStringLiteral("none")});
  EXPECT_EQ(account->text(), QStringLiteral("新用户"));
  EXPECT_EQ(password->text(), QStringLiteral("pass1234"));
  EXPECT_TRUE(remember->isChecked());
  EXPECT_EQ(store.ReadKey("DQZH"), Gbk("新用户"));
  EXPECT_EQ(store.ReadKey("DQMM"), "pass1234");
  EXPECT_EQ(store.ReadKey("ZDTXZM"), Gbk("真"));
}

struct RefusalCase {
  const char* name;
  void (account::AccountWindows::*reply)();
  QString message;
};

class RegistrationRefusal : public AccountWindowsTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(RegistrationRefusal, StartsTheCountdownAndTellsWhy) {
  const RefusalCase& c = GetParam();
  ModalDriver driver([&](QWidget* window) {
    FillRegistration(window);
    QTest::mouseClick(SubmitOf(window), Qt::LeftButton);
    EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("标签6"))->isVisible());
    (windows.*c.reply)();
    EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("标签6"))->isVisible());
    EXPECT_FALSE(SubmitOf(window)->isEnabled());
    EXPECT_TRUE(windows.OpenRegister()->CountdownRunning());
    static_cast<QDialog*>(window)->reject();
  });
  windows.OpenRegisterWindow();

  ASSERT_TRUE(driver.Acted());
  EXPECT_EQ(services.Texts(), QStringList{c.message});
  EXPECT_EQ(services.messages.probed, QStringList{QStringLiteral("register")});
  EXPECT_EQ(account->text(), QStringLiteral("olduser"));
  EXPECT_EQ(store.ReadKey("DQZH"), "");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RegistrationRefusal,
    ::testing::Values(RefusalCase{"TooFast", &account::AccountWindows::RegistrationTooFast, kTooFast},
                      RefusalCase{"AccountExists", &account::AccountWindows::RegistrationAccountExists,
                                  kExists}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

struct ClosedCase {
  const char* name;
  void (account::AccountWindows::*reply)();
  QStringList messages;
};

class ReplyWithoutWindow : public AccountWindowsTest, public ::testing::WithParamInterface<ClosedCase> {};

TEST_P(ReplyWithoutWindow, ShowsTheMessageAndChangesNothing) {
  const ClosedCase& c = GetParam();
  (windows.*c.reply)();
  EXPECT_EQ(services.Texts(), c.messages);
  EXPECT_EQ(account->text(), QStringLiteral("olduser"));
  EXPECT_EQ(password->text(), QStringLiteral("oldpass1"));
  EXPECT_FALSE(remember->isChecked());
  EXPECT_FALSE(store.FileExists());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReplyWithoutWindow,
    ::testing::Values(
        ClosedCase{"TooFast", &account::AccountWindows::RegistrationTooFast, {kTooFast}},
        ClosedCase{"AccountExists", &account::AccountWindows::RegistrationAccountExists, {kExists}},
        ClosedCase{"AcceptedCopiesNothing", &account::AccountWindows::RegistrationAccepted, {kRegistered}},
        ClosedCase{"NoSuchAccount", &account::AccountWindows::PasswordNoSuchAccount, {kNoAccount}},
        ClosedCase{"Changed", &account::AccountWindows::PasswordChanged, {kChanged}},
        ClosedCase{"MismatchBeforeAnyRequest", &account::AccountWindows::PasswordMismatch, {}}),
    [](const ::testing::TestParamInfo<ClosedCase>& info) { return std::string(info.param.name); });

TEST_F(AccountWindowsTest, ChangedPasswordClosesTheWindowAfterItsMessageAndLeavesTheLoginBoxes) {
  ModalDriver driver([this](QWidget* window) {
    EXPECT_EQ(window->size(), QSize(232, 328));
    FillPasswordChange(window, 1);
    QTest::mouseClick(SubmitOf(window), Qt::LeftButton);
    windows.PasswordChanged();
  });
  windows.OpenPasswordWindow();

  ASSERT_TRUE(driver.Acted());
  EXPECT_FALSE(driver.ClosedByDriver());
  EXPECT_EQ(services.Texts(), QStringList{kChanged});
  EXPECT_EQ(services.messages.probed, QStringList{QStringLiteral("password")});
  EXPECT_EQ(windows.OpenPassword(), nullptr);
  EXPECT_EQ(password->text(), QStringLiteral("oldpass1"));
  EXPECT_FALSE(store.FileExists());
}

struct MismatchCase {
  const char* name;
  int form;
  QString message;
};

class PasswordMismatchByMode : public AccountWindowsTest,
                               public ::testing::WithParamInterface<MismatchCase> {};

TEST_P(PasswordMismatchByMode, NamesWhatWasWrongThenCountsDown) {
  const MismatchCase& c = GetParam();
  ModalDriver driver([&](QWidget* window) {
    FillPasswordChange(window, c.form);
    QTest::mouseClick(SubmitOf(window), Qt::LeftButton);
    windows.PasswordMismatch();
    EXPECT_FALSE(SubmitOf(window)->isEnabled());
    EXPECT_TRUE(windows.OpenPassword()->CountdownRunning());
    windows.PasswordNoSuchAccount();
    static_cast<QDialog*>(window)->reject();
  });
  windows.OpenPasswordWindow();

  ASSERT_TRUE(driver.Acted());
  EXPECT_EQ(static_cast<int>(windows.State().passwordChangeMode), c.form);
  EXPECT_EQ(services.Texts(), (QStringList{c.message, kNoAccount}));
  EXPECT_EQ(services.messages.probed, (QStringList{QStringLiteral("password"), QStringLiteral("password")}));
}

INSTANTIATE_TEST_SUITE_P(Cases, PasswordMismatchByMode,
                         ::testing::Values(MismatchCase{"EmailAndMobile", 1, kBothWrong},
                                           MismatchCase{"EmailOnly", 2, kEmailWrong},
                                           MismatchCase{"MobileOnly", 3, kMobileWrong}),
                         [](const ::testing::TestParamInfo<MismatchCase>& info) {
                           return std::string(info.param.name);
                         });

TEST_F(AccountWindowsTest, ReopenedWindowStartsFreshButTheModeStays) {
  ModalDriver first([](QWidget* window) {
    FillPasswordChange(window, 3);
    QTest::mouseClick(SubmitOf(window), Qt::LeftButton);
    static_cast<QDialog*>(window)->reject();
  });
  windows.OpenPasswordWindow();
  ASSERT_TRUE(first.Acted());
  EXPECT_EQ(windows.State().passwordChangeMode, PasswordChangeMode::MobileOnly);

  ModalDriver second([this](QWidget* window) {
    for (auto* edit : window->findChildren<QLineEdit*>()) EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(windows.OpenPassword()->Countdown(), 10);
    EXPECT_TRUE(SubmitOf(window)->isEnabled());
    static_cast<QDialog*>(window)->reject();
  });
  windows.OpenPasswordWindow();
  ASSERT_TRUE(second.Acted());

  windows.PasswordMismatch();
  EXPECT_EQ(services.Texts(), QStringList{kMobileWrong});
}

TEST_F(AccountWindowsTest, TheRegistrationSlotsArePassedOnToThePasswordRequest) {
  ModalDriver registration([this](QWidget* window) {
    FillRegistration(window);
    QTest::mouseClick(SubmitOf(window), Qt::LeftButton);
    windows.RegistrationAccountExists();
    static_cast<QDialog*>(window)->reject();
  });
  windows.OpenRegisterWindow();
  ModalDriver change([](QWidget* window) {
    FillPasswordChange(window, 2);
    QTest::mouseClick(SubmitOf(window), Qt::LeftButton);
    static_cast<QDialog*>(window)->reject();
  });
  windows.OpenPasswordWindow();

  ASSERT_TRUE(registration.Acted());
  ASSERT_TRUE(change.Acted());
  EXPECT_EQ(windows.State().fields.account, "alice");
  EXPECT_EQ(windows.State().fields.password, "newpass1");
  EXPECT_EQ(windows.State().fields.email, "a@b.cn");
  EXPECT_EQ(windows.State().fields.mobile, "13800138000");
  ASSERT_EQ(services.sent.size(), 2u);
}

}  // namespace
}  // namespace qarnis::testing
