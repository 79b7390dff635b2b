#pragma once
// The live list: one row of GBK texts per match, updated in place by ApplyLiveMatch and sorted by a click on
// a column header. Texts become QStrings only when a view asks for them.
#include <QAbstractTableModel>
#include <QStringList>
#include <functional>

#include "live/LiveMatch.h"
#include "live/LiveRows.h"

class QTableView;

namespace qarnis::live {

class LiveFeedThread;

class LiveListModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit LiveListModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

  // Inserts the match's row (numbered with the new row count) or rewrites columns 1 to 9 of its row.
  void ApplyLiveMatch(const LiveMatch& match);

  // The header click: flips the column's arrow and sorts the rows by that column. Rows move whole.
  void HeaderClicked(int column);

  const LiveRows& Rows() const { return rows_; }
  QString ColumnTitle(int column) const;

 private:
  LiveRows rows_;
  QStringList titles_;
  std::vector<Qt::Alignment> alignments_;
};

// Applies the columns of the live list to `view` (titles, widths, hidden id column, alignment, fonts).
void SetUpLiveList(QTableView* view, LiveListModel* model);

// Connects header clicks of `view` to the model's sort, keeping the selected row selected and in view.
void ConnectHeaderSort(QTableView* view, LiveListModel* model);

// A hand-over for RunFetchLoop: queues each row to the model's thread and waits until it was applied, or
// until `thread` is asked to stop (so program exit never hangs on a row the window thread will not take).
std::function<void(LiveMatch&&)> MakeLiveHandOver(LiveListModel* model, const LiveFeedThread& thread);

}  // namespace qarnis::live
