#include "tips/TipsController.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QLabel>
#include <QTableView>
#include <QTimer>
#include <QTreeWidget>
#include <array>

#include "text/GbkText.h"
#include "tips/RecordFile.h"
#include "tips/TipRecords.h"
#include "tips/TipsLists.h"
#include "ui/GbkQt.h"

namespace qarnis::tips {

namespace {

constexpr int kLayoutColumns = 15;  // columns 0 to 14; the reasons column keeps the grid's defaults
constexpr int kGridFontPixels = 18;
constexpr int kHeaderRowHeight = 23;

struct GridColumn {
  int width;
  const char* header;  // UTF-8; empty for none
};

constexpr std::array<GridColumn, HistoryGridModel::kColumns> kGridColumns = {{
    {70, "球赛"},
    {145, "比赛时间"},
    {150, "比赛球队"},
    {55, "比分"},
    {150, "比赛球队"},
    {145, "亚洲 走势"},
    {145, "欧洲 走势"},
    {0, ""},
    {0, ""},
    {0, ""},
    {0, ""},
    {0, ""},
    {0, ""},
    {40, "结果"},
    {0, ""},
    {78, "核心理由"},
}};

QString Counted(const char* caption, long long count) {
  return QString::fromUtf8(caption) + QString::number(count);
}

}  // namespace

TipsController::TipsController(TipsWidgets widgets, TipsHooks hooks, QWidget* dialogParent)
    : QObject(dialogParent),
      w_(widgets),
      hooks_(std::move(hooks)),
      dialogParent_(dialogParent),
      model_(new HistoryGridModel(this)),
      alive_(std::make_shared<bool>(true)) {
  SetUpRecommendationsList(w_.recommendations);
  SetUpNoticesList(w_.notices);
  model_->SetRowCount(HistoryGridModel::kDesignRows);
  SetUpHistoryGrid(w_.historyGrid, model_);
  for (QLabel* label :
       {w_.total, w_.win, w_.halfWin, w_.push, w_.loss, w_.halfLoss, w_.rateCaption, w_.rate}) {
    if (label != nullptr) label->hide();
  }
  if (w_.rateCaption != nullptr) w_.rateCaption->setText(QStringLiteral("命中率："));

  connect(w_.recommendations, &QTreeWidget::itemDoubleClicked, this,
          [this] { OpenMatchFromRecommendations(); });
  connect(w_.notices, &QTreeWidget::itemDoubleClicked, this, [this] { OpenNoticeDetail(); });
  connect(w_.historyGrid, &QAbstractItemView::doubleClicked, this, [this] { OpenMatchFromHistory(); });
}

TipsController::~TipsController() = default;

void TipsController::Pause() {
  if (hooks_.pauseLiveFeed) hooks_.pauseLiveFeed();
}

void TipsController::Resume() {
  if (hooks_.resumeLiveFeed) hooks_.resumeLiveFeed();
}

void TipsController::Announce(const QString& word) {
  if (hooks_.announceNews) hooks_.announceNews(word);
}

bool TipsController::IsSpecialAccount() const {
  return hooks_.accountName && hooks_.accountName() == kSpecialAccount;
}

bool TipsController::Settle() {
  // Copies: the controller may be gone when a nested loop returns (the window closed meanwhile).
  const std::weak_ptr<bool> alive = alive_;
  const int steps = hooks_.settleSteps;
  const int stepMs = hooks_.settleStepMs;
  for (int i = 0; i < steps; ++i) {
    if (stepMs > 0) {
      QEventLoop loop;
      QTimer::singleShot(stepMs, &loop, &QEventLoop::quit);
      loop.exec();
    } else {
      QCoreApplication::processEvents();
    }
    if (alive.expired()) return false;
  }
  return true;
}

// --- recommendations -------------------------------------------------------------------------------------

void TipsController::DataPush(const std::string& field1) {
  Pause();
  recommendationsHolder.clear();
  w_.recommendations->clear();
  recommendationsHolder = field1;
  FillRecommendations();
}

void TipsController::EmptyPush() {
  w_.recommendations->clear();
  recommendationsHolder.clear();
}

void TipsController::AppendRecommendationRows() {
  for (std::string_view line : text::SplitViews(recommendationsHolder, kLineBreak)) {
    AppendRecommendationRow(w_.recommendations, ParseTipRecord(line));
  }
}

void TipsController::FillRecommendations() {
  if (!recommendationsHolder.empty()) {
    AppendRecommendationRows();
    Announce(QStringLiteral("新消息推送"));
  }
  Resume();
}

// --- history ---------------------------------------------------------------------------------------------

void TipsController::ApplyHistoryGridLayout(int lastRow) {
  static const std::array<std::string, HistoryGridModel::kColumns> headers = [] {
    std::array<std::string, HistoryGridModel::kColumns> gbk;
    for (std::size_t c = 0; c < gbk.size(); ++c) gbk[c] = text::Utf8ToGbk(kGridColumns[c].header);
    return gbk;
  }();
  const int last = std::min(lastRow, model_->rowCount() - 1);
  model_->BeginBulkUpdate();
  for (int r = 0; r <= last; ++r) {
    for (int c = 0; c < kLayoutColumns; ++c) model_->SetCellFormat(r, c, kGridFontPixels);
  }
  model_->SetRowHeight(0, kHeaderRowHeight);
  for (int c = 0; c < HistoryGridModel::kColumns; ++c) {
    model_->SetColumnWidth(c, kGridColumns[static_cast<std::size_t>(c)].width);
    if (!headers[static_cast<std::size_t>(c)].empty())
      model_->SetCellText(0, c, headers[static_cast<std::size_t>(c)]);
  }
  model_->EndBulkUpdate();
}

void TipsController::FillGridRows(ResultCounts* counts) {
  model_->SetPictureColumn(HistoryGridModel::kPictureColumn);
  const std::vector<std::string_view> lines = text::SplitViews(historyHolder, kLineBreak);
  const int rows = model_->rowCount();
  model_->BeginBulkUpdate();
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const int row = static_cast<int>(i) + 1;
    if (row >= rows && counts == nullptr) break;  // rows past the last one are not shown
    HistoryRecord record = ParseHistoryRecord(lines[i]);
    if (counts != nullptr) counts->Add(record.result);
    if (row >= rows) continue;
    for (int c = 0; c <= kState; ++c)
      model_->SetCellText(row, c, std::move(record.fields[static_cast<std::size_t>(c)]));
    // Set even when there is none, so a picture left from earlier data never sits beside another result.
    model_->SetCellPicture(row, HistoryGridModel::kPictureColumn, record.result);
    model_->SetCellText(row, HistoryGridModel::kResultTextColumn, std::move(record.fields[kResult]));
    model_->SetCellText(row, HistoryGridModel::kReasonsColumn, std::move(record.reasons));
  }
  model_->EndBulkUpdate();
}

