#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QPlainTextEdit>
#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "ModalDriver.h"
#include "TipsFixture.h"

namespace qarnis::tips {
namespace {

using qarnis::testing::ModalDriver;

// What a test reads from an open window before it closes it.
struct Seen {
  QString title;
  QSize size;
  std::map<QString, QString> texts;
  std::vector<QString> visiblePictures;
  QString reasons;
  bool reasonsReadOnly = false;
};

Seen Read(QWidget* window) {
  Seen seen;
  seen.title = window->windowTitle();
  seen.size = window->size();
  for (QLabel* label : window->findChildren<QLabel*>()) {
    seen.texts[label->objectName()] = label->text();
    if (!label->pixmap().isNull() && label->isVisibleTo(window))
      seen.visiblePictures.push_back(label->objectName());
  }
  std::sort(seen.visiblePictures.begin(), seen.visiblePictures.end());
  if (auto* edit = window->findChild<QPlainTextEdit*>(QStringLiteral("超级编辑框1"))) {
    seen.reasons = edit->toPlainText();
    seen.reasonsReadOnly = edit->isReadOnly();
  }
  return seen;
}

class DetailWindowTest : public TipsFixture {
 protected:
  // Double-clicks `where` in `viewport`; returns what the window showed, or nothing when none opened.
  std::optional<Seen> DoubleClick(QWidget* viewport, QPoint where) {
    std::optional<Seen> seen;
    ModalDriver driver(
        [&](QWidget* w) {
          seen = Read(w);
          static_cast<QDialog*>(w)->accept();
        },
        2000);
    // The view opens on a double-click only over the cell that took the press before it.
    QTest::mousePress(viewport, Qt::LeftButton, {}, where);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, where);
    QTest::mouseDClick(viewport, Qt::LeftButton, {}, where);
    return seen;
  }
  std::optional<Seen> DoubleClickRecommendation(int row) {
    QTreeWidget* list = widgets_.recommendations;
    return DoubleClick(list->viewport(), list->visualItemRect(list->topLevelItem(row)).center());
  }
  std::optional<Seen> DoubleClickHistory(int row) {
    QTableView* grid = widgets_.historyGrid;
    grid->scrollTo(Grid().index(row, 1));
    return DoubleClick(grid->viewport(), grid->visualRect(Grid().index(row, 1)).center());
  }
};

TEST_F(DetailWindowTest, RecommendationOpensTheMatchWindowWithItsTextsAndHighlights) {
  struct Case {
    const char* name;
    std::string line;
    int height;
    std::vector<QString> asian;  // 透明标签1..3
    std::vector<QString> pictures;
  };
  const std::vector<Case> cases = {
      {"ordinary reasons",
       TipLine(1, "主场强势，客场疲软", "0.9|半球|1.0", "12", "21"),
       605,
       {QStringLiteral("0.9"), QStringLiteral("半球"), QStringLiteral("1.0")},
       {QStringLiteral("图片框2"), QStringLiteral("图片框4")}},
      {"reasons 无 give the short window",
       TipLine(2, "无", "||", "13", "23"),
       255,
       {QString(), QString(), QString()},
       {QStringLiteral("图片框3"), QStringLiteral("图片框6")}},
      {"empty reasons are not 无",
       TipLine(3, "", "a|b|c", "99", "11"),
       605,
       {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")},
       {}},
  };
  for (const Case& c : cases) {
    controller_->DataPush(c.line);
    const std::optional<Seen> seen = DoubleClickRecommendation(0);
    ASSERT_TRUE(seen.has_value()) << c.name;
    EXPECT_EQ(seen->title, QStringLiteral("Qarnis比赛信息")) << c.name;
    EXPECT_EQ(seen->size, QSize(563, c.height)) << c.name;
    auto text = [&](const char* name) { return seen->texts.at(QString::fromUtf8(name)); };
    EXPECT_EQ(text("标签_球队1"), controller_->Selected().home) << c.name;
    EXPECT_TRUE(text("标签_球队1").startsWith(QStringLiteral("主队"))) << c.name;
    EXPECT_TRUE(text("标签_球队2").startsWith(QStringLiteral("客队"))) << c.name;
    EXPECT_TRUE(text("标签_比赛时间").startsWith(QStringLiteral("05-01 20:"))) << c.name;
    EXPECT_EQ(text("标签6"), QStringLiteral("VS"));
    EXPECT_EQ(text("标签7"), QStringLiteral("比赛时间："));
    EXPECT_EQ(text("标签1"), QStringLiteral("竞彩亚盘"));
    EXPECT_EQ(text("标签3"), QStringLiteral("竞彩建议"));
    EXPECT_EQ(text("透明标签1"), c.asian[0]) << c.name;
    EXPECT_EQ(text("透明标签2"), c.asian[1]) << c.name;
    EXPECT_EQ(text("透明标签3"), c.asian[2]) << c.name;
    EXPECT_EQ(text("透明标签4"), QStringLiteral("2.1"));
    EXPECT_EQ(text("透明标签6"), QStringLiteral("3.5"));
    EXPECT_EQ(seen->visiblePictures, c.pictures) << c.name << ": no result picture from a recommendation";
    EXPECT_EQ(seen->reasons, controller_->Selected().reasons) << c.name;
    EXPECT_TRUE(seen->reasonsReadOnly);
  }
}

TEST_F(DetailWindowTest, HistoryRowShowsItsResultAndARecommendationAfterwardsShowsNone) {
  const std::vector<std::pair<const char*, const char*>> results = {{"赢", "输赢图片框1"},
                                                                    {"赢半", "输赢图片框2"},
                                                                    {"走", "输赢图片框3"},
                                                                    {"输", "输赢图片框4"},
                                                                    {"输半", "输赢图片框5"}};
  for (const auto& [word, box] : results) {
    controller_->HistoryPush(HistoryLine(1, word, "历史理由"));
    const std::optional<Seen> seen = DoubleClickHistory(1);
    ASSERT_TRUE(seen.has_value()) << word;
    EXPECT_EQ(seen->size, QSize(563, 605));
    EXPECT_EQ(seen->texts.at(QStringLiteral("标签_球队1")), QStringLiteral("主队1"));
    EXPECT_EQ(seen->texts.at(QStringLiteral("透明标签2")), QStringLiteral("半球"));
    EXPECT_EQ(seen->reasons, QStringLiteral("历史理由1"));
    const std::vector<QString> expected = {QString::fromUtf8(box), QStringLiteral("图片框3"),
                                           QStringLiteral("图片框5")};
    std::vector<QString> sorted = expected;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(seen->visiblePictures, sorted) << word;
    EXPECT_TRUE(controller_->Selected().result.isEmpty()) << "result is emptied after the display";
  }

  controller_->DataPush(TipLine(1, "理由", "1|2|3", "11", "22"));
  const std::optional<Seen> seen = DoubleClickRecommendation(0);
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->visiblePictures,
            (std::vector<QString>{QStringLiteral("图片框1"), QStringLiteral("图片框5")}));
}

TEST_F(DetailWindowTest, EmptyRowsAndTheHeaderRowOpenNothing) {
  controller_->DataPush("\r\n" + TipLine(1));
  EXPECT_FALSE(DoubleClickRecommendation(0).has_value()) << "row with an empty match time";
  EXPECT_TRUE(DoubleClickRecommendation(1).has_value());

  controller_->HistoryPush(HistoryLine(1));
  EXPECT_FALSE(DoubleClickHistory(5).has_value()) << "empty grid row";
  EXPECT_TRUE(DoubleClickHistory(1).has_value());
  QTableView* grid = widgets_.historyGrid;
  std::optional<Seen> header = DoubleClick(grid->horizontalHeader()->viewport(), QPoint(100, 10));
  EXPECT_FALSE(header.has_value()) << "header row";
  grid->setCurrentIndex(Grid().index(0, 1));
  {
    bool opened = false;
    ModalDriver driver(
        [&](QWidget* w) {
          opened = true;
          static_cast<QDialog*>(w)->accept();
        },
        2000);
    controller_->OpenMatchFromHistory();
    EXPECT_FALSE(opened) << "cursor on the header row";
  }

  controller_->NoticePush("");
  EXPECT_EQ(widgets_.notices->topLevelItemCount(), 1);
  QTreeWidget* notices = widgets_.notices;
  EXPECT_FALSE(DoubleClick(notices->viewport(), notices->visualItemRect(notices->topLevelItem(0)).center()))
      << "notice row with empty text";
}

TEST_F(DetailWindowTest, NoticeRowOpensTheNoticeDetailWindow) {
  controller_->NoticePush(G("周末停赛安排，详见官网|||||滚动|||||2024-05-03 09:30"));
  QTreeWidget* list = widgets_.notices;
  const std::optional<Seen> seen =
      DoubleClick(list->viewport(), list->visualItemRect(list->topLevelItem(0)).center());
  ASSERT_TRUE(seen.has_value());
  EXPECT_EQ(seen->title, QStringLiteral("Qarnis详细公告"));
  EXPECT_EQ(seen->size, QSize(532, 581));
  EXPECT_EQ(seen->texts.at(QStringLiteral("标签1")), QStringLiteral("公告发布的时间："));
  EXPECT_EQ(seen->texts.at(QStringLiteral("标签2")), QStringLiteral("2024-05-03 09:30"));
  EXPECT_EQ(seen->reasons, QStringLiteral("周末停赛安排，详见官网"));
  EXPECT_TRUE(seen->reasonsReadOnly);
}

TEST(MatchWindowLayout, ControlsHaveTheirPlacesAndResultIsEmptiedAtDestruction) {
  SelectedMatch selected;
  selected.reasons = QStringLiteral("理由");
  selected.result = QStringLiteral("走");
  selected.asian = QStringLiteral("a|b");  // fewer than three pieces: the third stays empty
  auto window = std::make_unique<MatchWindow>(selected);
  EXPECT_TRUE(selected.result.isEmpty());
  struct Place {
    const char* name;
    QRect geometry;
  };
  const std::vector<Place> places = {
      {"标签_球队1", {1, 23, 260, 24}},      {"标签6", {263, 23, 32, 24}},
      {"标签_球队2", {297, 23, 260, 24}},    {"标签7", {176, 65, 96, 24}},
      {"标签_比赛时间", {281, 65, 215, 24}}, {"标签1", {88, 108, 83, 24}},
      {"透明标签1", {176, 108, 80, 30}},     {"透明标签3", {357, 108, 80, 30}},
      {"图片框1", {180, 112, 80, 30}},       {"图片框6", {361, 151, 80, 30}},
      {"标签3", {88, 149, 83, 24}},          {"透明标签5", {266, 147, 80, 30}},
      {"标签2", {168, 145, 280, 3}},         {"标签4", {263, 104, 3, 88}},
      {"标签5", {354, 104, 3, 88}},          {"输赢图片框1", {488, 128, 36, 36}},
      {"输赢图片框5", {488, 128, 36, 36}},   {"分组框1", {1, 235, 556, 341}},
      {"超级编辑框1", {3, 16, 549, 320}},
  };
  for (const Place& p : places) {
    auto* child = window->findChild<QWidget*>(QString::fromUtf8(p.name));
    ASSERT_NE(child, nullptr) << p.name;
    EXPECT_EQ(child->geometry(), p.geometry) << p.name;
  }
  EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("透明标签2"))->text(), QStringLiteral("b"));
  EXPECT_TRUE(window->findChild<QLabel*>(QStringLiteral("透明标签3"))->text().isEmpty());
  EXPECT_FALSE(window->findChild<QLabel*>(QStringLiteral("输赢图片框3"))->isHidden());
  EXPECT_EQ(window->findChild<QGroupBox*>(QStringLiteral("分组框1"))->title(), QStringLiteral("核心理由"));
  selected.result = QStringLiteral("赢");
  window.reset();
  EXPECT_TRUE(selected.result.isEmpty());
}

}  // namespace
}  // namespace qarnis::tips
