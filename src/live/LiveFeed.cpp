#include "live/LiveFeed.h"

#include <algorithm>
#include <cstdint>
#include <queue>
#include <unordered_map>

#include "live/HandicapWords.h"
#include "text/GbkText.h"

namespace qarnis::live {
namespace {

constexpr std::size_t kOddsFieldsNeeded = 17;
constexpr std::size_t kMatchFieldsNeeded = 16;
constexpr std::string_view kFullWidthSpace = "\xA1\xA1";

// Fills a match from the split odds item and the joined match row (id + the text after it).
std::optional<LiveMatch> FillMatch(const std::vector<std::string_view>& odds, std::string_view matchRow) {
  const std::vector<std::string_view> row = text::SplitViews(matchRow, "^");
  if (row.size() < kMatchFieldsNeeded) return std::nullopt;
  LiveMatch m;
  m.matchId = odds[0];
  m.league = row[2];
  m.time = row[11];
  m.firstTeam = TeamName(row[5]);
  m.secondTeam = TeamName(row[8]);
  m.firstGoals = row[14];
  m.secondGoals = row[15];
  m.handicapBefore = odds[3];
  m.handicapWords = Goal2GoalCn(odds[2]);
  m.handicapAfter = odds[4];
  m.overUnderBefore = odds[11];
  m.overUnderWords = Goal2GoalCn2(odds[10]);
  m.overUnderAfter = odds[12];
  m.europe1 = odds[6];
  m.europe2 = odds[7];
  m.europe3 = odds[8];
  return m;
}

// Like text::Find, for a `from` already known to start a character: no walk from the start of the text, so
// scanning a body item by item stays linear.
std::size_t FindFromBoundary(std::string_view text, std::string_view needle, std::size_t from) {
  for (std::size_t pos = from; pos + needle.size() <= text.size(); pos += text::CharLength(text, pos))
    if (text.compare(pos, needle.size(), needle) == 0) return pos;
  return std::string_view::npos;
}

std::optional<LiveMatch> JoinAt(const std::vector<std::string_view>& odds, std::string_view rest) {
  std::string row(odds[0]);
  row.append(rest);
  return FillMatch(odds, row);
}

// Looks for many ids in one pass over the body (Aho-Corasick over the ids' bytes).
class IdMatcher {
 public:
  explicit IdMatcher(const std::vector<std::string_view>& ids) {
    nodes_.emplace_back();
    for (std::size_t k = 0; k < ids.size(); ++k) {
      int node = 0;
      for (unsigned char c : ids[k]) {
        int next = Child(node, c);
        if (next < 0) {
          next = static_cast<int>(nodes_.size());
          nodes_[node].children.push_back({c, next});
          nodes_.emplace_back();
          nodes_.back().depth = nodes_[node].depth + 1;
        }
        node = next;
      }
      nodes_[node].id = static_cast<int>(k);
    }
    BuildLinks();
  }

  // For each id, the first position where it occurs starting on a character boundary, or npos.
  std::vector<std::size_t> FirstPositions(std::string_view body, const std::vector<std::uint8_t>& boundary,
                                          std::size_t idCount) const {
    std::vector<std::size_t> first(idCount, std::string_view::npos);
    std::size_t left = idCount;
    int state = 0;
    for (std::size_t i = 0; i < body.size() && left > 0; ++i) {
      state = Step(state, static_cast<unsigned char>(body[i]));
      for (int n = nodes_[state].id >= 0 ? state : nodes_[state].output; n > 0; n = nodes_[n].output) {
        const std::size_t start = i + 1 - static_cast<std::size_t>(nodes_[n].depth);
        const auto k = static_cast<std::size_t>(nodes_[n].id);
        if (boundary[start] && first[k] == std::string_view::npos) {
          first[k] = start;
          --left;
        }
      }
    }
    return first;
  }

 private:
  struct Node {
    std::vector<std::pair<unsigned char, int>> children;
    int fail = 0;
    int output = 0;  // nearest node on the fail chain that ends an id (0: none)
    int id = -1;
    int depth = 0;
  };

  int Child(int node, unsigned char c) const {
    for (const auto& [byte, child] : nodes_[node].children)
      if (byte == c) return child;
    return -1;
  }

  int Step(int state, unsigned char c) const {
    while (true) {
      const int next = Child(state, c);
      if (next >= 0) return next;
      if (state == 0) return 0;
      state = nodes_[state].fail;
    }
  }

  void BuildLinks() {
    std::queue<int> pending;
    for (const auto& [byte, child] : nodes_[0].children) pending.push(child);
    while (!pending.empty()) {
      const int node = pending.front();
      pending.pop();
      for (const auto& [byte, child] : nodes_[node].children) {
        int f = nodes_[node].fail;
        int target = -1;
        while (true) {
          target = Child(f, byte);
          if (target >= 0 || f == 0) break;
          f = nodes_[f].fail;
        }
        nodes_[child].fail = (target >= 0 && target != child) ? target : 0;
        const int fail = nodes_[child].fail;
        nodes_[child].output = nodes_[fail].id >= 0 ? fail : nodes_[fail].output;
        pending.push(child);
      }
    }
  }

