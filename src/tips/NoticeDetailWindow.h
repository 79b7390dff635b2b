#pragma once
// A notice in full, opened modally from a row of the notices list.
#include <QDialog>
#include <QString>

namespace qarnis::tips {

struct SelectedNotice {
  QString time;
  QString content;
};

class NoticeDetailWindow : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kWidth = 532;
  static constexpr int kHeight = 581;

  explicit NoticeDetailWindow(const SelectedNotice& notice, QWidget* parent = nullptr);
};

}  // namespace qarnis::tips
