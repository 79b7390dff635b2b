#include "account/RegisterWindow.h"

#include <QLabel>
#include <QPushButton>

#include "account/AccountForm.h"
#include "account/ConnectionCheck.h"
#include "link/Messages.h"
#include "text/GbkText.h"
#include "ui/GbkLimitedEdit.h"
#include "ui/GbkQt.h"
#include "ui/Skin.h"

namespace qarnis::account {
namespace {

constexpr int kEmailBytes = 38;

}  // namespace

RegisterWindow::RegisterWindow(AccountServices& services, AccountRequestFields& fields, QWidget* parent)
    : QDialog(parent), services_(services), fields_(fields) {
  setWindowTitle(QStringLiteral("Qarnis注册帐号"));
  setFixedSize(231, 375);
  setFont(ui::UiFont(12));

  AddLabel(this, QStringLiteral("标签1"), QStringLiteral("以下信息必须填写，邮箱和"), {37, 3, 208, 18});
  AddLabel(this, QStringLiteral("标签2"), QStringLiteral("手机是用于修改密码的验证。"), {8, 23, 192, 18});
  AddLabel(this, QStringLiteral("标签_帐号"), QStringLiteral("帐号："), {27, 112, 30, 13});
  account_ = AddEdit(this, QStringLiteral("编辑框1"), {64, 106, 148, 23}, kNameBytes);
  AddLabel(this, QStringLiteral("标签_密码"), QStringLiteral("密码："), {27, 149, 30, 13});
  password_ = AddEdit(this, QStringLiteral("编辑框2"), {64, 144, 148, 23}, kNameBytes);
  password_->SetPasswordMask(true);
  AddLabel(this, QStringLiteral("标签_确认密码"), QStringLiteral("确认密码："), {3, 188, 54, 13});
  repeat_ = AddEdit(this, QStringLiteral("编辑框3"), {64, 183, 148, 23}, kNameBytes);
  repeat_->SetPasswordMask(true);
  AddLabel(this, QStringLiteral("标签_邮箱"), QStringLiteral("邮箱："), {27, 231, 30, 13});
  email_ = AddEdit(this, QStringLiteral("编辑框4"), {64, 225, 148, 23}, kEmailBytes);
  AddLabel(this, QStringLiteral("标签5"), QStringLiteral("请填写真实邮箱，我们会给您发注册信息。"),
           {0, 256, 224, 13});
  AddLabel(this, QStringLiteral("标签_手机号码"), QStringLiteral("手机号码："), {3, 280, 54, 13});
  mobile_ = AddEdit(this, QStringLiteral("编辑框5"), {64, 274, 148, 23}, kMobileBytes);
  mobile_->SetDigitsAndMinusOnly(true);

  submit_ = new QPushButton(QStringLiteral("提交"), this);
  submit_->setObjectName(QStringLiteral("按钮_提交"));
  submit_->setGeometry(64, 305, 80, 32);
  connect(submit_, &QPushButton::clicked, this, &RegisterWindow::Submit);

  // Covers the boxes while the reply is awaited; clicks still reach the controls, and the button stays on
  // top because it remains usable meanwhile.
  waiting_ = AddLabel(this, QStringLiteral("标签6"), QStringLiteral("请稍等.."), {1, 89, 223, 256});
  waiting_->setAlignment(Qt::AlignCenter);
  waiting_->setAutoFillBackground(true);
  waiting_->setAttribute(Qt::WA_TransparentForMouseEvents);
  waiting_->hide();
  submit_->raise();

  countdown_.Attach(submit_);

  ui::ApplySkin(this);
}

QString RegisterWindow::AccountText() const { return account_->text(); }

QString RegisterWindow::PasswordText() const { return password_->text(); }

void RegisterWindow::Submit() {
  if (submitting_) return;
  submitting_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{submitting_};

  ui::MessageService& messages = services_.Messages();
  const bool anyEmpty = account_->text().isEmpty() || password_->text().isEmpty() ||
                        repeat_->text().isEmpty() || email_->text().isEmpty() || mobile_->text().isEmpty();
  if (anyEmpty) {
    messages.Show(this, QStringLiteral("您的信息填写不齐全，请补全信息在提交注册信息。"));
    return;
  }
  if (password_->text() != repeat_->text()) {
    messages.Show(this, QStringLiteral("您2次输入的密码不相同，请重新输入"));
    password_->clear();
    repeat_->clear();
    return;
  }
  if (!text::Contains(email_->GbkText(), "@")) {
    messages.Show(this, QStringLiteral("您填写的邮箱有误，请重新填写"));
    return;
  }
  if (mobile_->GbkText().size() != static_cast<std::size_t>(kMobileBytes)) {
    messages.Show(this, QStringLiteral("您填写的手机有误，请重新填写"));
    return;
  }
  if (password_->GbkText().size() < kMinPasswordBytes) {
    messages.Show(this, QStringLiteral("密码必须大于8位，最大不可以超过18位。"));
    return;
  }

  if (!CheckConnection(services_, this)) return;

  fields_.account = account_->GbkText();
  fields_.password = password_->GbkText();
  fields_.email = email_->GbkText();
  fields_.mobile = mobile_->GbkText();
  waiting_->show();
  waiting_->raise();
  submit_->raise();
  services_.Send(link::RegistrationRequest(fields_.account, fields_.password, fields_.email, fields_.mobile));
}

void RegisterWindow::CountdownTick() { countdown_.Tick(); }

void RegisterWindow::BeginRefusalCountdown() {
  waiting_->hide();
  countdown_.Begin();
}

void RegisterWindow::MarkAccepted() {
  waiting_->hide();
  submit_->setEnabled(false);
}

}  // namespace qarnis::account
