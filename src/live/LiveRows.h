#pragma once
// The rows of the live list without any window code: GBK cells, an index from match id to row, and the
// column sort. The Qt model wraps this so the logic is testable and sanitizer-clean on its own.
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "live/LiveMatch.h"

namespace qarnis::live {

class LiveRows {
 public:
  struct Applied {
    std::size_t row;
    bool inserted;
  };

  // Row found by column 9; else appended with the new row count as its number. Columns 1 to 9 rewritten.
  Applied Apply(const LiveMatch& match);

  // Sorts whole rows by `column`: column 0 by its leading number, the others by GBK bytes.
  // Returns, for each new position, the old row index (so a caller can follow a selection).
  std::vector<std::size_t> Sort(std::size_t column, bool descending);

  std::size_t Size() const { return rows_.size(); }
  const LiveRow& Row(std::size_t index) const { return rows_[index]; }
  // Row of a match id, or npos.
  std::size_t Find(const std::string& matchId) const;

  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

 private:
  std::vector<LiveRow> rows_;
  std::unordered_map<std::string, std::size_t> byId_;
};

// The header-click title rule: "↑" becomes "↓" (descending), "↓" becomes "↑" (ascending), no arrow gets
// "↓" appended (ascending). Titles are UTF-8 here; returns the new title and whether to sort descending.
struct TitleFlip {
  std::string title;
  bool descending;
};
TitleFlip FlipTitleArrow(const std::string& utf8Title);

}  // namespace qarnis::live
