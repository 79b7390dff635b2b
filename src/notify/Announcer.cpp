#include "notify/Announcer.h"

#include <QCheckBox>
#include <QTimer>

#include "notify/PopupWindow.h"
#include "notify/ServerNoticeWindow.h"
#include "notify/SoundPlayer.h"

namespace qarnis::notify {
namespace {
constexpr int kDeferMs = 2000;
}

Announcer::Announcer(QWidget* mainWindow, QCheckBox* popupSwitch, QCheckBox* soundSwitch, SoundPlayer& sound)
    : QObject(mainWindow),
      mainWindow_(mainWindow),
      popupSwitch_(popupSwitch),
      soundSwitch_(soundSwitch),
      sound_(sound),
      deferredTimer_(new QTimer(this)) {
  deferredTimer_->setObjectName(QStringLiteral("时钟_左下弹窗"));
  deferredTimer_->setSingleShot(true);
  deferredTimer_->setInterval(kDeferMs);
  connect(deferredTimer_, &QTimer::timeout, this, &Announcer::OnDeferredTimer);
}

Announcer::~Announcer() {
  // The two windows are top-level and unparented, so they would outlive the main window otherwise.
  delete popup_.data();
  delete noticeWindow_.data();
}

void Announcer::AnnounceNews(const QString& word) {
  if (soundSwitch_ != nullptr && soundSwitch_->isChecked()) sound_.PlayNotification();
  if (popupSwitch_ != nullptr && popupSwitch_->isChecked()) {
    pendingPopupText_ = word;
    deferredTimer_->start(kDeferMs);
  }
}

void Announcer::ServerNotice(const std::string& gbkText) {
  serverNoticeText_ = gbkText;
  deferredTimer_->start(kDeferMs);
}

QTimer* Announcer::DeferredTimer() { return deferredTimer_; }

void Announcer::OnDeferredTimer() {
  deferredTimer_->stop();
  if (!serverNoticeText_.empty()) {
    ShowNoticeWindow();
  } else {
    ShowPopup();
  }
}

void Announcer::ShowPopup() {
  const QString word = pendingPopupText_;
  pendingPopupText_.clear();
  if (popup_ != nullptr) {
    popup_->Renew(word);
  } else {
    popup_ = new PopupWindow(word);
    popup_->Start();
  }
  emit PopupShown(popup_.data());
}

void Announcer::ShowNoticeWindow() {
  if (noticeWindow_ != nullptr) {
    noticeWindow_->SetText(serverNoticeText_);
    noticeWindow_->raise();
  } else {
    noticeWindow_ = new ServerNoticeWindow(serverNoticeText_);
    noticeWindow_->show();
  }
  serverNoticeText_.clear();
  emit NoticeWindowShown(noticeWindow_.data());
}

}  // namespace qarnis::notify
