#include "live/FetchLoop.h"

#include <malloc.h>

#include <chrono>

#include "live/LiveFeed.h"
#include "live/http/HttpRequester.h"

namespace qarnis::live {
namespace {

constexpr const char* kFeedUserAgent = "Mozilla/5.0 (Windows NT 5.1; rv:25.0) Gecko/20100101 Firefox/25.0";
constexpr int kPauseSteps = 50;
constexpr std::chrono::milliseconds kPauseStep{100};

long long UnixSecondsNow() {
  using namespace std::chrono;
  const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
  return (ms + 500) / 1000;
}

// One feed: a fresh request each time; the text ends at the first zero byte.
std::string FetchFeed(const http::HttpRequester& requester, const LiveFeedThread& thread,
                      const std::string& host, const std::string& url) {
  http::HttpRequest request;
  request.url = url;
  request.userAgent = kFeedUserAgent;
  request.referer = "http://" + host + "/";
  request.abort = &thread.StopFlag();
  std::string body = requester.Get(request).body;
  const std::size_t zero = body.find('\0');
  if (zero != std::string::npos) body.resize(zero);
  return body;
}

}  // namespace

std::string OddsFeedUrl(const std::string& host, long long unixSeconds) {
  return "http://" + host + "/vbsxml/goalBf3.xml?r=007" + std::to_string(unixSeconds) + "000";
}

std::string MatchFeedUrl(const std::string& host, long long unixSeconds) {
  return "http://" + host + "/vbsxml/bfdata.js?r=007" + std::to_string(unixSeconds) + "00";
}

void RunFetchLoop(LiveFeedThread& thread, const FetchSettings& settings,
                  const std::function<void(LiveMatch&&)>& handOver) {
  http::HttpRequester requester;
  requester.SetRequestTimeout(settings.requestTimeoutMs);
  while (!thread.StopRequested()) {
    if (!thread.PausePoint()) return;
    std::vector<std::string> items = ExtractOddsItems(
        FetchFeed(requester, thread, settings.host, OddsFeedUrl(settings.host, UnixSecondsNow())));

    if (!thread.PausePoint()) return;
    const std::string matchBody =
        FetchFeed(requester, thread, settings.host, MatchFeedUrl(settings.host, UnixSecondsNow()));

    for (LiveMatch& match : BuildLiveMatches(items, matchBody)) {
      if (!thread.PausePoint()) return;
      handOver(std::move(match));
    }
    items.clear();

    for (int i = 0; i < kPauseSteps; ++i)
      if (!thread.Wait(kPauseStep)) return;
    malloc_trim(0);
  }
}

}  // namespace qarnis::live
