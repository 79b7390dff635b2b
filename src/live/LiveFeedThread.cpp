#include "live/LiveFeedThread.h"

namespace qarnis::live {

LiveFeedThread::~LiveFeedThread() { Stop(); }

void LiveFeedThread::Start(Loop loop) {
  if (thread_.joinable()) return;
  stop_ = false;
  thread_ = std::thread([this, loop = std::move(loop)] { loop(*this); });
}

void LiveFeedThread::Pause() {
  std::lock_guard lock(mutex_);
  paused_ = true;
}

void LiveFeedThread::Resume() {
  {
    std::lock_guard lock(mutex_);
    paused_ = false;
  }
  wake_.notify_all();
}

bool LiveFeedThread::PausePoint() {
  std::unique_lock lock(mutex_);
  wake_.wait(lock, [this] { return !paused_ || stop_; });
  return !stop_;
}

bool LiveFeedThread::Wait(std::chrono::milliseconds duration) {
  std::unique_lock lock(mutex_);
  return !wake_.wait_for(lock, duration, [this] { return stop_.load(); });
}

void LiveFeedThread::Stop() {
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (thread_.joinable() && thread_.get_id() != std::this_thread::get_id()) thread_.join();
}

}  // namespace qarnis::live
