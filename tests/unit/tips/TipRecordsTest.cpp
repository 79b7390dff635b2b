#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "text/GbkText.h"
#include "tips/TipRecords.h"

namespace qarnis::tips {
namespace {

std::string G(const std::string& utf8) { return text::Utf8ToGbk(utf8); }

// A history line of 14 fields, then the marker and the reasons.
std::string HistoryLine(const std::string& result, const std::string& reasons) {
  return G("英超，2024-05-01 20:00，阿森纳，2:1，切尔西，0.85|半球|1.05，2.1|3.2|3.5，亚，欧，05-01 "
           "18:00，12，21，完场，") +
         G(result) + G("，") + std::string(kRecordMarker) + G(reasons);
}

TEST(TipRecord, FullLineFillsEveryFieldAndTheReasons) {
  const std::string line =
      G("英超，05-01 20:00，阿森纳，-，切尔西，0.85|半球|1.05，||，亚，欧，18:00，11，23，未开，") +
      std::string(kRecordMarker) + G("主队状态好，客队伤兵多");
  const TipRecord r = ParseTipRecord(line);
  EXPECT_EQ(r.fields[kCompetition], G("英超"));
  EXPECT_EQ(r.fields[kHomeTeam], G("阿森纳"));
  EXPECT_EQ(r.fields[kAwayTeam], G("切尔西"));
  EXPECT_EQ(r.fields[kAsianLine], G("0.85|半球|1.05"));
  EXPECT_EQ(r.fields[kEuropeanLine], "||");
  EXPECT_EQ(r.fields[kAsianPick], "11");
  EXPECT_EQ(r.fields[kEuropeanPick], "23");
  EXPECT_EQ(r.fields[kState], G("未开"));
  EXPECT_EQ(r.reasons, G("主队状态好，客队伤兵多"));
}

struct ReasonsCase {
  const char* name;
  std::string line;
  std::string reasons;
};

TEST(TipRecord, ReasonsAreTheTextAfterTheFirstMarkerUpToTheNext) {
  const std::string m(kRecordMarker);
  const std::vector<ReasonsCase> cases = {
      {"comma inside reasons", G("a，b，") + m + G("一，二，三"), G("一，二，三")},
      {"second marker ends them", G("a，") + m + G("理由") + m + G("后面"), G("理由")},
      {"no marker", G("a，b，c"), ""},
      {"marker at the end", G("a，") + m, ""},
      {"empty line", "", ""},
      // A half marker is not a marker.
      {"single backslash", G("a，\\Qarnis//理由"), ""},
  };
  for (const ReasonsCase& c : cases) {
    EXPECT_EQ(ParseTipRecord(c.line).reasons, c.reasons) << c.name;
  }
}

TEST(TipRecord, ShortOrEmptyLinesFillWhatTheyHave) {
  struct Case {
    std::string line;
    std::size_t filled;
  };
  const std::vector<Case> cases = {{"", 0}, {G("只有一段"), 1}, {G("a，b，c"), 3}, {G("a，，c，"), 3}};
  for (const Case& c : cases) {
    const TipRecord r = ParseTipRecord(c.line);
    const std::vector<std::string> pieces = text::Split(c.line, kFieldComma);
    for (std::size_t i = 0; i < r.fields.size(); ++i) {
      EXPECT_EQ(r.fields[i], i < pieces.size() ? pieces[i] : std::string()) << c.line << " field " << i;
    }
  }
}

TEST(TipRecord, CommaInsideAGbkCharacterIsNotASeparator) {
  // "\xA3\xA3" + "\xAC" would contain A3 AC straddling two characters.
  const std::string line = std::string("\xA3\xA3\xAC\x41") + G("，") + "x";
  const TipRecord r = ParseTipRecord(line);
  EXPECT_EQ(r.fields[0], std::string("\xA3\xA3\xAC\x41"));
  EXPECT_EQ(r.fields[1], "x");
}

TEST(HistoryRecord, ResultWordIsComparedByteForByte) {
  struct Case {
    const char* result;
    ResultWord word;
  };
  const std::vector<Case> cases = {
      {"赢", ResultWord::kWin},    {"赢半", ResultWord::kHalfWin},  {"走", ResultWord::kPush},
      {"输", ResultWord::kLoss},   {"输半", ResultWord::kHalfLoss}, {"赢 ", ResultWord::kNone},
      {" 赢", ResultWord::kNone},  {"平", ResultWord::kNone},       {"", ResultWord::kNone},
      {"赢赢", ResultWord::kNone}, {"输半 ", ResultWord::kNone},
  };
  for (const Case& c : cases) {
    const HistoryRecord r = ParseHistoryRecord(HistoryLine(c.result, "理由"));
    EXPECT_EQ(r.result, c.word) << c.result;
    EXPECT_EQ(r.fields[kResult], G(c.result)) << c.result;
    EXPECT_EQ(r.fields[kScore], "2:1");
    EXPECT_EQ(r.reasons, G("理由"));
  }
  for (ResultWord w : {ResultWord::kWin, ResultWord::kHalfWin, ResultWord::kPush, ResultWord::kLoss,
                       ResultWord::kHalfLoss}) {
    EXPECT_EQ(ClassifyResult(ResultWordText(w)), w);
  }
  EXPECT_TRUE(ResultWordText(ResultWord::kNone).empty());
}

TEST(HistoryRecord, ShortLineHasNoResult) {
  const HistoryRecord r = ParseHistoryRecord(G("英超，05-01"));
  EXPECT_EQ(r.fields[kMatchTime], "05-01");
  EXPECT_TRUE(r.fields[kResult].empty());
  EXPECT_EQ(r.result, ResultWord::kNone);
}

TEST(NoticeRecord, PiecesAtTheSubSeparator) {
  struct Case {
    std::string line;
    std::string text, led, time;
  };
  const std::vector<Case> cases = {
      {G("今晚有大赛|||||滚动|||||2024-05-01 10:00"), G("今晚有大赛"), G("滚动"), "2024-05-01 10:00"},
      {G("只有内容"), G("只有内容"), "", ""},
      {G("内容|||||LED"), G("内容"), "LED", ""},
      {"||||||||||12:00", "", "", "12:00"},
      {"", "", "", ""},
      // Four bars are not a separator; the fifth starts one only when five follow.
      {"a||||b", "a||||b", "", ""},
  };
  for (const Case& c : cases) {
    const NoticeRecord r = ParseNoticeRecord(c.line);
    EXPECT_EQ(r.text, c.text) << c.line;
    EXPECT_EQ(r.led, c.led) << c.line;
    EXPECT_EQ(r.time, c.time) << c.line;
  }
}

}  // namespace
}  // namespace qarnis::tips
