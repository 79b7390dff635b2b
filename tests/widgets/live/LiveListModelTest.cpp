#include "live/LiveListModel.h"

#include <gtest/gtest.h>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>

#include "text/GbkText.h"

namespace qarnis::live {
namespace {

LiveMatch Match(const std::string& id, const char* leagueUtf8, const std::string& goals = "1") {
  LiveMatch m;
  m.matchId = id;
  m.league = text::Utf8ToGbk(leagueUtf8);
  m.firstTeam = text::Utf8ToGbk("北京国安");
  m.secondTeam = "Away";
  m.firstGoals = goals;
  m.secondGoals = "0";
  m.handicapWords = text::Utf8ToGbk("半/一");
  return m;
}

QString Cell(const LiveListModel& model, int row, int column) {
  return model.index(row, column).data().toString();
}

QStringList Column(const LiveListModel& model, int column) {
  QStringList out;
  for (int r = 0; r < model.rowCount(); ++r) out << Cell(model, r, column);
  return out;
}

class LiveListTest : public ::testing::Test {
 protected:
  LiveListTest() {
    view.resize(999, 300);
    SetUpLiveList(&view, &model);
    view.show();
  }
  void ClickHeader(int column) {
    QHeaderView* header = view.horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
  }

  LiveListModel model;
  QTableView view;
};

TEST_F(LiveListTest, HasTheColumnsOfTheLiveList) {
  struct Column {
    const char* title;
    int width;
    Qt::Alignment alignment;
  } columns[] = {
      {"序号↑", 50, Qt::AlignLeft},         {"球赛↑", 70, Qt::AlignHCenter},
      {"时间↑", 70, Qt::AlignHCenter},      {"比赛球队↑", 150, Qt::AlignHCenter},
      {"比分↑", 55, Qt::AlignHCenter},      {"比赛球队↑", 150, Qt::AlignHCenter},
      {"亚洲走势↑", 130, Qt::AlignHCenter}, {"大小球走势↑", 130, Qt::AlignHCenter},
      {"欧洲走势↑", 130, Qt::AlignHCenter}, {"id", 0, Qt::AlignLeft},
  };
  ASSERT_EQ(model.columnCount(), 10);
  model.ApplyLiveMatch(Match("7", "英超"));
  for (int c = 0; c < 10; ++c) {
    EXPECT_EQ(model.headerData(c, Qt::Horizontal).toString(), QString::fromUtf8(columns[c].title)) << c;
    EXPECT_EQ(view.isColumnHidden(c), columns[c].width == 0) << c;
    if (columns[c].width > 0) {
      EXPECT_EQ(view.columnWidth(c), columns[c].width) << c;
    }
    const auto alignment = model.index(0, c).data(Qt::TextAlignmentRole).value<Qt::Alignment>();
    EXPECT_EQ(alignment & Qt::AlignHorizontal_Mask, columns[c].alignment) << c;
  }
  EXPECT_EQ(view.font().pixelSize(), 14);
  EXPECT_EQ(view.selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST_F(LiveListTest, ApplyInsertsOnceThenRewritesTheRow) {
  QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
  QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
  model.ApplyLiveMatch(Match("7", "英超"));
  model.ApplyLiveMatch(Match("8", "西甲"));
  EXPECT_EQ(inserted.count(), 2);
  EXPECT_EQ(changed.count(), 0);
  model.ApplyLiveMatch(Match("7", "意甲", "3"));
  EXPECT_EQ(inserted.count(), 2);
  ASSERT_EQ(changed.count(), 1);
  EXPECT_EQ(changed.at(0).at(0).toModelIndex().row(), 0);
  EXPECT_EQ(changed.at(0).at(0).toModelIndex().column(), 1);
  EXPECT_EQ(changed.at(0).at(1).toModelIndex().column(), 9);
  EXPECT_EQ(Column(model, 0), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
  EXPECT_EQ(Cell(model, 0, 1), QStringLiteral("意甲"));
  EXPECT_EQ(Cell(model, 0, 3), QStringLiteral("北京国安"));
  EXPECT_EQ(Cell(model, 0, 4), QStringLiteral("3:0"));
  EXPECT_EQ(Cell(model, 0, 6), QStringLiteral("|半/一|"));
  EXPECT_EQ(Cell(model, 0, 9), QStringLiteral("7"));
}

TEST_F(LiveListTest, HeaderClicksFlipTheArrowAndSortWholeRows) {
  model.ApplyLiveMatch(Match("a", "B"));
  model.ApplyLiveMatch(Match("b", "A"));
  model.ApplyLiveMatch(Match("c", "中超"));  // GBK D6D0, after every ASCII letter and after "阿" (B0A2)
  model.ApplyLiveMatch(Match("d", "阿甲"));
  struct Step {
    int column;
    const char* title;
    const char* ids;  // column 9 from top to bottom
  } steps[] = {
      {1, "球赛↓", "cdab"}, {1, "球赛↑", "badc"},
      {0, "序号↓", "dcba"}, {0, "序号↑", "abcd"},  // ascending numbers restore the order of first appearance
      {9, "id↓", "abcd"},                          // no arrow yet: one is appended and the sort is ascending
      {9, "id↑", "abcd"},   {9, "id↓", "dcba"},
  };
  for (const Step& s : steps) {
    if (view.isColumnHidden(s.column)) {
      model.HeaderClicked(s.column);
    } else {
      ClickHeader(s.column);
    }
    EXPECT_EQ(model.ColumnTitle(s.column), QString::fromUtf8(s.title));
    EXPECT_EQ(Column(model, 9).join(QString()), QLatin1String(s.ids)) << s.title;
  }
  // Each row keeps its number and its cells.
  for (int r = 0; r < 4; ++r) {
    const QString id = Cell(model, r, 9);
    EXPECT_EQ(Cell(model, r, 0), QString::number(QStringLiteral("abcd").indexOf(id) + 1));
  }
  EXPECT_EQ(model.ColumnTitle(2), QStringLiteral("时间↑"));  // other columns keep their arrows
}

TEST_F(LiveListTest, SelectionFollowsItsRowThroughASort) {
  for (int i = 0; i < 300; ++i) model.ApplyLiveMatch(Match(std::to_string(1000 + i), "L"));
  view.selectRow(2);
  ClickHeader(0);  // descending: the selected row moves to near the bottom
  const QModelIndexList selected = view.selectionModel()->selectedRows();
  ASSERT_EQ(selected.size(), 1);
  EXPECT_EQ(selected.front().row(), 297);
  EXPECT_EQ(Cell(model, 297, 9), QStringLiteral("1002"));
  EXPECT_TRUE(view.viewport()->rect().intersects(view.visualRect(model.index(297, 1))));
}

TEST_F(LiveListTest, ANewMatchAfterASortGoesToTheBottomWithTheRowCount) {
  model.ApplyLiveMatch(Match("a", "B"));
  model.ApplyLiveMatch(Match("b", "A"));
  ClickHeader(1);
  model.ApplyLiveMatch(Match("a", "Z", "5"));
  model.ApplyLiveMatch(Match("c", "0"));
  EXPECT_EQ(Column(model, 9), (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
  EXPECT_EQ(Column(model, 0), (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3")}));
  EXPECT_EQ(Cell(model, 0, 4), QStringLiteral("5:0"));
}

TEST_F(LiveListTest, AHeaderClickOnAnEmptyListOnlyFlipsTheArrow) {
  QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
  ClickHeader(3);
  EXPECT_EQ(model.ColumnTitle(3), QStringLiteral("比赛球队↓"));
  EXPECT_EQ(model.ColumnTitle(5), QStringLiteral("比赛球队↑"));
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(layout.count(), 0);
}

TEST_F(LiveListTest, SettingUpTwiceConnectsTheSortOnce) {
  ConnectHeaderSort(&view, &model);
  ClickHeader(1);
  EXPECT_EQ(model.ColumnTitle(1), QStringLiteral("球赛↓"));
}

}  // namespace
}  // namespace qarnis::live
