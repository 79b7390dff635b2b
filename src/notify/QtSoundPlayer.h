#pragma once
#include <QObject>
#include <QUrl>

#include "notify/SoundPlayer.h"

class QSoundEffect;

namespace qarnis::notify {

// The chime held in the program's resources.
QUrl NotificationClipUrl();          // qrc:/notify/chime.wav
QString NotificationClipResource();  // :/notify/chime.wav

// Plays the built-in chime once without waiting. With no audio output (a headless machine) it stays
// silent: no error, no wait.
class QtSoundPlayer final : public QObject, public SoundPlayer {
  Q_OBJECT
 public:
  explicit QtSoundPlayer(QObject* parent = nullptr);
  ~QtSoundPlayer() override;

  void PlayNotification() override;

 private:
  QSoundEffect* effect_ = nullptr;  // created on first use, and only when an audio output exists
  bool triedDevice_ = false;
};

}  // namespace qarnis::notify
