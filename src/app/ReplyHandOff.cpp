#include "app/ReplyHandOff.h"

#include <QMetaObject>

namespace qarnis::app {

ReplyHandOff::ReplyHandOff(QObject* context) : context_(context), state_(std::make_shared<State>()) {}

ReplyHandOff::~ReplyHandOff() { Cancel(); }

bool ReplyHandOff::Run(std::function<void()> work) const {
  struct Job {
    bool started = false;
    bool finished = false;
  };
  auto job = std::make_shared<Job>();
  std::shared_ptr<State> state = state_;
  unsigned long long generation;
  {
    std::lock_guard lock(state->mutex);
    if (state->cancelled) return false;
    generation = state->generation;
  }
  QMetaObject::invokeMethod(
      context_,
      [state, job, generation, work = std::move(work)] {
        {
          std::lock_guard lock(state->mutex);
          if (state->cancelled || state->generation != generation) return;
          job->started = true;
        }
        work();
        {
          std::lock_guard lock(state->mutex);
          job->finished = true;
        }
        state->changed.notify_all();
      },
      Qt::QueuedConnection);
  std::unique_lock lock(state->mutex);
  state->changed.wait(lock,
                      [&] { return job->finished || state->cancelled || state->generation != generation; });
  return job->finished;
}

void ReplyHandOff::Cancel() {
  {
    std::lock_guard lock(state_->mutex);
    state_->cancelled = true;
    ++state_->generation;
  }
  state_->changed.notify_all();
}

void ReplyHandOff::Reopen() {
  std::lock_guard lock(state_->mutex);
  state_->cancelled = false;
}

}  // namespace qarnis::app
