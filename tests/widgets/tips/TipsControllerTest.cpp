#include <QEventLoop>
#include <QHeaderView>
#include <QTimer>
#include <vector>

#include "TipsFixture.h"
#include "tips/TipsPictures.h"
#include "ui/GbkQt.h"

namespace qarnis::tips {
namespace {

using qarnis::testing::ReadFile;
using qarnis::testing::WriteFile;

std::string Join(const std::vector<std::string>& lines, bool finalBreak) {
  std::string out;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    out += lines[i];
    if (i + 1 < lines.size() || finalBreak) out += "\r\n";
  }
  return out;
}

std::vector<std::string> HistoryLines(int newest, int oldest) {
  std::vector<std::string> lines;
  for (int i = newest; i >= oldest; --i) lines.push_back(HistoryLine(i));
  return lines;
}

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.c_str()); }

using RecommendationsTest = TipsFixture;

TEST_F(RecommendationsTest, DataPushShowsExactlyItsLinesAndAnnounces) {
  struct Case {
    const char* name;
    std::string payload;
    int rows;
  };
  const std::vector<Case> cases = {
      {"two lines", Join({TipLine(1), TipLine(2)}, false), 2},
      {"final CR LF gives no extra row", Join({TipLine(1), TipLine(2), TipLine(3)}, true), 3},
  };
  for (const Case& c : cases) {
    announced_.clear();
    pauses_ = resumes_ = 0;
    controller_->DataPush(c.payload);
    QTreeWidget* list = widgets_.recommendations;
    ASSERT_EQ(list->topLevelItemCount(), c.rows) << c.name;
    EXPECT_EQ(controller_->recommendationsHolder, c.payload) << c.name;
    EXPECT_EQ(announced_, QStringList{QStringLiteral("新消息推送")}) << c.name;
    EXPECT_EQ(pauses_, 1) << c.name;
    EXPECT_EQ(resumes_, 1) << c.name;
    const QTreeWidgetItem* first = list->topLevelItem(0);
    EXPECT_EQ(first->text(0), QStringLiteral("英超1"));
    EXPECT_EQ(first->text(1), QStringLiteral("05-01 20:1"));
    EXPECT_EQ(first->text(2), QStringLiteral("主队1"));
    EXPECT_EQ(first->text(3), QStringLiteral("VS")) << "field 3 is never shown";
    EXPECT_EQ(first->text(4), QStringLiteral("客队1"));
    EXPECT_EQ(first->text(5), QStringLiteral("0.9|半球|1.0"));
    EXPECT_EQ(first->text(7), QStringLiteral("亚1"));
    EXPECT_EQ(first->text(10), QStringLiteral("12"));
    EXPECT_EQ(first->text(11), QStringLiteral("21"));
    EXPECT_EQ(first->text(12), QStringLiteral("未开"));
    EXPECT_EQ(first->text(13), QStringLiteral("状态好，值得一博")) << "reasons keep their commas";
    EXPECT_EQ(first->textAlignment(1) & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(first->textAlignment(0) & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(list->topLevelItem(c.rows - 1)->text(2), Q("主队" + std::to_string(c.rows)));
  }
}

TEST_F(RecommendationsTest, ListHasItsColumnsFontAndHiddenColumns) {
  QTreeWidget* list = widgets_.recommendations;
  ASSERT_EQ(list->columnCount(), 14);
  EXPECT_EQ(list->headerItem()->text(5), QStringLiteral("亚洲 走势"));
  EXPECT_EQ(list->headerItem()->text(13), QStringLiteral("核心理由"));
  EXPECT_EQ(list->font().pixelSize(), 14);
  const std::vector<int> widths = {70, 128, 150, 30, 150, 130, 118, 0, 0, 140, 0, 0, 50, 80};
  for (int c = 0; c < 14; ++c) {
    EXPECT_EQ(list->isColumnHidden(c), widths[static_cast<std::size_t>(c)] == 0) << c;
    if (widths[static_cast<std::size_t>(c)] != 0) {
      EXPECT_EQ(list->columnWidth(c), widths[static_cast<std::size_t>(c)]) << c;
    }
  }
  EXPECT_EQ(widgets_.notices->columnCount(), 3);
  EXPECT_EQ(widgets_.notices->font().pixelSize(), 12);
  EXPECT_TRUE(widgets_.notices->isColumnHidden(1));
  EXPECT_EQ(widgets_.notices->columnWidth(0), 410);
}

TEST_F(RecommendationsTest, SecondPushReplacesTheFirst) {
  controller_->DataPush(Join({TipLine(1), TipLine(2), TipLine(3)}, true));
  controller_->DataPush(TipLine(9));
  ASSERT_EQ(widgets_.recommendations->topLevelItemCount(), 1);
  EXPECT_EQ(widgets_.recommendations->topLevelItem(0)->text(2), QStringLiteral("主队9"));
}

TEST_F(RecommendationsTest, EmptyPushesEmptyTheListSilently) {
  controller_->DataPush(TipLine(1));
  announced_.clear();
  pauses_ = resumes_ = 0;

  controller_->EmptyPush();
  EXPECT_EQ(widgets_.recommendations->topLevelItemCount(), 0);
  EXPECT_TRUE(controller_->recommendationsHolder.empty());
  EXPECT_TRUE(announced_.isEmpty());
  EXPECT_EQ(pauses_, 0) << "the empty push does not touch the live feed";

  controller_->DataPush(TipLine(1));
  announced_.clear();
  controller_->DataPush("");
  EXPECT_EQ(widgets_.recommendations->topLevelItemCount(), 0);
  EXPECT_TRUE(announced_.isEmpty()) << "a push without lines is not announced";
}

TEST_F(RecommendationsTest, ShortAndEmptyLinesFillWhatTheyHave) {
  controller_->DataPush(G("只有赛事，05-01") + "\r\n\r\n" + TipLine(2));
  QTreeWidget* list = widgets_.recommendations;
  ASSERT_EQ(list->topLevelItemCount(), 3);
  EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("只有赛事"));
  EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("05-01"));
  EXPECT_EQ(list->topLevelItem(0)->text(2), QString());
  EXPECT_EQ(list->topLevelItem(0)->text(13), QString());
  EXPECT_EQ(list->topLevelItem(1)->text(1), QString());
  EXPECT_EQ(list->topLevelItem(2)->text(2), QStringLiteral("主队2"));
}

