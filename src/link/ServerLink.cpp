#include "link/ServerLink.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <deque>
#include <thread>

namespace qarnis::link {
namespace {

// More consecutive one-second waits for writability than this give up the rest of a packet.
constexpr int kMaxWriteWaits = 20;
constexpr std::chrono::milliseconds kWriteWaitSlice{1000};
// A deliverer held up by a long handling must not let a flooding server grow the event list without end;
// above this many queued bytes the receiver stops reading and lets TCP push back.
constexpr std::size_t kMaxQueuedEventBytes = 64u * 1024u * 1024u;

// The session whose deliverer runs on this thread, so Close knows not to join itself.
thread_local const void* tlsDeliveringSession = nullptr;

bool ParseDottedQuad(const std::string& host, in_addr& out) {
  std::uint32_t value = 0;
  int parts = 0;
  std::size_t i = 0;
  while (parts < 4) {
    std::size_t digits = 0;
    unsigned part = 0;
    while (i < host.size() && host[i] >= '0' && host[i] <= '9' && digits < 4) {
      part = part * 10 + static_cast<unsigned>(host[i] - '0');
      ++i;
      ++digits;
    }
    if (digits == 0 || digits > 3 || part > 255) return false;
    value = (value << 8) | part;
    ++parts;
    if (parts < 4) {
      if (i >= host.size() || host[i] != '.') return false;
      ++i;
    }
  }
  if (i != host.size()) return false;
  out.s_addr = htonl(value);
  return true;
}

bool Resolve(const std::string& host, in_addr& out) {
  if (ParseDottedQuad(host, out)) return true;
  if (host.empty()) return false;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) return false;
  bool ok = false;
  for (addrinfo* p = found; p != nullptr; p = p->ai_next) {
    if (p->ai_family == AF_INET && p->ai_addr != nullptr) {
      out = reinterpret_cast<sockaddr_in*>(p->ai_addr)->sin_addr;
      ok = true;
      break;
    }
  }
  ::freeaddrinfo(found);
  return ok;
}

// A non-blocking connect that gives up after `timeout`; returns the connected socket or -1.
int ConnectWithin(const in_addr& address, int port, std::chrono::milliseconds timeout) {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return -1;
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(static_cast<std::uint16_t>(port));
  addr.sin_addr = address;
  int rc = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
  if (rc != 0 && errno == EINPROGRESS) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
      pollfd p{fd, POLLOUT, 0};
      const int n = ::poll(&p, 1, static_cast<int>(std::max<std::int64_t>(0, left.count())));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      int error = 0;
      socklen_t len = sizeof error;
      if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &len) == 0 && error == 0) rc = 0;
      break;
    }
  }
  if (rc != 0) {
    ::close(fd);
    return -1;
  }
  const int one = 1;
  ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  return fd;
}

}  // namespace

struct ServerLink::Session {
  int fd = -1;
  int wakeRead = -1;  // becomes readable when the session is stopping, to end the socket waits at once
  int wakeWrite = -1;
  std::atomic<bool> stopping{false};
  Callback callback;

  std::mutex sendMutex;
  std::condition_variable sendCv;
  std::deque<std::string> sendList;

  std::mutex eventMutex;
  std::condition_variable eventCv;  // deliverer: an event or stopping
  std::condition_variable roomCv;   // receiver: room in the event list or stopping
  std::deque<LinkEvent> eventList;
  std::size_t queuedBytes = 0;

  std::thread receiver, sender, deliverer;

  ~Session() {
    if (fd >= 0) ::close(fd);
    if (wakeRead >= 0) ::close(wakeRead);
    if (wakeWrite >= 0) ::close(wakeWrite);
  }

  void PushEvent(LinkEvent event) {
    {
      std::unique_lock lock(eventMutex);
      roomCv.wait(lock, [&] { return stopping.load() || queuedBytes < kMaxQueuedEventBytes; });
      if (stopping.load()) return;
      queuedBytes += event.bytes.size();
      eventList.push_back(std::move(event));
    }
    eventCv.notify_one();
  }

