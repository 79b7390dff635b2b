#pragma once
// Realistic tips payloads for the demo server, as GBK texts in the line formats the client reads.
#include <string>

namespace qarnis::demo {

std::string RecommendationLines(int round);  // TipRecord lines, each ending in CR LF
std::string RecentHistoryLines();            // HistoryRecord lines, newest first
std::string FullHistoryLines();              // the whole history of the special account
std::string NewHistoryLine(int round);       // one HistoryRecord line with its CR LF
std::string NoticeLines();                   // NoticeRecord lines at login
std::string NewNoticeLine(int round);        // one NoticeRecord line
std::string ServerNoticeText(int round);

}  // namespace qarnis::demo
