#include "app/LiveRowGate.h"

#include <QMetaObject>
#include <chrono>

#include "live/LiveFeedThread.h"
#include "live/LiveListModel.h"

namespace qarnis::app {

LiveRowGate::LiveRowGate(live::LiveListModel* model, const live::LiveFeedThread& thread)
    : model_(model), thread_(thread) {}

void LiveRowGate::HandOver(live::LiveMatch&& match) {
  auto handed = std::make_shared<Handed>();
  std::weak_ptr<LiveRowGate> self = weak_from_this();
  live::LiveListModel* model = model_.data();
  if (model == nullptr) return;
  QMetaObject::invokeMethod(
      model,
      [self, handed, match = std::move(match)]() mutable {
        if (auto gate = self.lock()) gate->Receive(std::move(match), handed);
        Finish(handed);
      },
      Qt::QueuedConnection);
  std::unique_lock lock(handed->mutex);
  // The stop request has no wake-up of its own here, so it is looked at between short waits.
  while (!handed->finished && !thread_.StopRequested())
    handed->done.wait_for(lock, std::chrono::milliseconds(50));
}

void LiveRowGate::Receive(live::LiveMatch match, const std::shared_ptr<Handed>&) {
  if (thread_.IsPaused() || !held_.empty()) {
    held_.push_back(std::move(match));
    return;
  }
  if (model_) model_->ApplyLiveMatch(match);
}

void LiveRowGate::ApplyHeld() {
  while (!held_.empty() && model_) {
    model_->ApplyLiveMatch(held_.front());
    held_.pop_front();
  }
}

void LiveRowGate::Finish(const std::shared_ptr<Handed>& handed) {
  {
    std::lock_guard lock(handed->mutex);
    handed->finished = true;
  }
  handed->done.notify_all();
}

}  // namespace qarnis::app
