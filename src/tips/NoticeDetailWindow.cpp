#include "tips/NoticeDetailWindow.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "ui/Skin.h"

namespace qarnis::tips {

NoticeDetailWindow::NoticeDetailWindow(const SelectedNotice& notice, QWidget* parent) : QDialog(parent) {
  ui::ApplySkin(this);
  setWindowTitle(QStringLiteral("Qarnis详细公告"));
  setFixedSize(kWidth, kHeight);

  auto* caption = new QLabel(QStringLiteral("公告发布的时间："), this);
  caption->setObjectName(QStringLiteral("标签1"));
  caption->setGeometry(1, 8, 95, 13);
  auto* time = new QLabel(notice.time, this);
  time->setObjectName(QStringLiteral("标签2"));
  time->setGeometry(95, 8, 219, 13);
  auto* content = new QPlainTextEdit(this);
  content->setObjectName(QStringLiteral("超级编辑框1"));
  content->setGeometry(3, 24, 520, 528);
  content->setReadOnly(true);
  content->setPlainText(notice.content);
}

}  // namespace qarnis::tips
