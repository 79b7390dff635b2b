#pragma once
// The background thread of the live scores, with a pause mark that other parts of the client set while
// they rebuild a view. A pause is a state, not a count; the loop stops only at its own pause points.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace qarnis::live {

class LiveFeedThread {
 public:
  using Loop = std::function<void(LiveFeedThread&)>;

  LiveFeedThread() = default;
  ~LiveFeedThread();
  LiveFeedThread(const LiveFeedThread&) = delete;
  LiveFeedThread& operator=(const LiveFeedThread&) = delete;

  // Creates the thread running `loop`; a second start while one runs is ignored.
  void Start(Loop loop);
  // Sets the paused mark and returns at once, without waiting for a request in flight.
  void Pause();
  // Clears the mark; the loop goes on where it stopped. Resuming a running thread has no effect.
  void Resume();
  bool IsPaused() const { return paused_.load(); }

  // For the loop: holds while paused; false once the thread is asked to end.
  bool PausePoint();
  // For the loop: waits `duration` (not held by a pause); false once the thread is asked to end.
  bool Wait(std::chrono::milliseconds duration);
  // True once Stop was called; long operations of the loop (an HTTP request) poll it to give up early.
  bool StopRequested() const { return stop_.load(); }
  const std::atomic<bool>& StopFlag() const { return stop_; }

  // Ends the thread at its next pause point or wait and joins it (program end).
  void Stop();
  bool Running() const { return thread_.joinable(); }

 private:
  std::atomic<bool> paused_{false};
  std::atomic<bool> stop_{false};
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
};

}  // namespace qarnis::live
