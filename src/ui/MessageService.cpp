#include "ui/MessageService.h"

#include <QMessageBox>
#include <QTimer>

#include "ui/Skin.h"

namespace qarnis::ui {
namespace {

void RunBox(QWidget* parent, const QString& text, bool toFront) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("信息："), text, QMessageBox::Ok, parent);
  ApplySkin(&box);
  if (toFront) {
    box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    QTimer::singleShot(0, &box, [&box] {
      box.raise();
      box.activateWindow();
    });
  }
  box.exec();
}

}  // namespace

void QtMessageService::Show(QWidget* parent, const QString& text) { RunBox(parent, text, false); }

void QtMessageService::ShowForReply(QWidget* parent, const QString& text) { RunBox(parent, text, true); }

}  // namespace qarnis::ui
