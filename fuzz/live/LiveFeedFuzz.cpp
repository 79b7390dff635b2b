// Arbitrary feed bodies through the parsing and the join: no crash, no sanitizer report, and the one-pass
// join always agrees with the plain one.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "live/HandicapWords.h"
#include "live/LiveFeed.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first half plays the odds body, the rest the match body.
  const std::string_view odds = input.substr(0, size / 2);
  const std::string_view matches = input.substr(size / 2);
  const auto items = qarnis::live::ExtractOddsItems(odds);
  if (qarnis::live::BuildLiveMatches(items, matches) != qarnis::live::BuildLiveMatchesPlain(items, matches))
    std::abort();
  qarnis::live::Goal2GoalCn(odds);
  qarnis::live::Goal2GoalCn2(matches);
  return 0;
}