  void Stop() {
    stopping.store(true);
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(wakeWrite, &byte, 1);
    { std::lock_guard lock(sendMutex); }
    sendCv.notify_all();
    { std::lock_guard lock(eventMutex); }
    eventCv.notify_all();
    roomCv.notify_all();
  }
};

ServerLink::ServerLink() = default;

ServerLink::~ServerLink() {
  Close();
  WaitForCloses();
  JoinRetired();
}

void ServerLink::WaitForCloses() {
  if (tlsDeliveringSession != nullptr) return;  // a deliverer's own close has finished before it gets here
  std::unique_lock lock(lifeMutex_);
  closesDone_.wait(lock, [&] { return closesRunning_ == 0; });
}

bool ServerLink::Connect(int port, const std::string& host, Callback callback) {
  if (port < 0 || port > 65535 || !callback) return false;
  {
    std::lock_guard lock(lifeMutex_);
    if (session_ || connecting_) return false;
    connecting_ = true;
  }
  WaitForCloses();
  JoinRetired();

  auto s = std::make_shared<Session>();
  in_addr address{};
  int fds[2] = {-1, -1};
  bool ok = Resolve(host, address) && ::pipe2(fds, O_CLOEXEC | O_NONBLOCK) == 0;
  if (ok) {
    s->wakeRead = fds[0];
    s->wakeWrite = fds[1];
    s->fd = ConnectWithin(address, port, connectTimeout_);
    ok = s->fd >= 0;
  }
  std::lock_guard lock(lifeMutex_);
  connecting_ = false;
  if (!ok) return false;
  s->callback = std::move(callback);
  session_ = s;
  open_.store(true, std::memory_order_release);
  Session& ref = *s;
  ref.receiver = std::thread([this, &ref] { ReceiverLoop(ref); });
  ref.sender = std::thread([this, &ref] { SenderLoop(ref); });
  ref.deliverer = std::thread([this, s] { DelivererLoop(s); });
  return true;
}

bool ServerLink::Send(std::string_view text) {
  std::shared_ptr<Session> s;
  {
    std::lock_guard lock(lifeMutex_);
    s = session_;
  }
  if (!s || !open_.load(std::memory_order_acquire)) return false;
  if (text.empty()) return true;
  {
    std::lock_guard lock(s->sendMutex);
    s->sendList.emplace_back(text);
  }
  s->sendCv.notify_one();
  return true;
}

bool ServerLink::Read(const LinkEvent* event, std::string& out) const {
  if (!IsOpen() || event == nullptr || !event->hasData) return false;
  const std::size_t zero = event->bytes.find('\0');
  out = event->bytes.substr(0, zero);
  return true;
}

void ServerLink::Close() { CloseSession(nullptr); }

void ServerLink::CloseSession(const Session* only) {
  std::shared_ptr<Session> s;
  {
    std::lock_guard lock(lifeMutex_);
    if (only != nullptr && session_.get() != only) return;
    s = std::move(session_);
    session_.reset();
    open_.store(false, std::memory_order_release);
    if (!s) return;
    ++closesRunning_;
  }
  s->Stop();
  ::shutdown(s->fd, SHUT_RDWR);
  if (s->receiver.joinable()) s->receiver.join();
  if (s->sender.joinable()) s->sender.join();
  const bool onItsDeliverer = tlsDeliveringSession == s.get();
  if (!onItsDeliverer && s->deliverer.joinable()) s->deliverer.join();
  {
    std::lock_guard lock(lifeMutex_);
    if (onItsDeliverer) retired_.push_back(std::move(s));
    --closesRunning_;
  }
  closesDone_.notify_all();
}

