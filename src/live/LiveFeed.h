#pragma once
// Parsing of the two live feeds: the odds items of the odds feed, and the join of each item with its row
// in the match feed into a LiveMatch. All texts are GBK; searches never cut a two-byte character.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "live/LiveMatch.h"

namespace qarnis::live {

// The text between the first `left` and the next `right` after it; empty when either is missing.
std::string TextBetween(std::string_view text, std::string_view left, std::string_view right);

// The team text up to its first "<" (mark-up after a name is dropped).
std::string TeamName(std::string_view teamText);

// Every text between "<m>" and the next "</m>", in body order; an unterminated "<m>" ends the list.
std::vector<std::string> ExtractOddsItems(std::string_view oddsBody);

// The odds item with every ASCII and full-width space removed.
std::string RemoveSpaces(std::string_view item);

// Joins one odds item with the match body by searching the whole body for the id (the plain way).
std::optional<LiveMatch> BuildLiveMatch(std::string_view oddsItem, std::string_view matchBody);

// Joins every item with the match body in one pass over the body (all ids are looked for at once), in item
// order, skipping items that yield nothing. Gives exactly what BuildLiveMatch gives item by item.
std::vector<LiveMatch> BuildLiveMatches(const std::vector<std::string>& oddsItems,
                                        std::string_view matchBody);

// The same through BuildLiveMatch per item: the whole body searched once per item (kept as the baseline).
std::vector<LiveMatch> BuildLiveMatchesPlain(const std::vector<std::string>& oddsItems,
                                             std::string_view matchBody);

}  // namespace qarnis::live
