#include "WireConnection.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace qarnis::demo {

WireConnection::~WireConnection() { Close(); }

void WireConnection::Close() {
  if (fd_ < 0) return;
  ::shutdown(fd_, SHUT_RDWR);
  ::close(fd_);
  fd_ = -1;
}

std::string WireConnection::Peer() const {
  sockaddr_in addr{};
  socklen_t len = sizeof addr;
  if (fd_ < 0 || ::getpeername(fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0) return "?";
  char buf[INET_ADDRSTRLEN] = {};
  ::inet_ntop(AF_INET, &addr.sin_addr, buf, sizeof buf);
  return buf;
}

WireConnection::Result WireConnection::Receive(std::string& text, std::chrono::milliseconds timeout) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  for (;;) {
    if (readyAt_ < ready_.size()) {
      link::Reassembler::Item item = std::move(ready_[readyAt_++]);
      if (readyAt_ == ready_.size()) {
        ready_.clear();
        readyAt_ = 0;
      }
      if (item.kind != link::Reassembler::Item::Kind::Text) {
        Close();
        return Result::Closed;
      }
      text = std::move(item.bytes);
      return Result::Text;
    }
    if (fd_ < 0) return Result::Closed;
    char buf[65536];  // the server is not held to the client's read size
    ssize_t got = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT);
    if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) {
      int waitMs = 1000;
      if (timeout.count() >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return Result::TimedOut;
        waitMs = static_cast<int>(std::min<long long>(left.count(), 1000));
      }
      pollfd p[2] = {{fd_, POLLIN, 0}, {stopFd_, POLLIN, 0}};
      const int n = ::poll(p, stopFd_ >= 0 ? 2 : 1, waitMs);
      if (n < 0 && errno != EINTR) return Result::Closed;
      if (stopFd_ >= 0 && (p[1].revents & POLLIN) != 0) return Result::Stopped;
      if (n == 0) reassembler_.IdleTick();
      continue;
    }
    if (got <= 0) {
      Close();
      return Result::Closed;
    }
    reassembler_.Feed(std::string_view(buf, static_cast<std::size_t>(got)), ready_);
  }
}

bool WireConnection::SendRaw(std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    if (fd_ < 0) return false;
    const ssize_t put = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
    if (put < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(put);
  }
  return true;
}

bool WireConnection::SendText(std::string_view text) {
  if (text.empty()) return true;
  return SendRaw(link::FramePacket(counter_.Next(), text));
}

}  // namespace qarnis::demo
