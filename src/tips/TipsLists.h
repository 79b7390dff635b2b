#pragma once
// The recommendations list and the notices list: their columns, and the rows appended from records.
#include "tips/TipRecords.h"

class QTreeWidget;

namespace qarnis::tips {

inline constexpr int kRecommendationColumns = 14;
inline constexpr int kNoticeColumns = 3;

// Fourteen columns, "微软雅黑" 14 px; width 0 hides a column but keeps its texts.
void SetUpRecommendationsList(QTreeWidget* list);
// Three columns, "微软雅黑" 12 px.
void SetUpNoticesList(QTreeWidget* list);

// Appends one row: fields 0 to 2, "VS", fields 4 to 12, the reasons.
void AppendRecommendationRow(QTreeWidget* list, const TipRecord& record);
// Appends one row: the notice text, the LED text, the time.
void AppendNoticeRow(QTreeWidget* list, const NoticeRecord& record);

}  // namespace qarnis::tips
