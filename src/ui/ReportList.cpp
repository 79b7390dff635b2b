#include "ui/ReportList.h"

#include <QHeaderView>
#include <QTreeWidget>

namespace qarnis::ui {

void SetUpReportList(QTreeWidget* list, const std::vector<ColumnSpec>& columns, const QFont& font) {
  list->setColumnCount(static_cast<int>(columns.size()));
  QStringList titles;
  for (const ColumnSpec& c : columns) titles << c.title;
  list->setHeaderLabels(titles);
  list->setFont(font);
  list->setRootIsDecorated(false);
  list->setIndentation(0);
  list->setUniformRowHeights(true);
  list->setSelectionMode(QAbstractItemView::SingleSelection);
  list->setSelectionBehavior(QAbstractItemView::SelectRows);
  list->setAllColumnsShowFocus(true);
  list->header()->setStretchLastSection(false);
  list->header()->setSectionsMovable(false);
  for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
    const ColumnSpec& c = columns[static_cast<std::size_t>(i)];
    list->headerItem()->setTextAlignment(i, c.alignment | Qt::AlignVCenter);
    if (c.width == 0) {
      list->setColumnHidden(i, true);
    } else {
      list->setColumnWidth(i, c.width);
    }
  }
}

}  // namespace qarnis::ui
