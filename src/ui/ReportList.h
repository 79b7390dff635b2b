#pragma once
// Report-style lists: columns with title, width (0 hides the column but keeps its texts) and alignment.
#include <QFont>
#include <QString>
#include <vector>

class QTreeWidget;

namespace qarnis::ui {

struct ColumnSpec {
  QString title;
  int width;
  Qt::Alignment alignment;
};

// Sets the columns, the font, full-row selection and no indentation.
void SetUpReportList(QTreeWidget* list, const std::vector<ColumnSpec>& columns, const QFont& font);

}  // namespace qarnis::ui
