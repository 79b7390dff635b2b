#include "live/LiveFeed.h"

#include <gtest/gtest.h>

#include <random>

#include "TempFolder.h"
#include "ToolProcess.h"
#include "text/GbkText.h"

namespace qarnis::live {
namespace {

std::string G(const char* utf8) { return text::Utf8ToGbk(utf8); }

// An odds item of `count` fields: the id, then the fields the client reads, then fillers.
std::string OddsItem(const std::string& id, int count = 17) {
  const char* fields[] = {"",     "3",    "0.75", "0.90", "0.96", "x",   "2.10",
                          "3.20", "3.40", "x",    "2.5",  "0.85", "1.01"};
  std::string item = id;
  for (int f = 1; f < count; ++f) item += "," + std::string(f < 13 ? fields[f] : "0");
  return item;
}

// A match row of `count` fields after the id, inside double quotes.
std::string MatchRow(const std::string& id, int count = 16, const std::string& firstTeam = "Home") {
  std::string row = "\"" + id;
  const std::string fields[] = {"",     "#c", "League", "l2",    "l3",   firstTeam, "t2", "t3",
                                "Away", "a2", "a3",     "19:30", "date", "3",       "2",  "1"};
  for (int f = 1; f < count; ++f) row += "^" + (f < 16 ? fields[f] : std::string("x"));
  return row + "\"";
}

TEST(TextBetweenTest, TakesTheTextAfterTheFirstLeftMarker) {
  struct Case {
    std::string text, left, right, expected;
  } cases[] = {
      {"a[x]b[y]", "[", "]", "x"},
      {"a[x", "[", "]", ""},
      {"ax]b", "[", "]", ""},
      {"", "[", "]", ""},
      {"[]", "[", "]", ""},
      {"id12^a\"id12^b\"", "id12", "\"", "^a"},
      // The right marker is searched after the whole left marker.
      {"<m>x</m>", "<m>", "</m>", "x"},
      // A marker byte inside a two-byte character is no marker.
      {"\xB0\x5B"
       "x[y]",
       "[", "]", "y"},
  };
  for (const Case& c : cases) EXPECT_EQ(TextBetween(c.text, c.left, c.right), c.expected) << c.text;
}

TEST(TeamNameTest, CutsMarkUpAfterTheName) {
  struct Case {
    std::string in, out;
  } cases[] = {
      {G("奇芬<font color=#880000>(中)</font>"), G("奇芬")},
      {G("北京国安"), G("北京国安")},
      {"<b>x</b>", ""},
      {"", ""},
      {"Team A", "Team A"},
  };
  for (const Case& c : cases) EXPECT_EQ(TeamName(c.in), c.out);
}

TEST(ExtractOddsItemsTest, ItemsInBodyOrder) {
  struct Case {
    std::string body;
    std::vector<std::string> items;
  } cases[] = {
      {"<c><m>1,a</m><m>2,b</m></c>", {"1,a", "2,b"}},
      {"<m>1</m><m>2", {"1"}},  // an unterminated item ends the list
      {"<m>1<m>2</m>", {"1<m>2"}},
      {"</m><m>1</m>", {"1"}},
      {"<m></m>", {""}},
      {"no items", {}},
      {"", {}},
      {"<m>a</m>junk</m><m>b</m>", {"a", "b"}},
  };
  for (const Case& c : cases) EXPECT_EQ(ExtractOddsItems(c.body), c.items) << c.body;
}

TEST(RemoveSpacesTest, RemovesAsciiAndFullWidthSpaces) {
  EXPECT_EQ(RemoveSpaces(" 1 ,0.\xA1\xA1"
                         "5 "),
            "1,0.5");
  // "\xB0\xA1" is one character whose second byte is not a full-width space's start.
  EXPECT_EQ(RemoveSpaces("\xB0\xA1\xA1\xA1"), "\xB0\xA1");
}

struct BuildCase {
  const char* name;
  std::string item;
  std::string body;
  bool joins;
};

class BuildLiveMatchTest : public ::testing::TestWithParam<BuildCase> {};

TEST_P(BuildLiveMatchTest, JoinsOrSkips) {
  const BuildCase& c = GetParam();
  const auto plain = BuildLiveMatch(c.item, c.body);
  EXPECT_EQ(plain.has_value(), c.joins);
  // The one-pass join must agree on every case.
  const std::vector<LiveMatch> fast = BuildLiveMatches({c.item}, c.body);
  ASSERT_EQ(fast.size(), c.joins ? 1u : 0u);
  if (plain) {
    EXPECT_EQ(fast[0], *plain);
  }
}

INSTANTIATE_TEST_SUITE_P(
    FieldCounts, BuildLiveMatchTest,
    ::testing::Values(
        BuildCase{"SeventeenOddsFields", OddsItem("501"), MatchRow("501"), true},
        BuildCase{"SixteenOddsFields", OddsItem("501", 16), MatchRow("501"), false},
        BuildCase{"TrailingCommaIsNoField", OddsItem("501", 16) + ",", MatchRow("501"), false},
        BuildCase{"SixteenMatchFields", OddsItem("501"), MatchRow("501", 16), true},
        BuildCase{"FifteenMatchFields", OddsItem("501"), MatchRow("501", 15), false},
        BuildCase{"IdMissingFromMatchBody", OddsItem("501"), MatchRow("777"), false},
        BuildCase{"NoQuoteAfterId", OddsItem("501"), "501^a^b^c^d^e^f^g^h^i^j^k^l^m^n^o^p", false},
        BuildCase{"EmptyMatchBody", OddsItem("501"), "", false},
        BuildCase{"EmptyItem", "", MatchRow("501"), false},
        BuildCase{"EmptyIdTakesBodyStart", OddsItem(""), "^1^2^3^4^5^6^7^8^9^0^1^2^3^4^5\"", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BuildLiveMatchTest, FillsEveryFieldFromItsSource) {
  const std::string item =
      "  9001,3,0.7 5, 0.90,0.96,x,2.10,3.20,3.40,x,2.\xA1\xA1"
      "5,0.85,1.01,0,0,0,0";
  const std::string body = "var A;\r\nA[1]=\"9001^#c^" +
                           G("英超^英超^ENG^奇芬<font color=#880000>(中)</font>") +
                           "^t2^t3^Real Madrid C.F.^a2^a3^19:30^date^3^^^x\".split('^');";
  const auto m = BuildLiveMatch(item, body);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->matchId, "9001");
  EXPECT_EQ(m->league, G("英超"));
  EXPECT_EQ(m->firstTeam, G("奇芬"));
  EXPECT_EQ(m->secondTeam, "Real Madrid C.F.");  // spaces in the match feed stay
  EXPECT_EQ(m->time, "19:30");
  EXPECT_EQ(m->handicapWords, G("半/一"));  // "0.7 5" is read without its space
  EXPECT_EQ(m->overUnderWords, "2.5");
  const LiveRow row = LiveColumns(*m);
  EXPECT_EQ(row[4], ":");  // both goal fields empty
  EXPECT_EQ(row[6], "0.90|" + G("半/一") + "|0.96");
  EXPECT_EQ(row[7], "0.85|2.5|1.01");
  EXPECT_EQ(row[8], "2.10|3.20|3.40");
  EXPECT_EQ(row[9], "9001");
  EXPECT_EQ(row[0], "");
}

TEST(BuildLiveMatchTest, UsesTheFirstOccurrenceOfTheIdAnywhere) {
  // "501" occurs first inside the row of "15012", so the text after that occurrence is what joins.
  const std::string body = MatchRow("15012", 16, "Earlier") + "," + MatchRow("501", 16, "Right");
  const auto m = BuildLiveMatch(OddsItem("501"), body);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->matchId, "501");
  EXPECT_EQ(m->firstTeam, "Earlier");
  EXPECT_EQ(BuildLiveMatches({OddsItem("501")}, body).at(0), *m);
}

TEST(BuildLiveMatchTest, AnIdOnTheSecondByteOfACharacterIsNoOccurrence) {
  // "\xB0\x35" is one character; the "5" in it must not start the id "501".
  const std::string body =
      "\"\xB0"
      "501^bad\"" +
      MatchRow("501", 16, "Right");
  const auto m = BuildLiveMatch(OddsItem("501"), body);
  ASSERT_TRUE(m);
  EXPECT_EQ(m->firstTeam, "Right");
  EXPECT_EQ(BuildLiveMatches({OddsItem("501")}, body).at(0), *m);
}

std::vector<std::string> IdsOfCapture(const std::string& body) {
  std::vector<std::string> ids;
  for (std::size_t pos = body.find("\nA["); pos != std::string::npos; pos = body.find("\nA[", pos + 1)) {
    const std::size_t start = body.find("]=\"", pos) + 3;
    ids.push_back(body.substr(start, body.find('^', start) - start));
  }
  return ids;
}

TEST(BuildLiveMatchesTest, OnePassJoinMatchesThePlainJoinOnTheRealCapture) {
  const std::string body = testing::ReadFile(testing::SourcePath("tests/unit/live/data/match-1-gbk.js"));
  const std::vector<std::string> ids = IdsOfCapture(body);
  ASSERT_EQ(ids.size(), 169u);
  std::vector<std::string> items;
  for (const std::string& id : ids) items.push_back(OddsItem(id));
  items.push_back(OddsItem("99999999"));  // not in the match feed

  const std::vector<LiveMatch> plain = BuildLiveMatchesPlain(items, body);
  EXPECT_EQ(plain.size(), 169u);
  EXPECT_EQ(BuildLiveMatches(items, body), plain);

  const LiveMatch& first = plain.front();
  EXPECT_EQ(first.matchId, "1101107");
  EXPECT_EQ(text::GbkToUtf8(first.league), "亚协杯");
  EXPECT_EQ(text::GbkToUtf8(first.firstTeam), "拿达");
  EXPECT_EQ(text::GbkToUtf8(first.secondTeam), "瓦禾达");
  EXPECT_EQ(first.time, "23:00");
  EXPECT_EQ(first.firstGoals + ":" + first.secondGoals, "0:0");
  for (const LiveMatch& m : plain) EXPECT_EQ(m.firstTeam.find('<'), std::string::npos) << m.matchId;
}

TEST(BuildLiveMatchesTest, OnePassJoinMatchesThePlainJoinOnGeneratedData) {
  std::mt19937 random(7);
  const std::string alphabet[] = {"1",        "2",    "0", "^",  "\"",       ",",
                                  "\xB1\xB1", "\xB1", "a", "12", "\xA1\xA1", " "};
  for (int round = 0; round < 200; ++round) {
    std::string body;
    const int pieces = static_cast<int>(random() % 400);
    for (int p = 0; p < pieces; ++p) body += alphabet[random() % std::size(alphabet)];
    std::vector<std::string> items;
    const int count = static_cast<int>(random() % 30);
    for (int i = 0; i < count; ++i) {
      std::string id;
      const int len = static_cast<int>(random() % 4);
      for (int k = 0; k < len; ++k) id += alphabet[random() % 4];
      if (random() % 5 == 0) id += "\xB1";
      items.push_back(OddsItem(id, 16 + static_cast<int>(random() % 3)));
      // Real rows for some of the ids, so that joins also succeed.
      if (random() % 2 == 0) body += MatchRow(id, 15 + static_cast<int>(random() % 3));
    }
    ASSERT_EQ(BuildLiveMatches(items, body), BuildLiveMatchesPlain(items, body)) << "round " << round;
  }
}

}  // namespace
}  // namespace qarnis::live
