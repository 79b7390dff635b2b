#pragma once
#include "notify/SoundPlayer.h"

namespace qarnis::testing {

class RecordingSoundPlayer final : public notify::SoundPlayer {
 public:
  void PlayNotification() override { ++played; }
  int played = 0;
};

}  // namespace qarnis::testing
