#pragma once
// Handicap lines of the odds feed as the texts the live list shows. Inputs and results are GBK.
#include <string>
#include <string_view>

namespace qarnis::live {

// An Asian handicap line in Chinese handicap words ("半/一", "受平/半", "10.25球"); empty for bad input.
std::string Goal2GoalCn(std::string_view line);

// An over/under line as a number or a split line ("2.5/3"); empty for bad input, 0 and lines below zero.
std::string Goal2GoalCn2(std::string_view line);

}  // namespace qarnis::live
