#pragma once
// The history grid as model/view, so that tens of thousands of records fill and scroll quickly.
//
// Row 0 of the model is the grid's fixed header row: it is kept as data (Cell*(0, c) read it like any row),
// and the view shows it as its horizontal header, whose height follows row 0's height. Cell texts are held as
// GBK bytes and turned into QStrings only when a visible cell is painted.
#include <QAbstractTableModel>
#include <QTableView>
#include <string>
#include <string_view>
#include <vector>

#include "tips/TipRecords.h"

namespace qarnis::tips {

class HistoryGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  static constexpr int kColumns = 16;
  static constexpr int kDesignRows = 51;
  static constexpr int kPictureColumn = 13;
  static constexpr int kResultTextColumn = 14;
  static constexpr int kReasonsColumn = 15;
  static constexpr int kDefaultRowHeight = 40;

  explicit HistoryGridModel(QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // Rows added are empty and default-high; rows removed take their cells with them.
  void SetRowCount(int rows);
  // Cell contents, pictures and formats go; the numbers of rows and columns, row heights and column widths
  // stay.
  void Clear();

  // Out-of-range cells are ignored, as the grid ignores rows past its last one.
  void SetCellText(int row, int column, std::string gbk);
  QString CellText(int row, int column) const;
  const std::string& CellBytes(int row, int column) const;
  void SetCellPicture(int row, int column, ResultWord picture);
  ResultWord CellPicture(int row, int column) const;
  // A formatted cell is centred on a single line at the given font height; others keep the grid's defaults.
  void SetCellFormat(int row, int column, int fontPixelSize);
  bool CellFormatted(int row, int column) const;
  int CellFontPixelSize(int row, int column) const;  // 0 when unformatted

  void SetRowHeight(int row, int height);
  int RowHeight(int row) const;
  void SetColumnWidth(int column, int width);
  int ColumnWidth(int column) const;
  // The column whose cells show their picture scaled into the cell, proportions kept, centred.
  void SetPictureColumn(int column) { pictureColumn_ = column; }
  int PictureColumn() const { return pictureColumn_; }

  // Between these the setters emit nothing; the end announces one change of the whole grid.
  void BeginBulkUpdate();
  void EndBulkUpdate();

 signals:
  void RowHeightChanged(int row, int height);
  void ColumnWidthChanged(int column, int width);

 private:
  struct Cell {
    std::string text;
    ResultWord picture = ResultWord::kNone;
    unsigned char fontPixelSize = 0;  // 0: unformatted
  };
  Cell* CellAt(int row, int column);
  const Cell* CellAt(int row, int column) const;
  void CellChanged(int row, int column);

  std::vector<Cell> cells_;  // row-major, kColumns per row
  std::vector<int> rowHeights_;
  std::vector<int> columnWidths_;
  int rows_ = 0;
  int pictureColumn_ = -1;
  int bulk_ = 0;
};

// Binds the view to the model: row 0 as the horizontal header, no row header, fixed row heights and column
// widths that follow the model (0 hides a column), single-line cells, pictures drawn scaled and centred.
void SetUpHistoryGrid(QTableView* view, HistoryGridModel* model);

}  // namespace qarnis::tips
