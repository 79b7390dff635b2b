#include "notify/QtSoundPlayer.h"

#include <QAudioDevice>
#include <QMediaDevices>
#include <QSoundEffect>

namespace qarnis::notify {
namespace {

QtMessageHandler previousHandler = nullptr;

// Without a sound server the audio back end logs its failed connection; silence is all we need then.
void DropAudioServerNoise(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (message.startsWith(QStringLiteral("PulseAudioService:"))) return;
  if (previousHandler != nullptr) previousHandler(type, context, message);
}

QAudioDevice DefaultOutputQuietly() {
  previousHandler = qInstallMessageHandler(DropAudioServerNoise);
  const QAudioDevice output = QMediaDevices::defaultAudioOutput();
  qInstallMessageHandler(previousHandler);
  return output;
}

}  // namespace

QUrl NotificationClipUrl() { return QUrl(QStringLiteral("qrc:/notify/chime.wav")); }

QString NotificationClipResource() { return QStringLiteral(":/notify/chime.wav"); }

QtSoundPlayer::QtSoundPlayer(QObject* parent) : QObject(parent) {}

QtSoundPlayer::~QtSoundPlayer() = default;

void QtSoundPlayer::PlayNotification() {
  if (!triedDevice_) {
    // Looked up once: on a machine without sound the effect is never built, so nothing waits or complains.
    triedDevice_ = true;
    const QAudioDevice output = DefaultOutputQuietly();
    if (output.isNull()) return;
    effect_ = new QSoundEffect(output, this);
    effect_->setSource(NotificationClipUrl());
  }
  if (effect_ == nullptr) return;
  // A chime still ringing starts over rather than overlapping itself.
  effect_->stop();
  effect_->play();
}

}  // namespace qarnis::notify
