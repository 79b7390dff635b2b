#include "live/LiveRows.h"

#include <gtest/gtest.h>

namespace qarnis::live {
namespace {

LiveMatch Match(const std::string& id, const std::string& league, const std::string& goals = "0") {
  LiveMatch m;
  m.matchId = id;
  m.league = league;
  m.firstGoals = goals;
  m.secondGoals = "0";
  return m;
}

std::vector<std::string> Column(const LiveRows& rows, std::size_t column) {
  std::vector<std::string> out;
  for (std::size_t i = 0; i < rows.Size(); ++i) out.push_back(rows.Row(i)[column]);
  return out;
}

TEST(LiveRowsTest, AppliesByIdAndNumbersNewRowsWithTheRowCount) {
  LiveRows rows;
  EXPECT_TRUE(rows.Apply(Match("30", "B")).inserted);
  EXPECT_TRUE(rows.Apply(Match("10", "A")).inserted);
  const LiveRows::Applied again = rows.Apply(Match("30", "C", "2"));
  EXPECT_FALSE(again.inserted);
  EXPECT_EQ(again.row, 0u);
  EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"1", "2"}));
  EXPECT_EQ(Column(rows, 1), (std::vector<std::string>{"C", "A"}));
  EXPECT_EQ(rows.Row(0)[4], "2:0");
  EXPECT_EQ(rows.Row(0)[9], "30");
}

TEST(LiveRowsTest, SortsWholeRowsAndKeepsNumbersAndIndex) {
  struct Case {
    std::size_t column;
    bool descending;
    std::vector<std::string> ids;
  } cases[] = {
      {1, false, {"b", "d", "a", "c"}},  // GBK byte order: "A" < "Z" < "\xB1\xB1" < "\xD6\xD0"
      {1, true, {"c", "a", "d", "b"}},
      {0, true, {"d", "c", "b", "a"}},
      {0, false, {"a", "b", "c", "d"}},  // numbers restore the order of first appearance
  };
  for (const Case& c : cases) {
    LiveRows rows;
    rows.Apply(Match("a", "\xB1\xB1"));
    rows.Apply(Match("b", "A"));
    rows.Apply(Match("c", "\xD6\xD0"));
    rows.Apply(Match("d", "Z"));
    rows.Sort(1, true);  // mix the order up before the sort under test
    rows.Sort(c.column, c.descending);
    const std::vector<std::string> ids = Column(rows, 9);
    EXPECT_EQ(ids, c.ids) << "column " << c.column << (c.descending ? " down" : " up");
    for (std::size_t i = 0; i < rows.Size(); ++i) EXPECT_EQ(rows.Find(rows.Row(i)[9]), i);
  }
}

TEST(LiveRowsTest, NumberColumnSortsNumericallyNotByText) {
  LiveRows rows;
  for (int i = 0; i < 12; ++i) rows.Apply(Match("m" + std::to_string(i), "x"));
  rows.Sort(0, false);
  EXPECT_EQ(rows.Row(1)[0], "2");
  EXPECT_EQ(rows.Row(9)[0], "10");
  rows.Sort(0, true);
  EXPECT_EQ(rows.Row(0)[0], "12");
}

TEST(LiveRowsTest, ANewMatchAfterASortIsAppendedAtTheBottom) {
  LiveRows rows;
  rows.Apply(Match("a", "B"));
  rows.Apply(Match("b", "A"));
  rows.Sort(1, false);
  rows.Apply(Match("a", "B2"));  // seen again: keeps its row and number
  const LiveRows::Applied added = rows.Apply(Match("c", "0"));
  EXPECT_TRUE(added.inserted);
  EXPECT_EQ(added.row, 2u);
  EXPECT_EQ(Column(rows, 9), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(Column(rows, 0), (std::vector<std::string>{"2", "1", "3"}));
  EXPECT_EQ(rows.Row(1)[1], "B2");
}

TEST(LiveRowsTest, SortOfAnEmptyListChangesNothing) {
  LiveRows rows;
  EXPECT_TRUE(rows.Sort(3, true).empty());
  EXPECT_EQ(rows.Size(), 0u);
}

TEST(FlipTitleArrowTest, FlipsPerTitle) {
  struct Case {
    std::string in, out;
    bool descending;
  } cases[] = {
      {"序号↑", "序号↓", true}, {"序号↓", "序号↑", false}, {"id", "id↓", false},
      {"↑a↑", "↓a↓", true},     {"", "↓", false},
  };
  for (const Case& c : cases) {
    const TitleFlip flip = FlipTitleArrow(c.in);
    EXPECT_EQ(flip.title, c.out);
    EXPECT_EQ(flip.descending, c.descending) << c.in;
  }
}

}  // namespace
}  // namespace qarnis::live
