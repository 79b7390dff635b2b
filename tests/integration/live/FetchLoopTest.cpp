#include "live/FetchLoop.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <regex>

#include "FeedSite.h"
#include "ToolProcess.h"
#include "live/LiveRows.h"

namespace qarnis::live {
namespace {

using testing::FeedSite;
using Feed = FeedSite::Feed;

// What the window thread would hold: the rows, applied one at a time in the order handed over.
class Applier {
 public:
  std::function<void(LiveMatch&&)> HandOver() {
    return [this](LiveMatch&& match) {
      std::lock_guard lock(mutex_);
      rows_.Apply(match);
      ++handed_;
      changed_.notify_all();
    };
  }
  bool WaitForRows(std::size_t count, int timeoutMs = 60000) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                             [&] { return rows_.Size() >= count; });
  }
  std::size_t Rows() {
    std::lock_guard lock(mutex_);
    return rows_.Size();
  }
  int Handed() {
    std::lock_guard lock(mutex_);
    return handed_;
  }
  LiveRow Row(std::size_t i) {
    std::lock_guard lock(mutex_);
    return rows_.Row(i);
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  LiveRows rows_;
  int handed_ = 0;
};

struct Running {
  LiveFeedThread thread;
  Applier applier;
  void Start(const std::string& host) {
    FetchSettings settings;
    settings.host = host;
    thread.Start([this, settings](LiveFeedThread& t) { RunFetchLoop(t, settings, applier.HandOver()); });
  }
};

TEST(FetchLoopTest, FillsTheRowsFromBothFeedsWithTheRequestSettings) {
  FeedSite site(40);
  Running run;
  run.Start(site.Host());
  ASSERT_TRUE(run.applier.WaitForRows(40));
  const LiveRow row = run.applier.Row(0);
  EXPECT_EQ(row[0], "1");
  EXPECT_EQ(row[9], site.Generator().MatchId(0));
  EXPECT_FALSE(row[1].empty());
  EXPECT_NE(row[6].find('|'), std::string::npos);
  run.thread.Stop();

  const std::vector<httplib::Request> requests = site.Requests();
  ASSERT_GE(requests.size(), 2u);
  const std::regex odds("r=007[1-9][0-9]*000");
  const std::regex match("r=007[1-9][0-9]*00");
  for (std::size_t i = 0; i < 2; ++i) {
    const httplib::Request& r = requests[i];
    EXPECT_EQ(r.path, i == 0 ? "/vbsxml/goalBf3.xml" : "/vbsxml/bfdata.js");
    const std::string query = r.target.substr(r.target.find('?') + 1);
    EXPECT_TRUE(std::regex_match(query, i == 0 ? odds : match)) << r.target;
    EXPECT_EQ(r.get_header_value("User-Agent"),
              "Mozilla/5.0 (Windows NT 5.1; rv:25.0) Gecko/20100101 Firefox/25.0");
    EXPECT_EQ(r.get_header_value("Referer"), "http://" + site.Host() + "/");
    EXPECT_FALSE(r.has_header("Cookie"));
  }
}

TEST(FetchLoopTest, FeedUrlsCarryTheirOwnTime) {
  EXPECT_EQ(OddsFeedUrl("h:1", 1700000000), "http://h:1/vbsxml/goalBf3.xml?r=0071700000000000");
  EXPECT_EQ(MatchFeedUrl("h", 1700000001), "http://h/vbsxml/bfdata.js?r=007170000000100");
}

TEST(FetchLoopTest, APauseWhileARequestIsInFlightHoldsItsRowsUntilTheResume) {
  FeedSite site(25);
  site.Hold(Feed::Match);
  Running run;
  run.Start(site.Host());
  ASSERT_TRUE(site.WaitForArrivals(Feed::Match, 1));
  run.thread.Pause();
  site.Open(Feed::Match);
  // The request completes while paused...
  ASSERT_TRUE(site.WaitForAnswers(Feed::Match, 1));
  // ...but none of its rows is handed over until the resume.
  EXPECT_FALSE(run.applier.WaitForRows(1, 1500));
  EXPECT_EQ(run.applier.Handed(), 0);
  run.thread.Resume();
  EXPECT_TRUE(run.applier.WaitForRows(25));
}

TEST(FetchLoopTest, TwoPausesNeedOnlyOneResume) {
  FeedSite site(10);
  Running run;
  run.thread.Pause();
  run.thread.Pause();
  run.Start(site.Host());
  EXPECT_FALSE(site.WaitForArrivals(Feed::Odds, 1, 1500));  // held before its first request
  run.thread.Resume();
  EXPECT_TRUE(run.applier.WaitForRows(10));
  run.thread.Resume();  // no effect
  EXPECT_TRUE(site.WaitForArrivals(Feed::Odds, 2));
}

TEST(FetchLoopTest, NoNetworkAtStartThenRowsOnceTheSiteIsUp) {
  const int port = qarnis::testing::FreePort();
  Running run;
  run.Start("127.0.0.1:" + std::to_string(port));
  EXPECT_FALSE(run.applier.WaitForRows(1, 1000));
  FeedSite site(15, port);
  ASSERT_EQ(site.Port(), port);
  EXPECT_TRUE(run.applier.WaitForRows(15));
}

// Feeds that yield nothing: a full cycle passes (the next cycle's odds request arrives) and no row exists.
TEST(FetchLoopTest, BrokenFeedsChangeNothing) {
  struct Case {
    const char* name;
    std::function<void(FeedSite&)> breakIt;
  } cases[] = {
      {"match feed fails", [](FeedSite& s) { s.FailWith500(Feed::Match); }},
      {"odds feed fails", [](FeedSite& s) { s.FailWith500(Feed::Odds); }},
      {"garbage", [](FeedSite& s) { s.SendGarbage(); }},
  };
  for (const Case& c : cases) {
    FeedSite site(20);
    c.breakIt(site);
    Running run;
    run.Start(site.Host());
    ASSERT_TRUE(site.WaitForArrivals(Feed::Odds, 2)) << c.name;
    EXPECT_EQ(run.applier.Handed(), 0) << c.name;
  }
}

TEST(FetchLoopTest, StopEndsTheLoopWhileARequestIsHeld) {
  FeedSite site(5);
  site.Hold(Feed::Odds);
  Running run;
  run.Start(site.Host());
  ASSERT_TRUE(site.WaitForArrivals(Feed::Odds, 1));
  run.thread.Stop();  // the 30-s time-out is not waited out: a hang here fails the test by its time limit
  EXPECT_FALSE(run.thread.Running());
}

}  // namespace
}  // namespace qarnis::live
