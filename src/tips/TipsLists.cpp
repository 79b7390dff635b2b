#include "tips/TipsLists.h"

#include <QTreeWidget>
#include <array>

#include "ui/GbkQt.h"
#include "ui/ReportList.h"
#include "ui/Skin.h"

namespace qarnis::tips {

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignHCenter | Qt::AlignVCenter;

const std::vector<ui::ColumnSpec>& RecommendationColumns() {
  static const std::vector<ui::ColumnSpec> columns = {
      {QStringLiteral("球赛"), 70, kLeft},
      {QStringLiteral("比赛时间"), 128, kCentre},
      {QStringLiteral("比赛球队"), 150, kCentre},
      {QStringLiteral("VS"), 30, kCentre},
      {QStringLiteral("比赛球队"), 150, kCentre},
      {QStringLiteral("亚洲 走势"), 130, kCentre},
      {QStringLiteral("欧洲 走势"), 118, kCentre},
      {QStringLiteral("推出的亚"), 0, kLeft},
      {QStringLiteral("推出的欧"), 0, kLeft},
      {QStringLiteral("推送时间"), 140, kLeft},
      {QStringLiteral("亚"), 0, kLeft},
      {QStringLiteral("欧"), 0, kLeft},
      {QStringLiteral("状态"), 50, kLeft},
      {QStringLiteral("核心理由"), 80, kLeft},
  };
  return columns;
}

const std::vector<ui::ColumnSpec>& NoticeColumns() {
  static const std::vector<ui::ColumnSpec> columns = {
      {QStringLiteral("内容"), 410, kLeft},
      {QStringLiteral("LED"), 0, kLeft},
      {QStringLiteral("时间"), 118, kLeft},
  };
  return columns;
}

void SetAligned(QTreeWidgetItem* item, const std::vector<ui::ColumnSpec>& columns, int column,
                const QString& text) {
  item->setText(column, text);
  item->setTextAlignment(column, columns[static_cast<std::size_t>(column)].alignment);
}

}  // namespace

void SetUpRecommendationsList(QTreeWidget* list) {
  ui::SetUpReportList(list, RecommendationColumns(), ui::UiFont(14));
}

void SetUpNoticesList(QTreeWidget* list) { ui::SetUpReportList(list, NoticeColumns(), ui::UiFont(12)); }

void AppendRecommendationRow(QTreeWidget* list, const TipRecord& record) {
  const auto& columns = RecommendationColumns();
  auto* item = new QTreeWidgetItem();
  for (int c = 0; c <= kState; ++c) {
    SetAligned(item, columns, c,
               c == kScore ? QStringLiteral("VS") : ui::ToQ(record.fields[static_cast<std::size_t>(c)]));
  }
  SetAligned(item, columns, 13, ui::ToQ(record.reasons));
  list->addTopLevelItem(item);
}

void AppendNoticeRow(QTreeWidget* list, const NoticeRecord& record) {
  const auto& columns = NoticeColumns();
  auto* item = new QTreeWidgetItem();
  SetAligned(item, columns, 0, ui::ToQ(record.text));
  SetAligned(item, columns, 1, ui::ToQ(record.led));
  SetAligned(item, columns, 2, ui::ToQ(record.time));
  list->addTopLevelItem(item);
}

}  // namespace qarnis::tips
