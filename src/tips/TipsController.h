#pragma once
// The tips side of the main window: the three holders, the pushes and fills of the recommendations list,
// the history grid and the notices list, and the double-clicks that open the detail windows. Everything
// runs on the window thread; every path that pauses the live feed resumes it before it returns.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "tips/HistoryGridModel.h"
#include "tips/HitRate.h"
#include "tips/MatchWindow.h"
#include "tips/NoticeDetailWindow.h"

class QLabel;
class QTableView;
class QTreeWidget;
class QWidget;

namespace qarnis::tips {

inline constexpr std::string_view kSpecialAccount = "mossfield4";
inline constexpr int kRecentHistoryLines = 50;
inline constexpr int kRecentNoticeLines = 30;

struct TipsWidgets {
  QTreeWidget* recommendations = nullptr;  // 超级列表框3
  QTreeWidget* notices = nullptr;          // 超级列表框4
  QTableView* historyGrid = nullptr;       // 高级表格_球赛历史
  QLabel* total = nullptr;                 // 标签6
  QLabel* recent = nullptr;                // 标签7
  QLabel* win = nullptr;                   // 标签_赢
  QLabel* halfWin = nullptr;               // 标签_赢半
  QLabel* push = nullptr;                  // 标签_走
  QLabel* loss = nullptr;                  // 标签_输
  QLabel* halfLoss = nullptr;              // 标签_输半
  QLabel* rateCaption = nullptr;           // 标签_命中率
  QLabel* rate = nullptr;                  // 标签_命中率的率
};

struct TipsHooks {
  std::function<void()> pauseLiveFeed;
  std::function<void()> resumeLiveFeed;
  std::function<void(const QString& word)> announceNews;  // AnnounceNews
  std::function<std::string()> accountName;               // GBK text of 编辑框_账号, read when needed
  std::string historyFile;                                // from ClientEnvironment
  std::string noticesFile;
  int settleSteps = 10;  // the one-second wait before a history view is rebuilt
  int settleStepMs = 100;
};

class TipsController : public QObject {
  Q_OBJECT
 public:
  // Configures the two lists and the grid (its model has the design's 51 rows) and connects the
  // double-clicks. The detail windows open modally over `dialogParent`.
  TipsController(TipsWidgets widgets, TipsHooks hooks, QWidget* dialogParent);
  ~TipsController() override;

  // The three holders (编辑框_临时今日推荐, 编辑框_临时历史球赛, 编辑框_临时公告), GBK.
  std::string recommendationsHolder;
  std::string historyHolder;
  std::string noticesHolder;

  void DataPush(const std::string& field1);     // "ShuJuTuiSong"
  void EmptyPush();                             // "TuiSongKongShuJu"
  void HistoryPush(const std::string& field1);  // "LiShuDuiCuo"
  void NoticePush(const std::string& field1);   // "LiShiGongGao"

  void EmptyHolders();
  // Deletes the rows of both lists, clears the grid and applies the layout to its 51 design rows.
  void ResetViews();
  // Recommendations, history and notices steps from the holders; ends with the resume of the live feed.
  void FillFirstLoginData();
  void FillRecommendations();
  void FillRecentHistory();
  void FillFullHistory();
  void FillNotices();
  void ApplyHistoryGridLayout(int lastRow);

  HistoryGridModel* HistoryModel() { return model_; }
  SelectedMatch& Selected() { return selectedMatch_; }
  SelectedNotice& Notice() { return selectedNotice_; }

  // The double-click handlers (also reachable directly).
  void OpenMatchFromRecommendations();
  void OpenMatchFromHistory();
  void OpenNoticeDetail();

 private:
  void Pause();
  void Resume();
  void Announce(const QString& word);
  bool IsSpecialAccount() const;
  // Rows 1.. from the history holder; counts the results when `counts` is given.
  void FillGridRows(ResultCounts* counts);
  void AppendRecommendationRows();
  void AppendNoticeRows();
  // Waits in steps, handling window events; false when the controller was destroyed meanwhile.
  bool Settle();

  TipsWidgets w_;
  TipsHooks hooks_;
  QPointer<QWidget> dialogParent_;
  HistoryGridModel* model_;
  SelectedMatch selectedMatch_;
  SelectedNotice selectedNotice_;
  std::shared_ptr<bool> alive_;
};

}  // namespace qarnis::tips
