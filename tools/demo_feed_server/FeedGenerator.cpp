#include "FeedGenerator.h"

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "text/GbkText.h"

namespace qarnis::demo {
namespace {

std::string Fixed2(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  return buffer;
}

// A handicap or over/under line as the site writes it: "0.25", "-1", "2.5".
std::string QuarterLine(int quarters) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", quarters / 4.0);
  return buffer;
}

const char* const kColours[] = {"#D09C31", "#cc9900", "#778800", "#0d0dfb", "#0066FF", "#FF3333", "#996600"};

}  // namespace

FeedNames BuiltInFeedNames() {
  FeedNames names;
  for (const char* league : {"英超", "西甲", "意甲", "德甲", "法甲", "中超", "日职联", "亚协杯"})
    names.leagues.push_back(text::Utf8ToGbk(league));
  for (const char* team :
       {"北京国安", "上海上港", "广州恒大", "山东鲁能", "阿森纳", "切尔西", "利物浦", "曼城", "皇家马德里",
        "巴塞罗那", "尤文图斯", "国际米兰", "拜仁慕尼黑", "多特蒙德"})
    names.teams.push_back(text::Utf8ToGbk(team));
  return names;
}

FeedNames LoadFeedNames(const std::string& path) {
  FeedNames names;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 3 || line[1] != '\t') continue;
    const std::string name = text::Utf8ToGbk(line.substr(2));
    if (line[0] == 'L') names.leagues.push_back(name);
    if (line[0] == 'T') names.teams.push_back(name);
  }
  if (names.leagues.empty() || names.teams.size() < 2) return BuiltInFeedNames();
  return names;
}

FeedGenerator::FeedGenerator(FeedNames names, int matchCount, long long startSeconds, std::uint32_t seed)
    : names_(std::move(names)), matchCount_(std::max(0, matchCount)), start_(startSeconds), seed_(seed) {
  if (names_.leagues.empty() || names_.teams.size() < 2) names_ = BuiltInFeedNames();
}

std::uint32_t FeedGenerator::Hash(std::uint32_t a, std::uint32_t b, std::uint32_t c) const {
  std::uint32_t h = seed_ * 0x9E3779B1u;
  for (std::uint32_t v : {a, b, c}) {
    h ^= v + 0x7F4A7C15u + (h << 6) + (h >> 2);
    h *= 0x85EBCA6Bu;
    h ^= h >> 13;
  }
  return h;
}

std::string FeedGenerator::MatchId(int index) const {
  // Seven digits and distinct for any realistic count, like the site's ids.
  return std::to_string(1100000 + 13LL * index + seed_ % 13);
}

long long FeedGenerator::Elapsed(int index, long long nowSeconds) const {
  // Kick-offs spread over three hours around the server's start; some matches are already under way.
  const long long kickOff = start_ - 60 * 60 + static_cast<long long>(index % 36) * 5 * 60;
  return (nowSeconds - kickOff) / 60;
}

int FeedGenerator::Goals(int index, int side, long long elapsed) const {
  int goals = 0;
  const long long played = std::min<long long>(elapsed, 95);
  for (std::uint32_t k = 0; k < 6; ++k) {
    const std::uint32_t h =
        Hash(static_cast<std::uint32_t>(index), 100 + static_cast<std::uint32_t>(side), k);
    if (h % 3 == 0) continue;  // most chances never become goals
    if (static_cast<long long>(h % 96) <= played) ++goals;
  }
  return goals;
}

std::string FeedGenerator::OddsBody(long long nowSeconds) const {
  std::string body = "<?xml version=\"1.0\" encoding=\"gb2312\"?><c>";
  const auto bucket = static_cast<std::uint32_t>(nowSeconds / 15);
  for (int i = 0; i < matchCount_; ++i) {
    const auto u = static_cast<std::uint32_t>(i);
    const int baseLine = static_cast<int>(Hash(u, 2) % 13) - 4;  // -1 to +2 goals in quarters
    const int drift = static_cast<int>(Hash(u, 3, bucket) % 3) - 1;
    const int ouLine = 8 + static_cast<int>(Hash(u, 4) % 9) + static_cast<int>(Hash(u, 5, bucket) % 2);
    auto price = [&](std::uint32_t salt) { return Fixed2(0.75 + (Hash(u, salt, bucket) % 40) / 100.0); };
    auto europe = [&](std::uint32_t salt) {
      return Fixed2(1.30 + (Hash(u, salt, bucket / 2) % 500) / 100.0);
    };
    const std::string fields[] = {MatchId(i),
                                  std::to_string(Hash(u, 6) % 9 + 1),
                                  QuarterLine(baseLine + drift),
                                  price(7),
                                  price(8),
                                  "False",
                                  europe(9),
                                  europe(10),
                                  europe(11),
                                  "0",
                                  QuarterLine(ouLine),
                                  price(12),
                                  price(13),
                                  "0",
                                  "False",
                                  "0",
                                  std::to_string(Hash(u, 14) % 2)};
    body += "<m>";
    for (std::size_t f = 0; f < std::size(fields); ++f) {
      if (f != 0) body += ',';
      body += fields[f];
    }
    body += "</m>";
  }
  body += "</c>";
  return body;
}