  std::vector<Node> nodes_;
};

}  // namespace

std::string TextBetween(std::string_view text, std::string_view left, std::string_view right) {
  const std::size_t start = text::Find(text, left);
  if (start == std::string_view::npos) return {};
  const std::size_t from = start + left.size();
  const std::size_t end = text::Find(text, right, from);
  if (end == std::string_view::npos) return {};
  return std::string(text.substr(from, end - from));
}

std::string TeamName(std::string_view teamText) {
  const std::size_t cut = text::Find(teamText, "<");
  return std::string(cut == std::string_view::npos ? teamText : teamText.substr(0, cut));
}

std::vector<std::string> ExtractOddsItems(std::string_view oddsBody) {
  std::vector<std::string> items;
  // Every position searched from follows an ASCII marker byte, so it starts a character.
  std::size_t open = FindFromBoundary(oddsBody, "<m>", 0);
  while (open != std::string_view::npos) {
    const std::size_t from = open + 3;
    const std::size_t close = FindFromBoundary(oddsBody, "</m>", from);
    if (close == std::string_view::npos) break;
    items.emplace_back(oddsBody.substr(from, close - from));
    // The next item is searched from just after the start of this "</m>".
    open = FindFromBoundary(oddsBody, "<m>", close + 1);
  }
  return items;
}

std::string RemoveSpaces(std::string_view item) {
  std::string out;
  out.reserve(item.size());
  for (std::size_t pos = 0; pos < item.size();) {
    const std::size_t len = text::CharLength(item, pos);
    const std::string_view ch = item.substr(pos, len);
    if (ch != " " && ch != kFullWidthSpace) out.append(ch);
    pos += len;
  }
  return out;
}

std::optional<LiveMatch> BuildLiveMatch(std::string_view oddsItem, std::string_view matchBody) {
  const std::string clean = RemoveSpaces(oddsItem);
  const std::vector<std::string_view> odds = text::SplitViews(clean, ",");
  if (odds.size() < kOddsFieldsNeeded) return std::nullopt;
  return JoinAt(odds, TextBetween(matchBody, odds[0], "\""));
}

std::vector<LiveMatch> BuildLiveMatchesPlain(const std::vector<std::string>& oddsItems,
                                             std::string_view matchBody) {
  std::vector<LiveMatch> matches;
  for (const std::string& item : oddsItems)
    if (auto m = BuildLiveMatch(item, matchBody)) matches.push_back(std::move(*m));
  return matches;
}

std::vector<LiveMatch> BuildLiveMatches(const std::vector<std::string>& oddsItems,
                                        std::string_view matchBody) {
  std::vector<std::string> cleaned;
  std::vector<std::vector<std::string_view>> odds;
  cleaned.reserve(oddsItems.size());
  for (const std::string& item : oddsItems) {
    std::string clean = RemoveSpaces(item);
    if (text::SplitViews(clean, ",").size() >= kOddsFieldsNeeded) cleaned.push_back(std::move(clean));
  }
  odds.reserve(cleaned.size());
  for (const std::string& clean : cleaned) odds.push_back(text::SplitViews(clean, ","));

  // Character starts of the body and the double quotes that begin on one, in one walk.
  std::vector<std::uint8_t> boundary(matchBody.size() + 1, 0);
  std::vector<std::size_t> quotes;
  for (std::size_t pos = 0; pos < matchBody.size(); pos += text::CharLength(matchBody, pos)) {
    boundary[pos] = 1;
    if (matchBody[pos] == '"') quotes.push_back(pos);
  }
  boundary[matchBody.size()] = 1;

  std::vector<std::string_view> ids;
  std::vector<std::size_t> idOfItem(odds.size(), 0);
  {
    std::unordered_map<std::string_view, std::size_t> seen;
    for (std::size_t i = 0; i < odds.size(); ++i) {
      const std::string_view id = odds[i][0];
      if (id.empty()) continue;
      auto [it, added] = seen.emplace(id, ids.size());
      if (added) ids.push_back(id);
      idOfItem[i] = it->second;
    }
  }
  const std::vector<std::size_t> first = IdMatcher(ids).FirstPositions(matchBody, boundary, ids.size());

  std::vector<LiveMatch> matches;
  matches.reserve(odds.size());
  for (std::size_t i = 0; i < odds.size(); ++i) {
    const std::string_view id = odds[i][0];
    // An empty id "occurs" at the very start, as a plain search for it would say.
    const std::size_t at = id.empty() ? 0 : first[idOfItem[i]];
    std::string_view rest;
    if (at != std::string_view::npos) {
      const std::size_t from = at + id.size();
      const auto quote = std::lower_bound(quotes.begin(), quotes.end(), from);
      if (quote != quotes.end()) rest = matchBody.substr(from, *quote - from);
    }
    if (auto m = JoinAt(odds[i], rest)) matches.push_back(std::move(*m));
  }
  return matches;
}

}  // namespace qarnis::live
