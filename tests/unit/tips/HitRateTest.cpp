#include <gtest/gtest.h>

#include <vector>

#include "tips/HitRate.h"

namespace qarnis::tips {
namespace {

TEST(HitRate, TextIsPrintedCutAndMarked) {
  struct Case {
    ResultCounts counts;
    const char* text;
  };
  const std::vector<Case> cases = {
      {{.win = 2, .loss = 1}, "66.66%"},
      {{.win = 1, .halfWin = 1, .loss = 1, .halfLoss = 1}, "50%"},
      {{.win = 3}, "100%"},
      {{.win = 1, .loss = 13}, "7.142%"},
      {{.win = 5, .halfWin = 1, .loss = 2, .halfLoss = 1}, "68.75%"},
      {{.loss = 4}, "0%"},
      {{.halfWin = 1, .halfLoss = 2}, "33.33%"},
      // Only pushes, or nothing at all: no decided match, no hits.
      {{.push = 5}, "0%"},
      {{}, "0%"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HitRateText(c.counts), c.text)
        << c.counts.win << " " << c.counts.halfWin << " " << c.counts.loss << " " << c.counts.halfLoss;
  }
}

TEST(HitRate, CountsEachWordOnItsOwnCounter) {
  ResultCounts counts;
  for (ResultWord w : {ResultWord::kWin, ResultWord::kWin, ResultWord::kHalfWin, ResultWord::kPush,
                       ResultWord::kLoss, ResultWord::kHalfLoss, ResultWord::kHalfLoss, ResultWord::kNone}) {
    counts.Add(w);
  }
  EXPECT_EQ(counts.win, 2);
  EXPECT_EQ(counts.halfWin, 1);
  EXPECT_EQ(counts.push, 1);
  EXPECT_EQ(counts.loss, 1);
  EXPECT_EQ(counts.halfLoss, 2);
}

}  // namespace
}  // namespace qarnis::tips