void TipsController::HistoryPush(const std::string& field1) {
  Pause();
  historyHolder.clear();
  const RecordFile file(hooks_.historyFile);
  // When the disk refuses the write, the pushed record is still shown (the file keeps its old content).
  const std::string content =
      file.Prepend(field1) ? file.Read() : field1 + std::string(kLineBreak) + file.Read();
  const bool special = IsSpecialAccount();
  historyHolder = FirstLines(content, special ? 0 : kRecentHistoryLines);
  model_->Clear();
  if (!Settle()) return;
  if (!special) {
    ApplyHistoryGridLayout(HistoryGridModel::kDesignRows);
    FillRecentHistory();
  } else if (historyHolder.empty()) {
    Resume();
  } else {
    FillFullHistory();
  }
}

void TipsController::FillRecentHistory() {
  if (!historyHolder.empty()) FillGridRows(nullptr);
  Resume();
}

void TipsController::FillFullHistory() {
  if (historyHolder.empty()) return;
  Pause();
  w_.recent->hide();
  w_.total->show();
  const RecordFile file(hooks_.historyFile);
  const std::string content = file.Replace(historyHolder) ? file.Read() : historyHolder;
  const std::size_t n = text::SplitViews(content, kLineBreak).size();
  for (QLabel* label : {w_.win, w_.halfWin, w_.push, w_.loss, w_.halfLoss, w_.rateCaption, w_.rate})
    label->show();
  model_->Clear();
  if (!Settle()) return;
  const int rows = static_cast<int>(std::min<std::size_t>(n, static_cast<std::size_t>(INT_MAX - 1)) + 1);
  model_->SetRowCount(rows);
  ApplyHistoryGridLayout(rows);
  ResultCounts counts;
  FillGridRows(&counts);
  w_.win->setText(Counted("赢:", counts.win));
  w_.halfWin->setText(Counted("赢半:", counts.halfWin));
  w_.push->setText(Counted("走:", counts.push));
  w_.loss->setText(Counted("输:", counts.loss));
  w_.halfLoss->setText(Counted("输半:", counts.halfLoss));
  w_.rate->setText(QString::fromStdString(HitRateText(counts)));
  w_.total->setText(QStringLiteral("总场次 ") + QString::number(n) + QStringLiteral("场："));
  Resume();
}