void ServerLink::JoinRetired() {
  std::vector<std::shared_ptr<Session>> retired;
  {
    std::lock_guard lock(lifeMutex_);
    retired.swap(retired_);
  }
  for (auto& s : retired) {
    if (tlsDeliveringSession == s.get()) {
      s->deliverer.detach();  // destroyed from its own callback; the thread ends right after
      continue;
    }
    if (s->deliverer.joinable()) s->deliverer.join();
  }
}

void ServerLink::ReceiverLoop(Session& s) {
  Reassembler reassembler;
  std::vector<Reassembler::Item> items;
  std::string buffer(kReadChunkSize, '\0');
  bool mayHaveData = false;
  while (!s.stopping.load()) {
    // Read first and wait only when the socket has nothing: a busy stream costs one call per read.
    ssize_t got = -1;
    if (mayHaveData) {
      got = ::recv(s.fd, buffer.data(), buffer.size(), 0);
      if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) mayHaveData = false;
    }
    if (!mayHaveData) {
      pollfd p[2] = {{s.fd, POLLIN, 0}, {s.wakeRead, POLLIN, 0}};
      const int n = ::poll(p, 2, static_cast<int>(receiveSlice_.count()));
      if (s.stopping.load()) return;
      if (n < 0) {
        if (errno == EINTR) continue;
        s.PushEvent({false, {}});
        return;
      }
      if (n == 0) {
        reassembler.IdleTick();
        continue;
      }
      mayHaveData = true;
      continue;
    }
    if (s.stopping.load()) return;
    if (got <= 0) {
      s.PushEvent({false, {}});
      return;
    }
    items.clear();
    reassembler.Feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)), items);
    for (auto& item : items) {
      if (item.kind == Reassembler::Item::Kind::Text) {
        s.PushEvent({true, std::move(item.bytes)});
      } else {
        s.PushEvent({false, {}});
        return;
      }
    }
  }
}

void ServerLink::SenderLoop(Session& s) {
  for (;;) {
    std::string text;
    {
      std::unique_lock lock(s.sendMutex);
      s.sendCv.wait(lock, [&] { return s.stopping.load() || !s.sendList.empty(); });
      if (s.stopping.load()) return;
      text = std::move(s.sendList.front());
      s.sendList.pop_front();
    }
    if (text.empty()) continue;
    std::string number;
    {
      std::lock_guard lock(counterMutex_);
      number = counter_.Next();
    }
    const std::string wire = FramePacket(number, text);
    std::size_t written = 0;
    int emptyWaits = 0;
    while (written < wire.size()) {
      pollfd p[2] = {{s.fd, POLLOUT, 0}, {s.wakeRead, POLLIN, 0}};
      const int n = ::poll(p, 2, static_cast<int>(kWriteWaitSlice.count()));
      if (s.stopping.load()) return;
      if (n < 0 && errno == EINTR) continue;
      if (n == 0) {
        if (++emptyWaits > kMaxWriteWaits) break;
        continue;
      }
      if (n < 0) break;
      emptyWaits = 0;
      const ssize_t put = ::send(s.fd, wire.data() + written, wire.size() - written, MSG_NOSIGNAL);
      if (put < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) continue;
        break;  // the rest of this packet is lost; the link stays open
      }
      written += static_cast<std::size_t>(put);
    }
  }
}

void ServerLink::DelivererLoop(const std::shared_ptr<Session>& s) {
  tlsDeliveringSession = s.get();
  for (;;) {
    LinkEvent event;
    {
      std::unique_lock lock(s->eventMutex);
      s->eventCv.wait(lock, [&] { return s->stopping.load() || !s->eventList.empty(); });
      if (s->stopping.load()) break;
      event = std::move(s->eventList.front());
      s->eventList.pop_front();
      s->queuedBytes -= event.bytes.size();
    }
    s->roomCv.notify_one();
    s->callback(event);
    if (!event.hasData) {
      CloseSession(s.get());
      break;
    }
  }
  tlsDeliveringSession = nullptr;
}

}  // namespace qarnis::link
