#include "tips/HistoryGridModel.h"

#include <QHeaderView>
#include <QPainter>
#include <QStyledItemDelegate>

#include "tips/TipsPictures.h"
#include "ui/GbkQt.h"
#include "ui/Skin.h"

namespace qarnis::tips {

namespace {

constexpr int kPictureRole = Qt::UserRole + 1;
constexpr int kDefaultColumnWidth = 64;

const std::string& EmptyBytes() {
  static const std::string empty;
  return empty;
}

// Paints the cell as usual, then its picture scaled into the cell with its proportions kept, centred.
class PictureDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QStyledItemDelegate::paint(painter, option, index);
    const auto word = static_cast<ResultWord>(index.data(kPictureRole).toInt());
    if (word == ResultWord::kNone) return;
    const QPixmap& picture = ResultPicture(word);
    const QSize size = picture.size().scaled(option.rect.size(), Qt::KeepAspectRatio);
    QRect target(QPoint(0, 0), size);
    target.moveCenter(option.rect.center());
    painter->save();
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawPixmap(target, picture);
    painter->restore();
  }
};

}  // namespace

HistoryGridModel::HistoryGridModel(QObject* parent)
    : QAbstractTableModel(parent), columnWidths_(kColumns, kDefaultColumnWidth) {}

int HistoryGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : rows_; }

int HistoryGridModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant HistoryGridModel::data(const QModelIndex& index, int role) const {
  const Cell* cell = CellAt(index.row(), index.column());
  if (cell == nullptr) return {};
  switch (role) {
    case Qt::DisplayRole:
      if (cell->text.empty()) return {};
      return ui::ToQ(cell->text);
    case Qt::TextAlignmentRole:
      if (cell->fontPixelSize == 0) return {};
      return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case Qt::FontRole:
      if (cell->fontPixelSize == 0) return {};
      return ui::UiFont(cell->fontPixelSize);
    case kPictureRole:
      return static_cast<int>(cell->picture);
    default:
      return {};
  }
}

QVariant HistoryGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal) return {};
  // The fixed header row is row 0 of the data.
  return data(index(0, section), role);
}

Qt::ItemFlags HistoryGridModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void HistoryGridModel::SetRowCount(int rows) {
  rows = std::max(rows, 0);
  if (rows == rows_) return;
  if (rows > rows_) {
    beginInsertRows(QModelIndex(), rows_, rows - 1);
  } else {
    beginRemoveRows(QModelIndex(), rows, rows_ - 1);
  }
  cells_.resize(static_cast<std::size_t>(rows) * kColumns);
  rowHeights_.resize(static_cast<std::size_t>(rows), kDefaultRowHeight);
  const bool grew = rows > rows_;
  rows_ = rows;
  if (grew) {
    endInsertRows();
  } else {
    endRemoveRows();
  }
}

void HistoryGridModel::Clear() {
  for (Cell& cell : cells_) cell = Cell{};
  if (bulk_ == 0 && rows_ > 0) {
    emit dataChanged(index(0, 0), index(rows_ - 1, kColumns - 1));
    emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
  }
}

HistoryGridModel::Cell* HistoryGridModel::CellAt(int row, int column) {
  if (row < 0 || row >= rows_ || column < 0 || column >= kColumns) return nullptr;
  return &cells_[static_cast<std::size_t>(row) * kColumns + static_cast<std::size_t>(column)];
}

const HistoryGridModel::Cell* HistoryGridModel::CellAt(int row, int column) const {
  if (row < 0 || row >= rows_ || column < 0 || column >= kColumns) return nullptr;
  return &cells_[static_cast<std::size_t>(row) * kColumns + static_cast<std::size_t>(column)];
}

void HistoryGridModel::CellChanged(int row, int column) {
  if (bulk_ != 0) return;
  const QModelIndex at = index(row, column);
  emit dataChanged(at, at);
  if (row == 0) emit headerDataChanged(Qt::Horizontal, column, column);
}

void HistoryGridModel::SetCellText(int row, int column, std::string gbk) {
  Cell* cell = CellAt(row, column);
  if (cell == nullptr) return;
  cell->text = std::move(gbk);
  CellChanged(row, column);
}

QString HistoryGridModel::CellText(int row, int column) const {
  const Cell* cell = CellAt(row, column);
  return cell == nullptr ? QString() : ui::ToQ(cell->text);
}

const std::string& HistoryGridModel::CellBytes(int row, int column) const {
  const Cell* cell = CellAt(row, column);
  return cell == nullptr ? EmptyBytes() : cell->text;
}

