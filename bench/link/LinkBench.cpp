// Round trip and throughput of the link against the demo server in echo mode, each beside the same
// exchange over a plain loopback TCP socket echoed by a thread.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

#include "ToolProcess.h"
#include "link/ServerLink.h"

namespace {

using qarnis::link::LinkEvent;
using qarnis::link::ServerLink;

class EchoPeer {
 public:
  EchoPeer() {
    setenv("QARNIS_TOOLS_DIR", QARNIS_TOOLS_DIR_DEFAULT, 0);
    port_ = qarnis::testing::FreePort();
    server_ = std::make_unique<qarnis::testing::ToolProcess>(
        qarnis::testing::ToolPath("qarnis_demo_tips_server"),
        std::vector<std::string>{"--port", std::to_string(port_), "--echo", "--exit-with-parent",
                                 "--accounts", "/tmp/qarnis-bench-accounts.txt"});
    qarnis::testing::WaitForPort(port_, 10000);
    link_.Connect(port_, "127.0.0.1", [this](const LinkEvent& e) {
      std::lock_guard lock(m_);
      received_ += e.bytes.size();
      cv_.notify_all();
    });
  }
  // Sends `text` and waits until as many bytes came back.
  void Exchange(const std::string& text) {
    std::unique_lock lock(m_);
    const std::size_t want = received_ + text.size();
    lock.unlock();
    link_.Send(text);
    lock.lock();
    cv_.wait(lock, [&] { return received_ >= want; });
  }
  bool Ok() const { return link_.IsOpen(); }

 private:
  int port_ = 0;
  std::unique_ptr<qarnis::testing::ToolProcess> server_;
  ServerLink link_;
  std::mutex m_;
  std::condition_variable cv_;
  std::size_t received_ = 0;
};

class PlainPeer {
 public:
  PlainPeer() {
    int l = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(l, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(l, reinterpret_cast<sockaddr*>(&a), &len);
    ::listen(l, 1);
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    ::connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    peer_ = ::accept(l, nullptr, nullptr);
    ::close(l);
    const int one = 1;
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    ::setsockopt(peer_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    echo_ = std::thread([this] {
      char buf[65536];
      for (;;) {
        const ssize_t n = ::recv(peer_, buf, sizeof buf, 0);
        if (n <= 0) return;
        for (ssize_t done = 0; done < n;) {
          const ssize_t put = ::send(peer_, buf + done, static_cast<std::size_t>(n - done), MSG_NOSIGNAL);
          if (put <= 0) return;
          done += put;
        }
      }
    });
    reader_ = std::thread([this] {
      char buf[65536];
      for (;;) {
        const ssize_t n = ::recv(fd_, buf, sizeof buf, 0);
        if (n <= 0) return;
        std::lock_guard lock(m_);
        received_ += static_cast<std::size_t>(n);
        cv_.notify_all();
      }
    });
  }
  ~PlainPeer() {
    ::shutdown(fd_, SHUT_RDWR);
    ::shutdown(peer_, SHUT_RDWR);
    echo_.join();
    reader_.join();
    ::close(fd_);
    ::close(peer_);
  }
  void Exchange(const std::string& text) {
    std::unique_lock lock(m_);
    const std::size_t want = received_ + text.size();
    lock.unlock();
    for (std::size_t done = 0; done < text.size();) {
      done += static_cast<std::size_t>(::send(fd_, text.data() + done, text.size() - done, MSG_NOSIGNAL));
    }
    lock.lock();
    cv_.wait(lock, [&] { return received_ >= want; });
  }

 private:
  int fd_ = -1, peer_ = -1;
  std::thread echo_, reader_;
  std::mutex m_;
  std::condition_variable cv_;
  std::size_t received_ = 0;
};

template <typename Peer>
void RoundTrip20(benchmark::State& state) {
  Peer peer;
  const std::string text(20, 't');
  for (auto _ : state) peer.Exchange(text);
}

template <typename Peer>
void Throughput1MiB(benchmark::State& state) {
  Peer peer;
  const std::string text(1024 * 1024, 'm');
  for (auto _ : state) peer.Exchange(text);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(text.size()));
}

BENCHMARK_TEMPLATE(RoundTrip20, EchoPeer)
    ->Name("RoundTrip20/link_demo_server")
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(RoundTrip20, PlainPeer)
    ->Name("RoundTrip20/plain_socket")
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(Throughput1MiB, EchoPeer)
    ->Name("Throughput1MiB/link_demo_server")
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(Throughput1MiB, PlainPeer)
    ->Name("Throughput1MiB/plain_socket")
    ->UseRealTime()
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
