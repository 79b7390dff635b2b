// The demo feed server as a process: its feeds and its failure options, over real loopback HTTP.
#include <gtest/gtest.h>

#include "ToolProcess.h"
#include "live/LiveFeed.h"
#include "live/http/HttpRequester.h"

namespace qarnis::live {
namespace {

std::string Fetch(int port, const std::string& path) {
  http::HttpRequest request;
  request.url = "http://127.0.0.1:" + std::to_string(port) + path;
  http::HttpRequester requester;
  requester.SetRequestTimeout(20000);
  return requester.Get(request).body;
}

TEST(DemoFeedServerTest, ServesBothFeedsOrFailsThemOnRequest) {
  struct Case {
    std::vector<std::string> options;
    bool oddsItems;
    bool joins;
    std::string oddsBodyHas;
  } cases[] = {
      {{}, true, true, "<m>"},
      {{"--fail-odds"}, false, false, "500"},
      {{"--fail-odds=close"}, false, false, ""},
      {{"--fail-matches"}, true, false, "<m>"},
      {{"--fail-matches=close"}, true, false, "<m>"},
      {{"--garbage"}, false, false, ""},
      {{"--delay-ms", "200"}, true, true, "<m>"},
  };
  for (const Case& c : cases) {
    const int port = qarnis::testing::FreePort();
    std::vector<std::string> args = {"--port", std::to_string(port), "--matches", "30"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    qarnis::testing::ToolProcess server(qarnis::testing::ToolPath("qarnis_demo_feed_server"), args);
    ASSERT_TRUE(qarnis::testing::WaitForPort(port, 30000));
    const std::string label = c.options.empty() ? "default" : c.options.front();

    const std::string odds = Fetch(port, "/vbsxml/goalBf3.xml?r=0071000");
    const std::string matches = Fetch(port, "/vbsxml/bfdata.js?r=007100");
    const std::vector<std::string> items = ExtractOddsItems(odds);
    EXPECT_EQ(items.size() == 30, c.oddsItems) << label;
    EXPECT_NE(odds.find(c.oddsBodyHas), std::string::npos) << label;
    const std::vector<LiveMatch> joined = BuildLiveMatches(items, matches);
    EXPECT_EQ(joined.size() == 30, c.joins) << label;
    if (label == "--garbage") {
      EXPECT_TRUE(joined.empty());
    }
    EXPECT_EQ(server.Stop(), 0) << label;  // SIGTERM ends it cleanly
  }
}

TEST(DemoFeedServerTest, RejectsUnknownOptions) {
  qarnis::testing::ToolProcess server(qarnis::testing::ToolPath("qarnis_demo_feed_server"), {"--bogus"});
  EXPECT_NE(server.Stop(), 0);
}

}  // namespace
}  // namespace qarnis::live
