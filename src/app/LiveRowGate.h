#pragma once
// Hands the fetch loop's rows to the live list on the window thread, one at a time, and holds them while
// the live feed is paused: a tips view rebuilt with the window's events running (the one-second settle of the
// history) must not see the live list change under it. Held rows are applied, in order, at the resume.
#include <QObject>
#include <QPointer>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>

#include "live/LiveMatch.h"

namespace qarnis::live {
class LiveFeedThread;
class LiveListModel;
}  // namespace qarnis::live

namespace qarnis::app {

class LiveRowGate : public std::enable_shared_from_this<LiveRowGate> {
 public:
  LiveRowGate(live::LiveListModel* model, const live::LiveFeedThread& thread);

  // Loop thread: returns once the row was applied or held, or when the thread is asked to stop.
  void HandOver(live::LiveMatch&& match);
  // Window thread: applies the held rows in the order they came.
  void ApplyHeld();
  std::size_t HeldCount() const { return held_.size(); }

 private:
  struct Handed {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
  };
  void Receive(live::LiveMatch match, const std::shared_ptr<Handed>& handed);
  static void Finish(const std::shared_ptr<Handed>& handed);

  QPointer<live::LiveListModel> model_;
  const live::LiveFeedThread& thread_;
  std::deque<live::LiveMatch> held_;  // window thread only
};

}  // namespace qarnis::app
