#pragma once
// Counting of history results and the hit-rate text of the full history view.
#include <string>

#include "tips/TipRecords.h"

namespace qarnis::tips {

struct ResultCounts {
  long long win = 0;
  long long halfWin = 0;
  long long push = 0;
  long long loss = 0;
  long long halfLoss = 0;

  void Add(ResultWord word);
};

// R = (W + HW/2) / (W + HW/2 + L + HL/2) * 100 in double precision, printed "%.13g", cut to 5 characters,
// then "%". Pushes count neither way; with nothing on either side the text is "0%".
std::string HitRateText(const ResultCounts& counts);

}  // namespace qarnis::tips
