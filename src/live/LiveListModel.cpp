#include "live/LiveListModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QMetaObject>
#include <QTableView>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>

#include "live/LiveFeedThread.h"
#include "ui/GbkQt.h"
#include "ui/Skin.h"

namespace qarnis::live {
namespace {

struct ColumnLayout {
  const char* title;  // UTF-8
  int width;
  Qt::Alignment alignment;
};

const ColumnLayout kColumns[kLiveColumnCount] = {
    {"序号↑", 50, Qt::AlignLeft},         {"球赛↑", 70, Qt::AlignHCenter},
    {"时间↑", 70, Qt::AlignHCenter},      {"比赛球队↑", 150, Qt::AlignHCenter},
    {"比分↑", 55, Qt::AlignHCenter},      {"比赛球队↑", 150, Qt::AlignHCenter},
    {"亚洲走势↑", 130, Qt::AlignHCenter}, {"大小球走势↑", 130, Qt::AlignHCenter},
    {"欧洲走势↑", 130, Qt::AlignHCenter}, {"id", 0, Qt::AlignLeft},
};

constexpr int kListFontPx = 14;
constexpr const char* kSortConnectedProperty = "qarnisLiveHeaderSort";

}  // namespace

LiveListModel::LiveListModel(QObject* parent) : QAbstractTableModel(parent) {
  for (const ColumnLayout& column : kColumns) {
    titles_.push_back(QString::fromUtf8(column.title));
    alignments_.push_back(column.alignment);
  }
}

int LiveListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.Size());
}

int LiveListModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(kLiveColumnCount);
}

QVariant LiveListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount()) return {};
  if (role == Qt::DisplayRole)
    return ui::ToQ(
        rows_.Row(static_cast<std::size_t>(index.row()))[static_cast<std::size_t>(index.column())]);
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(alignments_[static_cast<std::size_t>(index.column())] | Qt::AlignVCenter);
  return {};
}

QVariant LiveListModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= titles_.size()) return {};
  if (role == Qt::DisplayRole) return titles_[section];
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(alignments_[static_cast<std::size_t>(section)] | Qt::AlignVCenter);
  return {};
}

QString LiveListModel::ColumnTitle(int column) const {
  return column >= 0 && column < titles_.size() ? titles_[column] : QString();
}

void LiveListModel::ApplyLiveMatch(const LiveMatch& match) {
  const std::size_t existing = rows_.Find(match.matchId);
  if (existing == LiveRows::npos) {
    const int row = rowCount();
    beginInsertRows(QModelIndex(), row, row);
    rows_.Apply(match);
    endInsertRows();
    return;
  }
  rows_.Apply(match);
  const int row = static_cast<int>(existing);
  emit dataChanged(index(row, 1), index(row, static_cast<int>(kLiveColumnCount) - 1), {Qt::DisplayRole});
}

void LiveListModel::HeaderClicked(int column) {
  if (column < 0 || column >= titles_.size()) return;
  const TitleFlip flip = FlipTitleArrow(titles_[column].toStdString());
  titles_[column] = QString::fromStdString(flip.title);
  emit headerDataChanged(Qt::Horizontal, column, column);
  if (rows_.Size() == 0) return;

  emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
  const std::vector<std::size_t> order = rows_.Sort(static_cast<std::size_t>(column), flip.descending);
  std::vector<int> newRowOf(order.size());
  for (std::size_t to = 0; to < order.size(); ++to) newRowOf[order[to]] = static_cast<int>(to);
  const QModelIndexList before = persistentIndexList();
  QModelIndexList after;
  after.reserve(before.size());
  for (const QModelIndex& old : before)
    after.push_back(index(newRowOf[static_cast<std::size_t>(old.row())], old.column()));
  changePersistentIndexList(before, after);
  emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void ConnectHeaderSort(QTableView* view, LiveListModel* model) {
  if (view->property(kSortConnectedProperty).toBool()) return;
  view->setProperty(kSortConnectedProperty, true);
  QObject::connect(view->horizontalHeader(), &QHeaderView::sectionClicked, view, [view, model](int column) {
    model->HeaderClicked(column);
    // The selection follows its row through the persistent indexes; keep that row in sight.
    if (QItemSelectionModel* selection = view->selectionModel()) {
      const QModelIndexList rows = selection->selectedRows();
      if (!rows.isEmpty()) view->scrollTo(rows.front());
    }
  });
}

void SetUpLiveList(QTableView* view, LiveListModel* model) {
  view->setModel(model);
  view->setFont(ui::UiFont(kListFontPx));
  view->horizontalHeader()->setFont(ui::UiFont(kListFontPx));
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSortingEnabled(false);
  view->setWordWrap(false);
  view->setShowGrid(false);
  view->verticalHeader()->hide();
  // Fixed row heights keep updates of thousands of rows cheap: the view never measures contents.
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(QFontMetrics(ui::UiFont(kListFontPx)).height() + 6);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
  view->horizontalHeader()->setSectionsClickable(true);
  view->horizontalHeader()->setHighlightSections(false);
  view->horizontalHeader()->setStretchLastSection(false);
  for (int c = 0; c < static_cast<int>(kLiveColumnCount); ++c) {
    view->setColumnWidth(c, kColumns[c].width);
    view->setColumnHidden(c, kColumns[c].width == 0);
  }
  ConnectHeaderSort(view, model);
}

std::function<void(LiveMatch&&)> MakeLiveHandOver(LiveListModel* model, const LiveFeedThread& thread) {
  return [model, &thread](LiveMatch&& match) {
    if (QThread::currentThread() == model->thread()) {
      model->ApplyLiveMatch(match);
      return;
    }
    struct Handed {
      std::mutex mutex;
      std::condition_variable applied;
      bool done = false;
    };
    auto handed = std::make_shared<Handed>();
    QMetaObject::invokeMethod(
        model,
        [model, handed, match = std::move(match)] {
          model->ApplyLiveMatch(match);
          {
            std::lock_guard lock(handed->mutex);
            handed->done = true;
          }
          handed->applied.notify_all();
        },
        Qt::QueuedConnection);
    // The stop flag has no wake-up of its own here, so it is looked at between short waits.
    std::unique_lock lock(handed->mutex);
    while (!handed->done && !thread.StopRequested())
      handed->applied.wait_for(lock, std::chrono::milliseconds(50));
  };
}

}  // namespace qarnis::live
