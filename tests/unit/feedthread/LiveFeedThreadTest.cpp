#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "live/LiveFeedThread.h"

namespace qarnis::live {
namespace {

using namespace std::chrono_literals;

// A loop of our own: counts the passes through its pause point and reports each one.
class CountingLoop {
 public:
  void Run(LiveFeedThread& thread) {
    while (thread.PausePoint()) {
      {
        std::lock_guard lock(mutex_);
        ++passes_;
      }
      changed_.notify_all();
      if (!thread.Wait(1ms)) break;
    }
  }
  int Passes() {
    std::lock_guard lock(mutex_);
    return passes_;
  }
  bool WaitForPassesAbove(int count, std::chrono::milliseconds timeout = 10s) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return passes_ > count; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int passes_ = 0;
};

TEST(LiveFeedThread, PauseHoldsTheLoopAtItsPausePointUntilResume) {
  LiveFeedThread thread;
  CountingLoop loop;
  thread.Start([&](LiveFeedThread& t) { loop.Run(t); });
  ASSERT_TRUE(loop.WaitForPassesAbove(0));
  thread.Pause();
  EXPECT_TRUE(thread.IsPaused());
  // At most the pass already under way completes; after that the count stands still.
  loop.WaitForPassesAbove(loop.Passes(), 100ms);
  const int held = loop.Passes();
  EXPECT_FALSE(loop.WaitForPassesAbove(held, 200ms));
  thread.Resume();
  EXPECT_TRUE(loop.WaitForPassesAbove(held));
  thread.Stop();
  EXPECT_FALSE(thread.Running());
}

TEST(LiveFeedThread, PauseIsAStateNotACount) {
  LiveFeedThread thread;
  CountingLoop loop;
  thread.Start([&](LiveFeedThread& t) { loop.Run(t); });
  thread.Pause();
  thread.Pause();
  thread.Resume();  // one resume undoes any number of pauses
  EXPECT_FALSE(thread.IsPaused());
  const int before = loop.Passes();
  EXPECT_TRUE(loop.WaitForPassesAbove(before));
  thread.Resume();  // resuming a running thread changes nothing
  EXPECT_FALSE(thread.IsPaused());
  thread.Stop();
}

TEST(LiveFeedThread, PauseReturnsAtOnceWhileTheLoopIsBusy) {
  LiveFeedThread thread;
  std::atomic<bool> inRequest{false};
  std::atomic<bool> release{false};
  thread.Start([&](LiveFeedThread& t) {
    while (t.PausePoint()) {
      inRequest = true;
      while (!release && !t.StopRequested()) std::this_thread::yield();  // a request in flight
      inRequest = false;
    }
  });
  while (!inRequest) std::this_thread::yield();
  thread.Pause();  // must not wait for the request
  EXPECT_TRUE(inRequest);
  release = true;
  thread.Stop();
}

TEST(LiveFeedThread, StopEndsAPausedThread) {
  LiveFeedThread thread;
  CountingLoop loop;
  thread.Pause();
  thread.Start([&](LiveFeedThread& t) { loop.Run(t); });
  EXPECT_FALSE(loop.WaitForPassesAbove(0, 100ms));
  thread.Stop();
  EXPECT_EQ(loop.Passes(), 0);
  EXPECT_FALSE(thread.Running());
}

TEST(LiveFeedThread, StopInterruptsALongWait) {
  LiveFeedThread thread;
  std::atomic<bool> waitResult{true};
  std::atomic<bool> waiting{false};
  thread.Start([&](LiveFeedThread& t) {
    waiting = true;
    waitResult = t.Wait(1h);
  });
  while (!waiting) std::this_thread::yield();
  thread.Stop();
  EXPECT_FALSE(waitResult);
}

}  // namespace
}  // namespace qarnis::live