using FirstLoginTest = TipsFixture;

TEST_F(FirstLoginTest, AppendsToWhatIsShownUnlessTheViewsWereReset) {
  struct Case {
    const char* name;
    bool reset;
    int recommendations;
    int notices;
  };
  const std::vector<Case> cases = {{"start-up connection appends", false, 1 + 2, 1 + 40},
                                   {"connect-button connection replaces", true, 2, 40}};
  std::vector<std::string> notices;
  for (int i = 40; i >= 1; --i) notices.push_back(NoticeLine(i));
  for (const Case& c : cases) {
    controller_->ResetViews();
    controller_->DataPush(TipLine(7));
    controller_->NoticePush(NoticeLine(99));
    controller_->HistoryPush(HistoryLine(99));
    announced_.clear();
    pauses_ = resumes_ = 0;

    if (c.reset) controller_->ResetViews();
    controller_->EmptyHolders();
    controller_->recommendationsHolder = Join({TipLine(1), TipLine(2)}, true);
    controller_->historyHolder = Join(HistoryLines(60, 1), true);
    controller_->noticesHolder = Join(notices, true);
    paused_ = true;  // the dispatcher pauses before the first-login fill
    controller_->FillFirstLoginData();

    EXPECT_FALSE(paused_) << c.name;
    EXPECT_EQ(resumes_, 1) << c.name;
    EXPECT_TRUE(announced_.isEmpty()) << c.name;
    EXPECT_EQ(widgets_.recommendations->topLevelItemCount(), c.recommendations) << c.name;
    EXPECT_EQ(widgets_.notices->topLevelItemCount(), c.notices) << c.name;
    EXPECT_EQ(ReadFile(HistoryPath()), controller_->historyHolder) << c.name;
    EXPECT_EQ(ReadFile(NoticesPath()), controller_->noticesHolder) << c.name;
    EXPECT_EQ(Grid().rowCount(), 51) << c.name;
    EXPECT_EQ(Grid().CellText(1, 2), QStringLiteral("主队60")) << c.name;
    EXPECT_EQ(Grid().CellText(50, 2), QStringLiteral("主队11"))
        << c.name << ": records past row 50 are not shown";
  }
}

