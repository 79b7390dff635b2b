#include "live/HandicapWords.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>
#include <system_error>

#include "text/GbkText.h"

namespace qarnis::live {
namespace {

// Entry i stands for the line i / 4. Irregular on purpose: this is how the site's readers know the lines.
constexpr std::array<const char*, 41> kGoalCnUtf8 = {
    "平手",      "平/半",       "半球",      "半/一",     "一球",      "一/球半",   "球半",
    "球半/两",   "两球",        "两/两球半", "两球半",    "两球半/三", "三球",      "三/三球半",
    "三球半",    "三球半/四球", "四球",      "四/四球半", "四球半",    "四球半/五", "五球",
    "五/五球半", "五球半",      "五球半/六", "六球",      "六/六球半", "六球半",    "六球半/七",
    "七球",      "七/七球半",   "七球半",    "七球半/八", "八球",      "八/八球半", "八球半",
    "八球半/九", "九球",        "九/九球半", "九球半",    "九球半/十", "十球"};

constexpr int kGoalCn2Entries = 57;

struct Tables {
  std::array<std::string, kGoalCnUtf8.size()> goalCn;
  std::array<std::string, kGoalCn2Entries> goalCn2;
  std::string ball;   // "球"
  std::string given;  // "受"
};

const Tables& GetTables() {
  static const Tables tables = [] {
    Tables t;
    for (std::size_t i = 0; i < kGoalCnUtf8.size(); ++i) t.goalCn[i] = text::Utf8ToGbk(kGoalCnUtf8[i]);
    for (int i = 0; i < kGoalCn2Entries; ++i) {
      const std::string a = std::to_string(i / 4);
      switch (i % 4) {
        case 0:
          t.goalCn2[i] = a;
          break;
        case 1:
          t.goalCn2[i] = a + "/" + a + ".5";
          break;
        case 2:
          t.goalCn2[i] = a + ".5";
          break;
        default:
          t.goalCn2[i] = a + ".5/" + std::to_string(i / 4 + 1);
          break;
      }
    }
    t.ball = text::Utf8ToGbk("球");
    t.given = text::Utf8ToGbk("受");
    return t;
  }();
  return tables;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal number: optional minus, digits, optionally a point and more digits. Nothing else.
std::optional<double> ReadLine(std::string_view input) {
  std::size_t pos = 0;
  if (pos < input.size() && input[pos] == '-') ++pos;
  const std::size_t intStart = pos;
  while (pos < input.size() && IsDigit(input[pos])) ++pos;
  if (pos == intStart) return std::nullopt;
  if (pos < input.size() && input[pos] == '.') {
    const std::size_t fracStart = ++pos;
    while (pos < input.size() && IsDigit(input[pos])) ++pos;
    if (pos == fracStart) return std::nullopt;
  }
  if (pos != input.size()) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(input.data(), input.data() + input.size(), value);
  if (ec != std::errc() || end != input.data() + input.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

// Shortest decimal text without an exponent: 10.50 -> "10.5", 12.0 -> "12".
std::string NumberText(double value) {
  std::array<char, 400> buffer{};
  const auto [end, ec] =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
  if (ec != std::errc()) return {};
  return std::string(buffer.data(), end);
}

// The whole part of 4 * g, cut toward zero; only called within the table bounds.
int QuarterSteps(double g) { return static_cast<int>(std::trunc(4.0 * g)); }

}  // namespace

std::string Goal2GoalCn(std::string_view line) {
  const std::optional<double> g = ReadLine(line);
  if (!g) return {};
  const Tables& t = GetTables();
  if (*g > 10 || *g < -10) return NumberText(*g) + t.ball;
  const int q = QuarterSteps(*g);
  if (*g >= 0) return t.goalCn[static_cast<std::size_t>(q)];
  return t.given + t.goalCn[static_cast<std::size_t>(-q)];
}

std::string Goal2GoalCn2(std::string_view line) {
  const std::optional<double> g = ReadLine(line);
  if (!g || *g == 0) return {};
  const Tables& t = GetTables();
  if (*g > 14) return NumberText(*g) + t.ball;
  // A cut toward zero below zero is negative exactly from -0.25 down.
  if (*g <= -0.25) return {};
  return t.goalCn2[static_cast<std::size_t>(QuarterSteps(*g))];
}

}  // namespace qarnis::live
