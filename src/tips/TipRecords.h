#pragma once
// The three kinds of record line the tips server pushes and the client stores: one text line each, GBK bytes
// as received. A line that is short or empty fills what it has and leaves the other fields empty.
#include <array>
#include <string>
#include <string_view>

namespace qarnis::tips {

// Two backslashes, "Qarnis", two slashes: the reasons are the text between the first marker and the next
// marker or the end of the line.
inline constexpr std::string_view kRecordMarker = "\\\\Qarnis//";
// The full-width comma "，" (GBK A3 AC) between the fields of a tip or history line.
inline constexpr std::string_view kFieldComma = "\xA3\xAC";
// The separator of the three notice pieces.
inline constexpr std::string_view kNoticeSep = "|||||";
inline constexpr std::string_view kLineBreak = "\r\n";

// Field numbers of a tip / history line.
enum TipField : int {
  kCompetition = 0,
  kMatchTime = 1,
  kHomeTeam = 2,
  kScore = 3,
  kAwayTeam = 4,
  kAsianLine = 5,
  kEuropeanLine = 6,
  kAsianOffer = 7,
  kEuropeanOffer = 8,
  kPushTime = 9,
  kAsianPick = 10,
  kEuropeanPick = 11,
  kState = 12,
  kResult = 13,
};

struct TipRecord {
  std::array<std::string, 13> fields;  // comma pieces 0 to 12
  std::string reasons;                 // piece 1 of the marker split
};

enum class ResultWord { kNone, kWin, kHalfWin, kPush, kLoss, kHalfLoss };

struct HistoryRecord {
  std::array<std::string, 14> fields;  // comma pieces 0 to 13; 13 is the result as text
  std::string reasons;
  ResultWord result = ResultWord::kNone;
};

struct NoticeRecord {
  std::string text;  // piece 0
  std::string led;   // piece 1, carried only
  std::string time;  // piece 2
};

TipRecord ParseTipRecord(std::string_view line);
HistoryRecord ParseHistoryRecord(std::string_view line);
NoticeRecord ParseNoticeRecord(std::string_view line);

// The reasons of a tip or history line: between the first marker and the next one (or the end).
std::string_view ReasonsOf(std::string_view line);

// Byte-for-byte comparison with the five words; anything else (a trailing blank included) is kNone.
ResultWord ClassifyResult(std::string_view field13);
// The GBK text of a result word; empty for kNone.
std::string_view ResultWordText(ResultWord word);

}  // namespace qarnis::tips