// --- notices ---------------------------------------------------------------------------------------------

void TipsController::AppendNoticeRows() {
  for (std::string_view line : text::SplitViews(noticesHolder, kLineBreak)) {
    AppendNoticeRow(w_.notices, ParseNoticeRecord(line));
  }
}

void TipsController::NoticePush(const std::string& field1) {
  Pause();
  noticesHolder.clear();
  w_.notices->clear();
  const RecordFile file(hooks_.noticesFile);
  const std::string content =
      file.Prepend(field1) ? file.Read() : field1 + std::string(kLineBreak) + file.Read();
  noticesHolder = FirstLines(content, kRecentNoticeLines);
  FillNotices();
}

void TipsController::FillNotices() {
  if (!noticesHolder.empty()) {
    AppendNoticeRows();
    Announce(QStringLiteral("新的公告"));
  }
  Resume();
}

// --- first login and reset -------------------------------------------------------------------------------

void TipsController::EmptyHolders() {
  recommendationsHolder.clear();
  historyHolder.clear();
  noticesHolder.clear();
}

void TipsController::ResetViews() {
  w_.recommendations->clear();
  w_.notices->clear();
  model_->Clear();
  ApplyHistoryGridLayout(HistoryGridModel::kDesignRows);
}

void TipsController::FillFirstLoginData() {
  if (!recommendationsHolder.empty()) AppendRecommendationRows();
  if (!historyHolder.empty()) {
    RecordFile(hooks_.historyFile).Replace(historyHolder);
    FillGridRows(nullptr);
  }
  if (!noticesHolder.empty()) {
    RecordFile(hooks_.noticesFile).Replace(noticesHolder);
    AppendNoticeRows();
  }
  Resume();
}

// --- double-clicks ---------------------------------------------------------------------------------------

void TipsController::OpenMatchFromRecommendations() {
  const QList<QTreeWidgetItem*> selected = w_.recommendations->selectedItems();
  if (selected.isEmpty() || selected.first()->text(1).isEmpty()) return;
  const QTreeWidgetItem* row = selected.first();
  selectedMatch_.time = row->text(1);
  selectedMatch_.home = row->text(2);
  selectedMatch_.away = row->text(4);
  selectedMatch_.asian = row->text(5);
  selectedMatch_.european = row->text(6);
  selectedMatch_.asianPick = row->text(10);
  selectedMatch_.europeanPick = row->text(11);
  selectedMatch_.reasons = row->text(13);
  MatchWindow window(selectedMatch_, dialogParent_);
  window.exec();
}

void TipsController::OpenMatchFromHistory() {
  const QModelIndex cursor = w_.historyGrid->currentIndex();
  // Row 0 is the header row: it opens nothing, like an empty row.
  if (!cursor.isValid() || cursor.row() <= 0) return;
  const int row = cursor.row();
  if (model_->CellBytes(row, 1).empty()) return;
  selectedMatch_.time = model_->CellText(row, 1);
  selectedMatch_.home = model_->CellText(row, 2);
  selectedMatch_.away = model_->CellText(row, 4);
  selectedMatch_.asian = model_->CellText(row, 5);
  selectedMatch_.european = model_->CellText(row, 6);
  selectedMatch_.asianPick = model_->CellText(row, 10);
  selectedMatch_.europeanPick = model_->CellText(row, 11);
  selectedMatch_.result = model_->CellText(row, HistoryGridModel::kResultTextColumn);
  selectedMatch_.reasons = model_->CellText(row, HistoryGridModel::kReasonsColumn);
  MatchWindow window(selectedMatch_, dialogParent_);
  window.exec();
}

void TipsController::OpenNoticeDetail() {
  const QList<QTreeWidgetItem*> selected = w_.notices->selectedItems();
  if (selected.isEmpty() || selected.first()->text(0).isEmpty()) return;
  selectedNotice_.time = selected.first()->text(2);
  selectedNotice_.content = selected.first()->text(0);
  NoticeDetailWindow window(selectedNotice_, dialogParent_);
  window.exec();
}

}  // namespace qarnis::tips
