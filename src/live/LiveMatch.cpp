#include "live/LiveMatch.h"

namespace qarnis::live {

LiveRow LiveColumns(const LiveMatch& m) {
  LiveRow row;
  row[1] = m.league;
  row[2] = m.time;
  row[3] = m.firstTeam;
  row[4] = m.firstGoals + ":" + m.secondGoals;
  row[5] = m.secondTeam;
  row[6] = m.handicapBefore + "|" + m.handicapWords + "|" + m.handicapAfter;
  row[7] = m.overUnderBefore + "|" + m.overUnderWords + "|" + m.overUnderAfter;
  row[8] = m.europe1 + "|" + m.europe2 + "|" + m.europe3;
  row[9] = m.matchId;
  return row;
}

}  // namespace qarnis::live
