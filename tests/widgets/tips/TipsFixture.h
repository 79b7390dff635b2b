#pragma once
// Real widgets of the tips page in a real (offscreen) window, a tips controller over them, files in a
// temporary folder, and hooks that record the live-feed pauses and the announcements.
#include <gtest/gtest.h>
#include <QLabel>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <QWidget>

#include <memory>
#include <string>

#include "TempFolder.h"
#include "text/GbkText.h"
#include "tips/TipsController.h"

namespace qarnis::tips {

inline std::string G(const std::string& utf8) { return text::Utf8ToGbk(utf8); }

// A recommendation line: 13 fields, the marker, the reasons.
inline std::string TipLine(int n, const std::string& reasons = "状态好，值得一博",
                           const std::string& asian = "0.9|半球|1.0", const std::string& asianPick = "12",
                           const std::string& europeanPick = "21") {
  const std::string k = std::to_string(n);
  return G("英超" + k + "，05-01 20:" + k + "，主队" + k + "，-，客队" + k + "，" + asian +
           "，2.1|3.2|3.5，亚" + k + "，欧" + k + "，18:00，" + asianPick + "，" + europeanPick +
           "，未开，") +
         "\\\\Qarnis//" + G(reasons);
}

// A history line: 14 fields, the marker, the reasons.
inline std::string HistoryLine(int n, const std::string& result = "赢", const std::string& reasons = "理由") {
  const std::string k = std::to_string(n);
  return G("英超，时间" + k + "，主队" + k + "，2:1，客队" + k +
           "，0.9|半球|1.0，2.1|3.2|3.5，亚，欧，18:00，13，22，完场，" + result + "，") +
         "\\\\Qarnis//" + G(reasons + k);
}

inline std::string NoticeLine(int n) {
  return G("公告" + std::to_string(n) + "|||||LED|||||2024-05-01 " + std::to_string(n));
}

class TipsFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    window_ = std::make_unique<QWidget>();
    window_->resize(1018, 850);
    widgets_.recommendations = Make<QTreeWidget>("超级列表框3", {3, 130, 1002, 178});
    widgets_.notices = Make<QTreeWidget>("超级列表框4", {3, 15, 561, 83});
    widgets_.historyGrid = Make<QTableView>("高级表格_球赛历史", {5, 340, 999, 336});
    widgets_.total = Make<QLabel>("标签6", {347, 421, 100, 13});
    widgets_.recent = Make<QLabel>("标签7", {454, 325, 100, 13});
    widgets_.recent->setText(QStringLiteral("最近50场历史记录"));
    widgets_.win = Make<QLabel>("标签_赢", {455, 421, 40, 13});
    widgets_.halfWin = Make<QLabel>("标签_赢半", {500, 421, 40, 13});
    widgets_.push = Make<QLabel>("标签_走", {545, 421, 40, 13});
    widgets_.loss = Make<QLabel>("标签_输", {590, 421, 40, 13});
    widgets_.halfLoss = Make<QLabel>("标签_输半", {635, 421, 40, 13});
    widgets_.rateCaption = Make<QLabel>("标签_命中率", {680, 421, 50, 13});
    widgets_.rate = Make<QLabel>("标签_命中率的率", {735, 421, 50, 13});

    TipsHooks hooks;
    hooks.pauseLiveFeed = [this] {
      ++pauses_;
      paused_ = true;
    };
    hooks.resumeLiveFeed = [this] {
      ++resumes_;
      paused_ = false;
    };
    hooks.announceNews = [this](const QString& word) { announced_ << word; };
    hooks.accountName = [this] { return account_; };
    hooks.historyFile = folder_.File("LTLiShiJiLu.txt");
    hooks.noticesFile = folder_.File("LTLiShiGongGao.txt");
    hooks.settleSteps = 10;
    hooks.settleStepMs = 1;
    controller_ = std::make_unique<TipsController>(widgets_, std::move(hooks), window_.get());
    controller_->ApplyHistoryGridLayout(51);
    window_->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
  }

  void TearDown() override {
    EXPECT_FALSE(paused_) << "the live feed was left paused";
    controller_.reset();
    window_.reset();
  }

  template <typename W>
  W* Make(const char* name, QRect geometry) {
    auto* widget = new W(window_.get());
    widget->setObjectName(QString::fromUtf8(name));
    widget->setGeometry(geometry);
    return widget;
  }

  std::string HistoryPath() const { return folder_.File("LTLiShiJiLu.txt"); }
  std::string NoticesPath() const { return folder_.File("LTLiShiGongGao.txt"); }
  HistoryGridModel& Grid() { return *controller_->HistoryModel(); }

  testing::TempFolder folder_;
  std::unique_ptr<QWidget> window_;
  TipsWidgets widgets_;
  std::unique_ptr<TipsController> controller_;
  std::string account_ = "ordinary";
  int pauses_ = 0;
  int resumes_ = 0;
  bool paused_ = false;
  QStringList announced_;
};

}  // namespace qarnis::tips
