#pragma once
// The live-score fetch loop: both feeds, the join, and each built row handed over, cycle after cycle.
#include <functional>
#include <string>

#include "live/LiveFeedThread.h"
#include "live/LiveMatch.h"

namespace qarnis::live {

struct FetchSettings {
  std::string host;              // host or host:port of the live-score site
  int requestTimeoutMs = 30000;  // each of resolve, connect, send and receive
};

// "http://" + host + path + "?r=007" + the Unix time + suffix.
std::string OddsFeedUrl(const std::string& host, long long unixSeconds);
std::string MatchFeedUrl(const std::string& host, long long unixSeconds);

// Runs until thread.StopRequested(). handOver is called on the loop thread with each built row, in the
// order built, right after a pause point; it may block until the window thread applied the row.
void RunFetchLoop(LiveFeedThread& thread, const FetchSettings& settings,
                  const std::function<void(LiveMatch&&)>& handOver);

}  // namespace qarnis::live
