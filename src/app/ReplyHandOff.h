#pragma once
// Hands work from the link's deliverer thread to the window thread and waits until it has run there, so
// replies are handled one at a time and in order, and a message box shown by one holds back the next.
// Cancel() releases every waiter at once and drops work not yet started: closing the link or the program
// while a reply's box is open never hangs.
#include <QObject>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

namespace qarnis::app {

class ReplyHandOff {
 public:
  // `context` lives on the window thread; work posted to it is dropped by Qt if it is destroyed first.
  explicit ReplyHandOff(QObject* context);
  ~ReplyHandOff();

  // From any thread but the window's: runs `work` on the window thread and returns when it has finished,
  // or at once when cancelled. False when the work did not run.
  bool Run(std::function<void()> work) const;
  void Cancel();
  // Undoes Cancel for a new connection.
  void Reopen();

 private:
  struct State {
    std::mutex mutex;
    std::condition_variable changed;
    bool cancelled = false;
    unsigned long long generation = 0;
  };
  QObject* context_;
  std::shared_ptr<State> state_;
};

}  // namespace qarnis::app
