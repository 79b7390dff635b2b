#pragma once
// A ServerLink callback that records events, and a demo server started for one test.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "TempFolder.h"
#include "ToolProcess.h"
#include "link/ServerLink.h"

namespace qarnis::link::testing {

using namespace std::chrono_literals;
using qarnis::testing::TempFolder;
using qarnis::testing::ToolPath;
using qarnis::testing::ToolProcess;

struct Recorder {
  std::mutex mutex;
  std::condition_variable cv;
  std::vector<LinkEvent> events;
  std::vector<std::string> texts;  // what Read gave inside the callback
  int closings = 0;

  ServerLink::Callback For(ServerLink& link) {
    return [this, &link](const LinkEvent& e) {
      std::string text;
      const bool ok = link.Read(&e, text);
      std::lock_guard lock(mutex);
      events.push_back(e);
      if (ok) texts.push_back(text);
      if (!e.hasData) ++closings;
      cv.notify_all();
    };
  }
  bool WaitForEvents(std::size_t n, std::chrono::milliseconds timeout = 20s) {
    std::unique_lock lock(mutex);
    return cv.wait_for(lock, timeout, [&] { return events.size() >= n; });
  }
  bool WaitForClosing(std::chrono::milliseconds timeout = 20s) {
    std::unique_lock lock(mutex);
    return cv.wait_for(lock, timeout, [&] { return closings > 0; });
  }
};

// Waits for a condition that another process or thread makes true; polls gently, fails after `timeout`.
template <typename F>
bool Eventually(F condition, std::chrono::milliseconds timeout = 20s) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(10ms);
  }
  return true;
}

class DemoServer {
 public:
  explicit DemoServer(std::vector<std::string> extraArgs) {
    port_ = qarnis::testing::FreePort();
    std::vector<std::string> args = {
        "--port",     std::to_string(port_),        "--ready-file", folder_.File("ready"),
        "--received", folder_.File("received.txt"), "--accounts",   folder_.File("accounts.txt")};
    args.insert(args.end(), extraArgs.begin(), extraArgs.end());
    process_ = std::make_unique<ToolProcess>(ToolPath("qarnis_demo_tips_server"), args);
    const std::string ready = folder_.File("ready");
    ready_ = Eventually([&] {
      struct stat st {};
      return ::stat(ready.c_str(), &st) == 0 && st.st_size > 0;
    });
  }
  bool Ready() const { return ready_; }
  int Port() const { return port_; }
  const TempFolder& Folder() const { return folder_; }
  std::string Received() const { return qarnis::testing::ReadFile(folder_.File("received.txt")); }
  int Stop() { return process_->Stop(); }
  bool Running() { return process_->Running(); }

 private:
  TempFolder folder_;
  int port_ = 0;
  std::unique_ptr<ToolProcess> process_;
  bool ready_ = false;
};

}  // namespace qarnis::link::testing
