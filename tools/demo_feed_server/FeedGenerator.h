#pragma once
// Realistic, changing live-score feeds for the demo and the tests: an odds body of "<m>...</m>" items and a
// match body of double-quoted "^"-joined rows, both GBK. Everything follows from the seed and the clock, so
// two readings at the same second agree and later readings show moved scores, odds and lines.
#include <cstdint>
#include <string>
#include <vector>

namespace qarnis::demo {

struct FeedNames {
  std::vector<std::string> leagues;  // GBK
  std::vector<std::string> teams;    // GBK
};

// Lines "L<tab>league" and "T<tab>team" in UTF-8; '#' starts a comment. Missing or empty: built-in names.
FeedNames LoadFeedNames(const std::string& path);
FeedNames BuiltInFeedNames();

class FeedGenerator {
 public:
  FeedGenerator(FeedNames names, int matchCount, long long startSeconds, std::uint32_t seed = 2015);

  std::string OddsBody(long long nowSeconds) const;
  std::string MatchBody(long long nowSeconds) const;
  // Random bytes with stray markers, zero bytes and broken GBK, for the garbage mode.
  static std::string Garbage(std::uint32_t seed, std::size_t size);

  std::string MatchId(int index) const;
  int MatchCount() const { return matchCount_; }

 private:
  std::uint32_t Hash(std::uint32_t a, std::uint32_t b = 0, std::uint32_t c = 0) const;
  // Minutes since kick-off (negative before it).
  long long Elapsed(int index, long long nowSeconds) const;
  int Goals(int index, int side, long long elapsed) const;

  FeedNames names_;
  int matchCount_;
  long long start_;
  std::uint32_t seed_;
};

}  // namespace qarnis::demo