std::string FeedGenerator::MatchBody(long long nowSeconds) const {
  std::string body = "var A=Array(" + std::to_string(matchCount_ + 1) +
                     ");\r\nvar matchcount=" + std::to_string(matchCount_) + ";\r\n";
  const std::string neutral = text::Utf8ToGbk("<font color=#880000>(中)</font>");
  const std::size_t teams = names_.teams.size();
  for (int i = 0; i < matchCount_; ++i) {
    const auto u = static_cast<std::uint32_t>(i);
    const std::string& league = names_.leagues[Hash(u, 20) % names_.leagues.size()];
    const std::size_t home = Hash(u, 21) % teams;
    const std::size_t away = (home + 1 + Hash(u, 22) % (teams - 1)) % teams;
    std::string first = names_.teams[home];
    if (Hash(u, 23) % 10 == 0) first += neutral;
    const long long elapsed = Elapsed(i, nowSeconds);
    const long long kickOffMinute = ((start_ / 60 - 60 + (i % 36) * 5) % (24 * 60) + 24 * 60) % (24 * 60);
    char time[8];
    std::snprintf(time, sizeof time, "%02lld:%02lld", kickOffMinute / 60, kickOffMinute % 60);
    const bool started = elapsed >= 0;
    const std::string state = !started        ? "0"
                              : elapsed < 45  ? "1"
                              : elapsed < 60  ? "2"
                              : elapsed < 110 ? "3"
                                              : "-1";
    const std::string g1 = started ? std::to_string(Goals(i, 0, elapsed)) : "";
    const std::string g2 = started ? std::to_string(Goals(i, 1, elapsed)) : "";
    const std::string fields[] = {
        MatchId(i),
        kColours[Hash(u, 24) % std::size(kColours)],
        league,
        league,
        "LEAGUE",
        first,
        names_.teams[home],
        "Home",
        names_.teams[away],
        names_.teams[away],
        "Away",
        time,
        "2015,3,29,00,07,35",
        state,
        g1,
        g2,
        started ? std::to_string(Goals(i, 0, std::min<long long>(elapsed, 45))) : "",
        started ? std::to_string(Goals(i, 1, std::min<long long>(elapsed, 45))) : "",
        "0",
        "0",
        std::to_string(Hash(u, 25) % 3),
        std::to_string(Hash(u, 26) % 3),
        std::to_string(Hash(u, 27) % 20 + 1),
        std::to_string(Hash(u, 28) % 20 + 1),
        "0",
        "0",
        "",
        "",
        "True",
        QuarterLine(static_cast<int>(Hash(u, 2) % 13) - 4),
        "",
        "/cn/league.aspx?sclassid=" + std::to_string(Hash(u, 20) % 500),
        "",
        "",
        "",
        "",
        "4-28",
        std::to_string(Hash(u, 29) % 30000),
        std::to_string(Hash(u, 30) % 30000),
        "",
        "2015"};
    body += "A[" + std::to_string(i + 1) + "]=\"";
    for (std::size_t f = 0; f < std::size(fields); ++f) {
      if (f != 0) body += '^';
      body += fields[f];
    }
    body += "\".split('^');\r\n";
  }
  return body;
}

std::string FeedGenerator::Garbage(std::uint32_t seed, std::size_t size) {
  std::string out;
  out.reserve(size);
  std::uint32_t x = seed * 2654435761u + 1;
  const char* const pieces[] = {"<m>", "</m>", "\"", "^", ",", "\0", "\xA1\xA1", "\xB1"};
  while (out.size() < size) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    if (x % 5 == 0) {
      const char* piece = pieces[(x >> 8) % std::size(pieces)];
      out.append(piece, std::max<std::size_t>(1, std::char_traits<char>::length(piece)));
    } else {
      out.push_back(static_cast<char>(x >> 16));
    }
  }
  out.resize(size);
  return out;
}

}  // namespace qarnis::demo
