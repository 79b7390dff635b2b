#include "DemoData.h"

#include <array>
#include <cstdio>
#include <string_view>

#include "text/GbkText.h"

namespace qarnis::demo {
namespace {

struct Match {
  const char* league;
  const char* time;
  const char* home;
  const char* away;
  const char* asian;     // "water|line|water"
  const char* european;  // "home|draw|away"
  const char* reasons;
};

constexpr std::array<Match, 8> kMatches = {{
    {"英超", "05-12 19:30", "曼城", "阿森纳", "0.92|半球|0.96", "1.78|3.70|4.30",
     "主队近十场主场不败，客队核心前锋伤缺，看好主队赢盘。"},
    {"西甲", "05-12 22:15", "皇家马德里", "塞维利亚", "0.88|一球|1.00", "1.45|4.60|6.50",
     "主队联赛冲冠关键战，客队客场防守乏力，主队大胜可期。"},
    {"德甲", "05-12 21:30", "多特蒙德", "勒沃库森", "1.02|平手/半球|0.86", "2.20|3.50|3.00",
     "两队攻强守弱，进球数有保证，主队主场气势更盛。"},
    {"意甲", "05-13 02:45", "国际米兰", "罗马", "0.95|半球/一球|0.93", "1.65|3.80|5.10",
     "主队中场控制力强，客队连续客战体能下滑，看好主队。"},
    {"法甲", "05-13 03:00", "巴黎圣日耳曼", "里昂", "0.90|一球/球半|0.98", "1.38|5.00|7.20",
     "主队锋线火力全开，客队后防线多人停赛。"},
    {"中超", "05-12 19:35", "上海海港", "山东泰山", "0.97|平手/半球|0.91", "2.05|3.30|3.45",
     "强强对话，主队主场拿分欲望强烈，谨慎看好主队不败。"},
    {"日职联", "05-12 13:00", "横滨水手", "川崎前锋", "0.85|平手|1.03", "2.50|3.40|2.60",
     "两队近期状态相当，客队客场成绩更佳，看好客队受让。"},
    {"荷甲", "05-12 20:30", "阿贾克斯", "费耶诺德", "1.00|受平手/半球|0.88", "2.70|3.60|2.35",
     "国家德比，客队本赛季整体实力占优。"},
}};

constexpr std::array<const char*, 5> kResults = {"赢", "赢半", "走", "输", "输半"};
constexpr std::array<const char*, 5> kScores = {"2-0", "1-0", "1-1", "0-2", "1-2"};

std::string Gbk(const std::string& utf8) { return text::Utf8ToGbk(utf8); }

// Fields 0 to 12, then (for a history record) field 13, then the marker and the reasons.
std::string Line(const Match& m, const char* score, const char* result, int pushMinute) {
  char pushTime[32];
  std::snprintf(pushTime, sizeof pushTime, "2024-05-12 %02d:%02d", 8 + pushMinute / 60 % 12, pushMinute % 60);
  const std::string_view asian = m.asian;
  const std::string_view european = m.european;
  const std::string asianPick(asian.substr(asian.find('|') + 1, asian.rfind('|') - asian.find('|') - 1));
  std::string line;
  line += std::string(m.league) + "，" + m.time + "，" + m.home + "，" + score + "，" + m.away + "，";
  line += std::string(m.asian) + "，" + m.european + "，";
  line += asianPick + "，" + (european.substr(0, 1) < "2" ? "主胜" : "平局") + "，";
  line += std::string(pushTime) + "，11，21，" + (result != nullptr ? "完场" : "未开赛") + "，";
  if (result != nullptr) line += std::string(result) + "，";
  line += std::string("\\\\Qarnis//") + m.reasons;
  return Gbk(line) + "\r\n";
}

std::string HistoryLine(int n) {
  const Match& m = kMatches[static_cast<std::size_t>(n) % kMatches.size()];
  return Line(m, kScores[static_cast<std::size_t>(n) % kScores.size()],
              kResults[static_cast<std::size_t>(n * 3 + 1) % kResults.size()], n * 7);
}

}  // namespace

std::string RecommendationLines(int round) {
  std::string out;
  for (std::size_t i = 0; i < 5; ++i) {
    out += Line(kMatches[(i + static_cast<std::size_t>(round)) % kMatches.size()], "", nullptr,
                static_cast<int>(i) * 5 + round);
  }
  return out;
}

std::string RecentHistoryLines() {
  std::string out;
  for (int n = 0; n < 12; ++n) out += HistoryLine(n);
  return out;
}

std::string FullHistoryLines() {
  std::string out;
  for (int n = 0; n < 80; ++n) out += HistoryLine(n);
  return out;
}

std::string NewHistoryLine(int round) { return HistoryLine(100 + round); }

std::string NoticeLines() {
  return Gbk(
      "五月会员续费享八折优惠，详情请咨询客服。|||||1|||||2024-05-12 09:00\r\n"
      "本周末英超、西甲焦点战推介将于赛前两小时发布。|||||0|||||2024-05-11 18:30\r\n"
      "系统将于周三凌晨二点至四点进行维护升级。|||||0|||||2024-05-10 12:00\r\n");
}

std::string NewNoticeLine(int round) {
  char when[32];
  std::snprintf(when, sizeof when, "2024-05-12 %02d:%02d", 10 + round / 60 % 12, round % 60);
  return Gbk("今日新增焦点赛事推介，请留意最新推介列表。|||||1|||||" + std::string(when));
}

std::string ServerNoticeText(int round) {
  return Gbk(round % 2 == 0 ? "尊敬的会员：今晚有重要赛事推介，请保持客户端在线。"
                            : "温馨提示：理性投注，量力而行。");
}

}  // namespace qarnis::demo
