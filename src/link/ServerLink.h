#pragma once
// The one TCP connection to the tips server: framing, a sender thread, a receiver thread and a deliverer
// thread that hands each received text to the callback, one at a time and in the order received.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "link/Reassembler.h"

namespace qarnis::link {

struct LinkEvent {
  bool hasData = false;  // false for the closing event
  std::string bytes;
};

class ServerLink {
 public:
  // Runs on the deliverer thread, never twice at the same time. The event lives only during the call.
  using Callback = std::function<void(const LinkEvent&)>;

  ServerLink();
  ~ServerLink();  // closes the connection if open
  ServerLink(const ServerLink&) = delete;
  ServerLink& operator=(const ServerLink&) = delete;

  // False at once for a port outside 0..65535, an open link or an empty callback. A dotted quad is used as it
  // is, any other host is looked up by name (first IPv4 address). Gives up after the connect time-out, with
  // the same false as a refused connection. Blocks the caller for at most the look-up plus that time-out.
  bool Connect(int port, const std::string& host, Callback callback);

  // Queues a copy of the text; false when the link is closed. True does not mean the text reached the server.
  // An empty text gives true and sends nothing (and uses no message number).
  bool Send(std::string_view text);

  // The event's text cut at its first zero byte. False, with `out` unchanged, when the link is closed, the
  // event is null, or it is the closing event.
  bool Read(const LinkEvent* event, std::string& out) const;

  // Closes the connection; nothing happens when it is already closed. Safe from any thread, the deliverer's
  // callback included. Called from another thread, it waits for a callback that is running to return: a
  // caller whose callback may be blocked waiting on that caller (a hand-off to the window thread, say) must
  // first release the callback, or Close waits for ever.
  void Close();

  bool IsOpen() const { return open_.load(std::memory_order_acquire); }

  // Test seams.
  void SetReceiveWaitSlice(std::chrono::milliseconds slice) { receiveSlice_ = slice; }
  void SetConnectTimeout(std::chrono::milliseconds timeout) { connectTimeout_ = timeout; }
  static constexpr std::chrono::milliseconds kDefaultConnectTimeout{10000};
  static constexpr std::chrono::milliseconds kDefaultReceiveWaitSlice{1000};

 private:
  struct Session;
  void ReceiverLoop(Session& s);
  void SenderLoop(Session& s);
  void DelivererLoop(const std::shared_ptr<Session>& s);
  void CloseSession(const Session* only);  // only that session, or whichever is open when null
  void JoinRetired();
  void WaitForCloses();

  mutable std::mutex lifeMutex_;  // guards session_, retired_, connecting_
  std::shared_ptr<Session> session_;
  std::vector<std::shared_ptr<Session>> retired_;  // closed from their own deliverer, not yet joined
  bool connecting_ = false;
  int closesRunning_ = 0;  // closes that took a session and have not finished stopping it
  std::condition_variable closesDone_;
  std::atomic<bool> open_{false};

  std::mutex counterMutex_;  // an old sender may still be finishing while a new connection starts
  MessageCounter counter_;

  std::chrono::milliseconds receiveSlice_ = kDefaultReceiveWaitSlice;
  std::chrono::milliseconds connectTimeout_ = kDefaultConnectTimeout;
};

}  // namespace qarnis::link
