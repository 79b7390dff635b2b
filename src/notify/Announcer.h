#pragma once
#include <QObject>
#include <QPointer>
#include <QString>
#include <string>

class QCheckBox;
class QTimer;
class QWidget;

namespace qarnis::notify {

class PopupWindow;
class ServerNoticeWindow;
class SoundPlayer;

// Announces pushes with the chime and the bottom-right pop-up, and opens the server notice window, both
// two seconds after the news arrived. Window thread only: the link's hand-off calls in here.
//
// Never two pop-ups at once: when the deferred tick comes while a pop-up is still up, that pop-up takes the
// new word and stands its full time again. The user may close a pop-up early (close button or a click); it
// then resets its close count like a faded one. A notice arriving while the notice window is open replaces
// its text and brings it to the front.
class Announcer : public QObject {
  Q_OBJECT
 public:
  // The two check boxes are read at each announcement, so their state is always the user's latest choice.
  Announcer(QWidget* mainWindow, QCheckBox* popupSwitch, QCheckBox* soundSwitch, SoundPlayer& sound);
  ~Announcer() override;

  void AnnounceNews(const QString& word);
  // A server notice opens its window at the next deferred tick, whatever the switches say.
  void ServerNotice(const std::string& gbkText);

  // "时钟_左下弹窗": single shot, 2000 ms, re-armed (restarted) by every announcement or notice.
  QTimer* DeferredTimer();
  void OnDeferredTimer();

  const QString& PendingPopupText() const { return pendingPopupText_; }
  const std::string& ServerNoticeText() const { return serverNoticeText_; }
  // The windows on screen now, or null.
  PopupWindow* CurrentPopup() const { return popup_.data(); }
  ServerNoticeWindow* CurrentNoticeWindow() const { return noticeWindow_.data(); }

 signals:
  void PopupShown(qarnis::notify::PopupWindow* popup);
  void NoticeWindowShown(qarnis::notify::ServerNoticeWindow* window);

 private:
  void ShowPopup();
  void ShowNoticeWindow();

  QWidget* mainWindow_;
  QPointer<QCheckBox> popupSwitch_;
  QPointer<QCheckBox> soundSwitch_;
  SoundPlayer& sound_;
  QTimer* deferredTimer_;
  QString pendingPopupText_;
  std::string serverNoticeText_;
  QPointer<PopupWindow> popup_;
  QPointer<ServerNoticeWindow> noticeWindow_;
};

}  // namespace qarnis::notify
