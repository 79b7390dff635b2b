#pragma once
// One accepted client socket, speaking the link's framing through the same code the client uses.
#include <chrono>
#include <string>
#include <string_view>
#include <vector>

#include "link/Reassembler.h"

namespace qarnis::demo {

class WireConnection {
 public:
  enum class Result { Text, Closed, TimedOut, Stopped };

  WireConnection(int fd, int stopFd) : fd_(fd), stopFd_(stopFd) {}
  ~WireConnection();
  WireConnection(const WireConnection&) = delete;
  WireConnection& operator=(const WireConnection&) = delete;

  // Next text from the client, waiting at most `timeout` (negative: no limit).
  Result Receive(std::string& text, std::chrono::milliseconds timeout);
  bool SendText(std::string_view text);  // framed, numbered
  bool SendRaw(std::string_view bytes);  // exactly these bytes
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  int Fd() const { return fd_; }
  std::string Peer() const;

 private:
  int fd_;
  int stopFd_;
  link::Reassembler reassembler_;
  link::MessageCounter counter_;
  std::vector<link::Reassembler::Item> ready_;
  std::size_t readyAt_ = 0;
};

}  // namespace qarnis::demo