void HistoryGridModel::SetCellPicture(int row, int column, ResultWord picture) {
  Cell* cell = CellAt(row, column);
  if (cell == nullptr) return;
  cell->picture = picture;
  CellChanged(row, column);
}

ResultWord HistoryGridModel::CellPicture(int row, int column) const {
  const Cell* cell = CellAt(row, column);
  return cell == nullptr ? ResultWord::kNone : cell->picture;
}

void HistoryGridModel::SetCellFormat(int row, int column, int fontPixelSize) {
  Cell* cell = CellAt(row, column);
  if (cell == nullptr) return;
  cell->fontPixelSize = static_cast<unsigned char>(std::clamp(fontPixelSize, 1, 255));
  CellChanged(row, column);
}

bool HistoryGridModel::CellFormatted(int row, int column) const {
  return CellFontPixelSize(row, column) != 0;
}

int HistoryGridModel::CellFontPixelSize(int row, int column) const {
  const Cell* cell = CellAt(row, column);
  return cell == nullptr ? 0 : cell->fontPixelSize;
}

void HistoryGridModel::SetRowHeight(int row, int height) {
  if (row < 0 || row >= rows_) return;
  rowHeights_[static_cast<std::size_t>(row)] = height;
  emit RowHeightChanged(row, height);
}

int HistoryGridModel::RowHeight(int row) const {
  if (row < 0 || row >= rows_) return 0;
  return rowHeights_[static_cast<std::size_t>(row)];
}

void HistoryGridModel::SetColumnWidth(int column, int width) {
  if (column < 0 || column >= kColumns) return;
  columnWidths_[static_cast<std::size_t>(column)] = width;
  emit ColumnWidthChanged(column, width);
}

int HistoryGridModel::ColumnWidth(int column) const {
  if (column < 0 || column >= kColumns) return 0;
  return columnWidths_[static_cast<std::size_t>(column)];
}

void HistoryGridModel::BeginBulkUpdate() { ++bulk_; }

void HistoryGridModel::EndBulkUpdate() {
  if (bulk_ == 0 || --bulk_ != 0) return;
  if (rows_ > 0) emit dataChanged(index(0, 0), index(rows_ - 1, kColumns - 1));
  emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
}

void SetUpHistoryGrid(QTableView* view, HistoryGridModel* model) {
  view->setModel(model);
  view->setItemDelegate(new PictureDelegate(view));
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->setSelectionMode(QAbstractItemView::SingleSelection);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setWordWrap(false);
  view->setCornerButtonEnabled(false);
  view->verticalHeader()->hide();
  view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->verticalHeader()->setDefaultSectionSize(HistoryGridModel::kDefaultRowHeight);
  view->verticalHeader()->setMinimumSectionSize(1);
  view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  view->horizontalHeader()->setMinimumSectionSize(1);
  view->horizontalHeader()->setStretchLastSection(false);
  view->horizontalHeader()->setSectionsClickable(false);
  view->horizontalHeader()->setHighlightSections(false);

  auto applyRowHeight = [view](int row, int height) {
    if (row == 0) {
      view->horizontalHeader()->setFixedHeight(height);
    } else {
      view->setRowHeight(row, height);
    }
  };
  auto applyColumnWidth = [view](int column, int width) {
    view->setColumnHidden(column, width == 0);
    if (width > 0) view->setColumnWidth(column, width);
  };
  // Row 0 is drawn by the header; as a data row it stays out of view.
  auto hideHeaderRow = [view, model] {
    if (model->rowCount() > 0) view->setRowHidden(0, true);
  };
  QObject::connect(model, &HistoryGridModel::RowHeightChanged, view, applyRowHeight);
  QObject::connect(model, &HistoryGridModel::ColumnWidthChanged, view, applyColumnWidth);
  QObject::connect(model, &QAbstractItemModel::rowsInserted, view, hideHeaderRow);
  QObject::connect(model, &QAbstractItemModel::modelReset, view, hideHeaderRow);

  for (int c = 0; c < HistoryGridModel::kColumns; ++c) applyColumnWidth(c, model->ColumnWidth(c));
  for (int r = 0; r < model->rowCount(); ++r) {
    if (r == 0 || model->RowHeight(r) != HistoryGridModel::kDefaultRowHeight)
      applyRowHeight(r, model->RowHeight(r));
  }
  hideHeaderRow();
}

}  // namespace qarnis::tips
