#pragma once
// The two live feeds served from inside a test, with counters and gates so a test can tell exactly where
// the fetch loop is: how many requests of each feed arrived, and a gate that holds a feed's answer.
#include <httplib.h>

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "FeedGenerator.h"
#include "ToolProcess.h"

namespace qarnis::live::testing {

class FeedSite {
 public:
  enum class Feed { Odds = 0, Match = 1 };

  explicit FeedSite(int matches, int port = 0)
      : generator_(demo::BuiltInFeedNames(), matches, std::time(nullptr)) {
    Route("/vbsxml/goalBf3.xml", Feed::Odds);
    Route("/vbsxml/bfdata.js", Feed::Match);
    port_ = port == 0 ? server_.bind_to_any_port("127.0.0.1")
                      : (server_.bind_to_port("127.0.0.1", port) ? port : -1);
    thread_ = std::thread([this] { server_.listen_after_bind(); });
    qarnis::testing::WaitForPort(port_, 30000);
  }

  ~FeedSite() {
    Open(Feed::Odds);
    Open(Feed::Match);
    server_.stop();
    thread_.join();
  }

  int Port() const { return port_; }
  std::string Host() const { return "127.0.0.1:" + std::to_string(port_); }
  const demo::FeedGenerator& Generator() const { return generator_; }

  // A held feed waits with its answer until opened.
  void Hold(Feed feed) { SetHeld(feed, true); }
  void Open(Feed feed) { SetHeld(feed, false); }
  void FailWith500(Feed feed) {
    std::lock_guard lock(mutex_);
    fail_[Index(feed)] = true;
  }
  void SendGarbage() {
    std::lock_guard lock(mutex_);
    garbage_ = true;
  }

  // Waits until `count` requests of `feed` arrived (answered or not).
  bool WaitForArrivals(Feed feed, int count, int timeoutMs = 60000) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return arrived_[Index(feed)] >= count; });
  }
  // Waits until `count` answers of `feed` were written.
  bool WaitForAnswers(Feed feed, int count, int timeoutMs = 60000) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return answered_[Index(feed)] >= count; });
  }
  int Arrivals(Feed feed) {
    std::lock_guard lock(mutex_);
    return arrived_[Index(feed)];
  }
  std::vector<httplib::Request> Requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }

 private:
  static int Index(Feed feed) { return static_cast<int>(feed); }

  void SetHeld(Feed feed, bool held) {
    {
      std::lock_guard lock(mutex_);
      held_[Index(feed)] = held;
    }
    changed_.notify_all();
  }

  void Route(const char* path, Feed feed) {
    server_.Get(path, [this, feed](const httplib::Request& req, httplib::Response& res) {
      const int i = Index(feed);
      bool fail = false;
      bool garbage = false;
      {
        std::unique_lock lock(mutex_);
        ++arrived_[i];
        requests_.push_back(req);
        changed_.notify_all();
        changed_.wait(lock, [&] { return !held_[i]; });
        fail = fail_[i];
        garbage = garbage_;
      }
      const long long now = std::time(nullptr);
      if (fail) {
        res.status = 500;
        res.set_content("<html>500</html>", "text/html");
      } else if (garbage) {
        res.set_content(demo::FeedGenerator::Garbage(static_cast<std::uint32_t>(now) + i, 30000),
                        "text/plain");
      } else {
        res.set_content(feed == Feed::Odds ? generator_.OddsBody(now) : generator_.MatchBody(now),
                        "text/plain");
      }
      std::lock_guard lock(mutex_);
      ++answered_[i];
      changed_.notify_all();
    });
  }

  demo::FeedGenerator generator_;
  httplib::Server server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::condition_variable changed_;
  int arrived_[2] = {0, 0};
  int answered_[2] = {0, 0};
  bool held_[2] = {false, false};
  bool fail_[2] = {false, false};
  bool garbage_ = false;
  std::vector<httplib::Request> requests_;
};

}  // namespace qarnis::live::testing
