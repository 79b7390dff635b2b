#pragma once

namespace qarnis::notify {

// Plays the notification chime once, without waiting. Tests put a recorder in its place.
class SoundPlayer {
 public:
  virtual ~SoundPlayer() = default;
  virtual void PlayNotification() = 0;
};

}  // namespace qarnis::notify
