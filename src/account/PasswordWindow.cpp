#include "account/PasswordWindow.h"

#include <QLabel>
#include <QPushButton>

#include "account/AccountForm.h"
#include "account/ConnectionCheck.h"
#include "link/Messages.h"
#include "ui/GbkLimitedEdit.h"
#include "ui/GbkQt.h"
#include "ui/Skin.h"

namespace qarnis::account {
namespace {

QLabel* AddRule(QWidget* window, const QString& name, QRect place) {
  QLabel* rule = AddLabel(window, name, QString(), place);
  rule->setFrameStyle(QFrame::HLine | QFrame::Sunken);
  return rule;
}

}  // namespace

PasswordWindow::PasswordWindow(AccountServices& services, AccountState& state, QWidget* parent)
    : QDialog(parent), services_(services), state_(state) {
  setWindowTitle(QStringLiteral("Qarnis修改密码"));
  setFixedSize(232, 328);
  setFont(ui::UiFont(12));

  AddLabel(this, QStringLiteral("标签_帐号"), QStringLiteral("帐号："), {35, 35, 30, 13});
  account_ = AddEdit(this, QStringLiteral("编辑框1"), {73, 29, 148, 23}, kNameBytes);
  AddRule(this, QStringLiteral("标签2"), {-1, 63, 245, 3});
  AddLabel(this, QStringLiteral("标签_邮箱"), QStringLiteral("注册的邮箱："), {3, 81, 69, 13});
  email_ = AddEdit(this, QStringLiteral("编辑框2"), {73, 75, 148, 23}, 0);
  AddLabel(this, QStringLiteral("标签_手机"), QStringLiteral("注册的手机："), {4, 117, 69, 13});
  mobile_ = AddEdit(this, QStringLiteral("编辑框5"), {74, 112, 148, 23}, kMobileBytes);
  mobile_->SetDigitsAndMinusOnly(true);
  AddLabel(this, QStringLiteral("标签1"), QStringLiteral("填写注册时的邮箱或手机，至少填写一个"),
           {5, 144, 216, 13});
  AddRule(this, QStringLiteral("标签3"), {-1, 166, 245, 3});
  AddLabel(this, QStringLiteral("标签_密码"), QStringLiteral("修改的密码："), {1, 188, 73, 13});
  password_ = AddEdit(this, QStringLiteral("编辑框3"), {72, 182, 148, 23}, kNameBytes);
  password_->SetPasswordMask(true);
  AddLabel(this, QStringLiteral("标签_确认密码"), QStringLiteral("确认密码："), {13, 230, 54, 13});
  repeat_ = AddEdit(this, QStringLiteral("编辑框4"), {72, 224, 148, 23}, kNameBytes);
  repeat_->SetPasswordMask(true);

  submit_ = new QPushButton(QStringLiteral("提交"), this);
  submit_->setObjectName(QStringLiteral("按钮_提交"));
  submit_->setGeometry(81, 259, 80, 32);
  connect(submit_, &QPushButton::clicked, this, &PasswordWindow::Submit);

  countdown_.Attach(submit_);

  ui::ApplySkin(this);
}

void PasswordWindow::Submit() {
  if (submitting_) return;
  submitting_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{submitting_};

  ui::MessageService& messages = services_.Messages();
  if (account_->text().isEmpty() || password_->text().isEmpty() || repeat_->text().isEmpty()) {
    messages.Show(this, QStringLiteral("您的信息填写不齐全，请补全信息在提交修改信息。"));
    return;
  }
  if (password_->text() != repeat_->text()) {
    messages.Show(this, QStringLiteral("您2次输入的密码不相同，请重新输入"));
    password_->clear();
    repeat_->clear();
    return;
  }
  if (password_->GbkText().size() < kMinPasswordBytes) {
    messages.Show(this, QStringLiteral("密码不能小于8位，最大18位。"));
    password_->clear();
    repeat_->clear();
    return;
  }

  const bool hasEmail = !email_->text().isEmpty();
  const bool hasMobile = !mobile_->text().isEmpty();
  if (!hasEmail && !hasMobile) {
    messages.Show(this, QStringLiteral("注册时的邮箱和手机至少要填写一个。"));
    return;
  }
  const PasswordChangeMode mode = hasEmail && hasMobile ? PasswordChangeMode::EmailAndMobile
                                  : hasEmail            ? PasswordChangeMode::EmailOnly
                                                        : PasswordChangeMode::MobileOnly;

  if (!CheckConnection(services_, this)) return;

  AccountRequestFields& fields = state_.fields;
  fields.account = account_->GbkText();
  fields.password = password_->GbkText();
  if (mode != PasswordChangeMode::MobileOnly) fields.email = email_->GbkText();
  if (mode != PasswordChangeMode::EmailOnly) fields.mobile = mobile_->GbkText();
  state_.passwordChangeMode = mode;
  services_.Send(link::PasswordChangeRequest(static_cast<int>(mode), fields.account, fields.email,
                                             fields.mobile, fields.password));
}

void PasswordWindow::CountdownTick() { countdown_.Tick(); }

void PasswordWindow::BeginRefusalCountdown() { countdown_.Begin(); }

}  // namespace qarnis::account
