#pragma once
// One match as the two live feeds describe it in one cycle, and the ten cells of its row in the live list.
// Every text is GBK, as it came from the feeds.
#include <array>
#include <cstddef>
#include <string>

namespace qarnis::live {

inline constexpr std::size_t kLiveColumnCount = 10;
// Column 9 holds the match id, the key of a row; column 0 the row's number, given once at insertion.
inline constexpr std::size_t kLiveIdColumn = 9;
inline constexpr std::size_t kLiveNumberColumn = 0;

using LiveRow = std::array<std::string, kLiveColumnCount>;

struct LiveMatch {
  std::string matchId;
  std::string league;
  std::string time;
  std::string firstTeam;
  std::string secondTeam;
  std::string firstGoals;
  std::string secondGoals;
  std::string handicapBefore;
  std::string handicapWords;
  std::string handicapAfter;
  std::string overUnderBefore;
  std::string overUnderWords;
  std::string overUnderAfter;
  std::string europe1;
  std::string europe2;
  std::string europe3;

  bool operator==(const LiveMatch&) const = default;
};

// The cells of columns 1 to 9 for this match; column 0 is left empty (the list numbers its rows).
LiveRow LiveColumns(const LiveMatch& match);

}  // namespace qarnis::live