using HistoryTest = TipsFixture;

TEST_F(HistoryTest, OrdinaryAccountWithSevenRecordsFillsRowsOneToSeven) {
  WriteFile(HistoryPath(), Join(HistoryLines(6, 1), true));
  controller_->HistoryPush(HistoryLine(7, "输半"));

  EXPECT_EQ(pauses_, 1);
  EXPECT_EQ(resumes_, 1);
  EXPECT_EQ(ReadFile(HistoryPath()), Join({HistoryLine(7, "输半")}, true) + Join(HistoryLines(6, 1), true));
  ASSERT_EQ(Grid().rowCount(), 51);
  EXPECT_EQ(Grid().CellText(1, 1), QStringLiteral("时间7")) << "the pushed record is in row 1";
  EXPECT_EQ(Grid().CellText(2, 1), QStringLiteral("时间6")) << "the previously newest in row 2";
  EXPECT_EQ(Grid().CellText(7, 1), QStringLiteral("时间1"));
  EXPECT_EQ(Grid().CellText(1, 3), QStringLiteral("2:1"));
  EXPECT_EQ(Grid().CellText(1, 10), QStringLiteral("13"));
  EXPECT_EQ(Grid().CellText(1, 14), QStringLiteral("输半"));
  EXPECT_EQ(Grid().CellPicture(1, 13), ResultWord::kHalfLoss);
  EXPECT_EQ(Grid().CellPicture(2, 13), ResultWord::kWin);
  EXPECT_EQ(Grid().CellText(1, 15), QStringLiteral("理由7"));
  for (int r = 8; r <= 50; ++r) {
    for (int c = 0; c < 16; ++c) ASSERT_TRUE(Grid().CellText(r, c).isEmpty()) << r << "," << c;
  }
  EXPECT_TRUE(widgets_.recent->isVisible());
  EXPECT_FALSE(widgets_.total->isVisible());
  EXPECT_FALSE(widgets_.rate->isVisible());
}

TEST_F(HistoryTest, MissingFileBeforeAPushHoldsExactlyThePushedText) {
  controller_->HistoryPush(HistoryLine(1));
  EXPECT_EQ(ReadFile(HistoryPath()), HistoryLine(1) + "\r\n");
  EXPECT_EQ(Grid().CellText(1, 2), QStringLiteral("主队1"));
}

TEST_F(HistoryTest, HundredTwentyRecordsAndAPushKeepAllInTheFileAndShowTheNewestFifty) {
  WriteFile(HistoryPath(), Join(HistoryLines(120, 1), true));
  controller_->HistoryPush(HistoryLine(121));
  EXPECT_EQ(ReadFile(HistoryPath()), Join(HistoryLines(121, 1), true));
  EXPECT_EQ(controller_->historyHolder, Join(HistoryLines(121, 72), true));
  EXPECT_EQ(Grid().rowCount(), 51);
  EXPECT_EQ(Grid().CellText(1, 2), QStringLiteral("主队121"));
  EXPECT_EQ(Grid().CellText(50, 2), QStringLiteral("主队72"));
}

