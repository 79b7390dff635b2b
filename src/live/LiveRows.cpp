#include "live/LiveRows.h"

#include <algorithm>
#include <numeric>

namespace qarnis::live {
namespace {

// The leading number of a cell (row numbers are plain decimals); a cell without digits counts as 0.
unsigned long long LeadingNumber(const std::string& cell) {
  unsigned long long value = 0;
  constexpr unsigned long long kCap = 1'000'000'000'000'000'000ULL;
  for (char c : cell) {
    if (c < '0' || c > '9') break;
    value = value >= kCap ? kCap : value * 10 + static_cast<unsigned>(c - '0');
  }
  return value;
}

// UTF-8 bytes are replaced as bytes: the GBK-aware helpers would pair UTF-8 bytes wrongly.
std::string ReplaceBytes(std::string text, const std::string& from, const std::string& to) {
  for (std::size_t pos = text.find(from); pos != std::string::npos; pos = text.find(from, pos + to.size()))
    text.replace(pos, from.size(), to);
  return text;
}

}  // namespace

LiveRows::Applied LiveRows::Apply(const LiveMatch& match) {
  LiveRow cells = LiveColumns(match);
  auto found = byId_.find(match.matchId);
  std::size_t index;
  bool inserted = false;
  if (found == byId_.end()) {
    index = rows_.size();
    rows_.emplace_back();
    rows_.back()[kLiveNumberColumn] = std::to_string(rows_.size());
    byId_.emplace(match.matchId, index);
    inserted = true;
  } else {
    index = found->second;
  }
  LiveRow& row = rows_[index];
  for (std::size_t c = 1; c < kLiveColumnCount; ++c) row[c] = std::move(cells[c]);
  return {index, inserted};
}

std::size_t LiveRows::Find(const std::string& matchId) const {
  auto found = byId_.find(matchId);
  return found == byId_.end() ? npos : found->second;
}

std::vector<std::size_t> LiveRows::Sort(std::size_t column, bool descending) {
  std::vector<std::size_t> order(rows_.size());
  std::iota(order.begin(), order.end(), 0);
  if (column >= kLiveColumnCount) return order;
  if (column == kLiveNumberColumn) {
    std::vector<unsigned long long> keys(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) keys[i] = LeadingNumber(rows_[i][column]);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  } else {
    // std::string compares as unsigned bytes, which is GBK code order.
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return rows_[a][column] < rows_[b][column]; });
  }
  if (descending) std::reverse(order.begin(), order.end());

  std::vector<LiveRow> sorted;
  sorted.reserve(rows_.size());
  for (std::size_t old : order) sorted.push_back(std::move(rows_[old]));
  rows_ = std::move(sorted);
  for (std::size_t i = 0; i < rows_.size(); ++i) byId_[rows_[i][kLiveIdColumn]] = i;
  return order;
}

TitleFlip FlipTitleArrow(const std::string& utf8Title) {
  static const std::string up = "↑";
  static const std::string down = "↓";
  if (utf8Title.find(up) != std::string::npos) return {ReplaceBytes(utf8Title, up, down), true};
  if (utf8Title.find(down) != std::string::npos) return {ReplaceBytes(utf8Title, down, up), false};
  return {utf8Title + down, false};
}

}  // namespace qarnis::live
