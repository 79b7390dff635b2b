#include "notify/ServerNoticeWindow.h"

#include <QPlainTextEdit>

#include "ui/GbkQt.h"
#include "ui/Skin.h"

namespace qarnis::notify {

ServerNoticeWindow::ServerNoticeWindow(const std::string& gbkText, QWidget* parent)
    : QWidget(parent, Qt::Window) {
  ui::ApplySkin(this);
  setObjectName(QStringLiteral("ServerNoticeWindow"));
  setWindowTitle(QStringLiteral("Qarnis公告"));
  setFixedSize(537, 247);
  setAttribute(Qt::WA_DeleteOnClose);
  // It opens on a timer; typing elsewhere must not land in it unannounced.
  setAttribute(Qt::WA_ShowWithoutActivating);

  editor_ = new QPlainTextEdit(this);
  editor_->setObjectName(QStringLiteral("超级编辑框1"));
  editor_->setGeometry(1, 2, 527, 214);
  editor_->setReadOnly(true);
  editor_->setFont(ui::UiFont(12));
  SetText(gbkText);
}

void ServerNoticeWindow::SetText(const std::string& gbkText) {
  // Plain text only: the server's text is shown, never interpreted as markup.
  QString text = ui::ToQ(gbkText);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  editor_->setPlainText(text);
}

QString ServerNoticeWindow::Text() const { return editor_->toPlainText(); }

}  // namespace qarnis::notify