TEST_F(HistoryTest, SpecialAccountSeesEveryRecordWithCountsAndHitRate) {
  account_ = "mossfield4";
  // 2 wins, 1 half win, 1 push, 1 loss, 1 half loss, 1 unknown word, 1 "赢 " with a blank: N = 8.
  const std::vector<std::string> older = {HistoryLine(7, "赢"), HistoryLine(6, "赢半"), HistoryLine(5, "走"),
                                          HistoryLine(4, "输"), HistoryLine(3, "输半"), HistoryLine(2, "平"),
                                          HistoryLine(1, "赢 ")};
  WriteFile(HistoryPath(), Join(older, true));
  controller_->HistoryPush(HistoryLine(8, "赢"));

  EXPECT_FALSE(paused_);
  ASSERT_EQ(Grid().rowCount(), 9) << "header row and one row per record";
  EXPECT_EQ(Grid().CellText(1, 2), QStringLiteral("主队8"));
  EXPECT_EQ(Grid().CellText(8, 2), QStringLiteral("主队1")) << "the file's last record is in row N";
  EXPECT_EQ(Grid().CellPicture(7, 13), ResultWord::kNone) << "unknown word: no picture";
  EXPECT_EQ(Grid().CellPicture(8, 13), ResultWord::kNone) << "\"赢 \" is not a win";
  EXPECT_EQ(Grid().CellText(8, 14), QStringLiteral("赢 "));
  EXPECT_TRUE(Grid().CellFormatted(8, 0));
  EXPECT_EQ(widgets_.total->text(), QStringLiteral("总场次 8场："));
  EXPECT_EQ(widgets_.win->text(), QStringLiteral("赢:2"));
  EXPECT_EQ(widgets_.halfWin->text(), QStringLiteral("赢半:1"));
  EXPECT_EQ(widgets_.push->text(), QStringLiteral("走:1"));
  EXPECT_EQ(widgets_.loss->text(), QStringLiteral("输:1"));
  EXPECT_EQ(widgets_.halfLoss->text(), QStringLiteral("输半:1"));
  EXPECT_EQ(widgets_.rate->text(), QStringLiteral("62.5%"));  // 2.5 / 4 * 100
  EXPECT_EQ(widgets_.rateCaption->text(), QStringLiteral("命中率："));
  EXPECT_FALSE(widgets_.recent->isVisible());
  for (QLabel* label : {widgets_.total, widgets_.win, widgets_.halfWin, widgets_.push, widgets_.loss,
                        widgets_.halfLoss, widgets_.rateCaption, widgets_.rate}) {
    EXPECT_TRUE(label->isVisible()) << label->objectName().toStdString();
  }
}

TEST_F(HistoryTest, FullHistoryReplacesTheFileAndOnlyPushesGiveZeroPercent) {
  WriteFile(HistoryPath(), "old\r\n");
  controller_->historyHolder = Join({HistoryLine(2, "走"), HistoryLine(1, "走")}, true);
  controller_->FillFullHistory();
  EXPECT_EQ(pauses_, 1);
  EXPECT_EQ(resumes_, 1);
  EXPECT_EQ(ReadFile(HistoryPath()), controller_->historyHolder);
  EXPECT_EQ(Grid().rowCount(), 3);
  EXPECT_EQ(widgets_.rate->text(), QStringLiteral("0%"));
  EXPECT_EQ(widgets_.push->text(), QStringLiteral("走:2"));

  // An empty holder does nothing at all: no pause, no resume, the file stays.
  pauses_ = resumes_ = 0;
  controller_->historyHolder.clear();
  controller_->FillFullHistory();
  EXPECT_EQ(pauses_ + resumes_, 0);
  EXPECT_EQ(Grid().rowCount(), 3);
}

TEST_F(HistoryTest, WaitBeforeTheRebuildKeepsTheWindowResponsiveOverAClearedGrid) {
  controller_->HistoryPush(HistoryLine(1));
  bool ranDuringWait = false;
  bool gridWasCleared = false;
  QTimer::singleShot(0, window_.get(), [&] {
    ranDuringWait = true;
    gridWasCleared = Grid().CellText(1, 2).isEmpty() && Grid().CellText(0, 0).isEmpty();
  });
  controller_->HistoryPush(HistoryLine(2));
  EXPECT_TRUE(ranDuringWait);
  EXPECT_TRUE(gridWasCleared) << "contents and header texts go before the wait";
  EXPECT_EQ(Grid().CellText(0, 0), QStringLiteral("球赛")) << "the layout brings the header back";
}

