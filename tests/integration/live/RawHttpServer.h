#pragma once
// A loopback HTTP peer that keeps each request's head exactly as sent (header order included) and either
// answers with a fixed response or holds the connection open until it is released.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qarnis::live::testing {

class RawHttpServer {
 public:
  enum class Mode { Answer, Hold };

  explicit RawHttpServer(Mode mode, std::string response = {}) : mode_(mode), response_(std::move(response)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address);
    ::listen(listener_, 8);
    socklen_t length = sizeof address;
    ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { Run(); });
  }

  ~RawHttpServer() {
    Release();
    stop_ = true;
    thread_.join();
    ::close(listener_);
  }

  int Port() const { return port_; }

  // Lets held connections go (they are closed without an answer).
  void Release() {
    {
      std::lock_guard lock(mutex_);
      released_ = true;
    }
    changed_.notify_all();
  }

  // Waits until `count` request heads arrived; false after `timeoutMs`.
  bool WaitForRequests(std::size_t count, int timeoutMs = 30000) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return heads_.size() >= count; });
  }

  std::vector<std::string> Heads() {
    std::lock_guard lock(mutex_);
    return heads_;
  }

 private:
  void Run() {
    while (!stop_) {
      pollfd p{listener_, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const int client = ::accept(listener_, nullptr, nullptr);
      if (client < 0) continue;
      Serve(client);
      ::close(client);
    }
  }

  void Serve(int client) {
    std::string head;
    char buffer[4096];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 65536 && !stop_) {
      pollfd p{client, POLLIN, 0};
      if (::poll(&p, 1, 50) <= 0) continue;
      const ssize_t got = ::recv(client, buffer, sizeof buffer, 0);
      if (got <= 0) return;
      head.append(buffer, static_cast<std::size_t>(got));
    }
    {
      std::lock_guard lock(mutex_);
      heads_.push_back(head.substr(0, head.find("\r\n\r\n") + 2));
    }
    changed_.notify_all();
    if (mode_ == Mode::Hold) {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [&] { return released_ || stop_.load(); });
      return;
    }
    ::send(client, response_.data(), response_.size(), MSG_NOSIGNAL);
  }

  Mode mode_;
  std::string response_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::condition_variable changed_;
  bool released_ = false;
  std::vector<std::string> heads_;
  std::thread thread_;
};

// The header lines of a request head, without the request line.
inline std::vector<std::string> HeaderLines(const std::string& head) {
  std::vector<std::string> lines;
  std::size_t pos = head.find("\r\n");
  while (pos != std::string::npos && pos + 2 < head.size()) {
    const std::size_t end = head.find("\r\n", pos + 2);
    if (end == std::string::npos) break;
    lines.push_back(head.substr(pos + 2, end - pos - 2));
    pos = end;
  }
  return lines;
}

}  // namespace qarnis::live::testing
