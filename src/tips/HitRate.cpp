#include "tips/HitRate.h"

#include <cstdio>

namespace qarnis::tips {

void ResultCounts::Add(ResultWord word) {
  switch (word) {
    case ResultWord::kWin:
      ++win;
      break;
    case ResultWord::kHalfWin:
      ++halfWin;
      break;
    case ResultWord::kPush:
      ++push;
      break;
    case ResultWord::kLoss:
      ++loss;
      break;
    case ResultWord::kHalfLoss:
      ++halfLoss;
      break;
    case ResultWord::kNone:
      break;
  }
}

std::string HitRateText(const ResultCounts& counts) {
  const double won = static_cast<double>(counts.win) + 0.5 * static_cast<double>(counts.halfWin);
  const double lost = static_cast<double>(counts.loss) + 0.5 * static_cast<double>(counts.halfLoss);
  const double total = won + lost;
  // Only pushes (or nothing) decided: 0 over 0 would print "nan"; such a record has no hits.
  if (total == 0.0) return "0%";
  const double rate = won / total * 100.0;
  char buffer[64];
  const int n = std::snprintf(buffer, sizeof buffer, "%.13g", rate);
  std::string text(buffer, n > 0 ? static_cast<std::size_t>(n < 5 ? n : 5) : 0);
  text += '%';
  return text;
}

}  // namespace qarnis::tips