TEST_F(HistoryTest, LayoutFormatsTheDesignRowsAndClearKeepsRowsAndColumns) {
  struct Column {
    int column;
    const char* header;
    int width;
  };
  const std::vector<Column> columns = {{0, "球赛", 70},       {1, "比赛时间", 145}, {3, "比分", 55},
                                       {6, "欧洲 走势", 145}, {7, "", 0},           {12, "", 0},
                                       {13, "结果", 40},      {14, "", 0},          {15, "核心理由", 78}};
  QTableView* view = widgets_.historyGrid;
  for (const Column& c : columns) {
    EXPECT_EQ(Grid().CellText(0, c.column), Q(c.header)) << c.column;
    EXPECT_EQ(Grid().ColumnWidth(c.column), c.width) << c.column;
    EXPECT_EQ(view->isColumnHidden(c.column), c.width == 0) << c.column;
    if (c.width > 0) {
      EXPECT_EQ(view->columnWidth(c.column), c.width) << c.column;
    }
    EXPECT_EQ(view->model()->headerData(c.column, Qt::Horizontal).toString(), Q(c.header)) << c.column;
  }
  EXPECT_EQ(Grid().RowHeight(0), 23);
  EXPECT_EQ(view->horizontalHeader()->height(), 23) << "row 0 is shown as the fixed header";
  EXPECT_TRUE(view->isRowHidden(0));
  EXPECT_EQ(Grid().RowHeight(1), 40);
  EXPECT_EQ(view->rowHeight(1), 40);
  EXPECT_EQ(Grid().CellFontPixelSize(50, 14), 18);
  EXPECT_EQ(Grid().data(Grid().index(3, 2), Qt::TextAlignmentRole).value<Qt::Alignment>(), Qt::AlignCenter);
  EXPECT_FALSE(Grid().CellFormatted(3, 15)) << "the reasons column keeps the defaults";

  controller_->HistoryPush(HistoryLine(1, "赢"));
  Grid().Clear();
  EXPECT_EQ(Grid().rowCount(), 51);
  EXPECT_EQ(Grid().columnCount(), 16);
  EXPECT_TRUE(Grid().CellText(1, 2).isEmpty());
  EXPECT_EQ(Grid().CellPicture(1, 13), ResultWord::kNone);
  EXPECT_FALSE(Grid().CellFormatted(1, 2));
  EXPECT_EQ(Grid().ColumnWidth(1), 145);
}

using NoticesTest = TipsFixture;

TEST_F(NoticesTest, PushKeepsAllInTheFileAndListsTheNewestThirty) {
  std::vector<std::string> lines;
  for (int i = 44; i >= 1; --i) lines.push_back(NoticeLine(i));
  WriteFile(NoticesPath(), Join(lines, true));
  controller_->NoticePush(NoticeLine(45));

  EXPECT_EQ(pauses_, 1);
  EXPECT_EQ(resumes_, 1);
  EXPECT_EQ(announced_, QStringList{QStringLiteral("新的公告")});
  EXPECT_EQ(ReadFile(NoticesPath()), NoticeLine(45) + "\r\n" + Join(lines, true));
  QTreeWidget* list = widgets_.notices;
  ASSERT_EQ(list->topLevelItemCount(), 30);
  EXPECT_EQ(list->topLevelItem(0)->text(0), QStringLiteral("公告45"));
  EXPECT_EQ(list->topLevelItem(0)->text(1), QStringLiteral("LED"));
  EXPECT_EQ(list->topLevelItem(0)->text(2), QStringLiteral("2024-05-01 45"));
  EXPECT_EQ(list->topLevelItem(29)->text(0), QStringLiteral("公告16"));
}

TEST_F(NoticesTest, MissingFileBeforeAPushHoldsExactlyThePushedText) {
  controller_->NoticePush(NoticeLine(1));
  EXPECT_EQ(ReadFile(NoticesPath()), NoticeLine(1) + "\r\n");
  EXPECT_EQ(widgets_.notices->topLevelItemCount(), 1);
}

TEST(TipsPictures, FiveResultPicturesDifferAndHaveTheirSizes) {
  const std::vector<ResultWord> words = {ResultWord::kWin, ResultWord::kHalfWin, ResultWord::kPush,
                                         ResultWord::kLoss, ResultWord::kHalfLoss};
  std::vector<QImage> images;
  for (ResultWord w : words) {
    const QPixmap& p = ResultPicture(w);
    ASSERT_EQ(p.size(), QSize(36, 36));
    images.push_back(p.toImage());
  }
  for (std::size_t i = 0; i < images.size(); ++i) {
    for (std::size_t j = i + 1; j < images.size(); ++j) EXPECT_NE(images[i], images[j]) << i << " " << j;
  }
  EXPECT_TRUE(ResultPicture(ResultWord::kNone).isNull());
  EXPECT_EQ(HighlightPicture().size(), QSize(80, 30));
}

}  // namespace
}  // namespace qarnis::tips
