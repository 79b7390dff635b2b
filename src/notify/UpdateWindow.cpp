#include "notify/UpdateWindow.h"

#include <QDesktopServices>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/GbkQt.h"
#include "ui/Skin.h"

namespace qarnis::notify {

bool IsSafeUpdateTarget(const QString& target) {
  const QString trimmed = target.trimmed();
  if (trimmed.isEmpty()) return false;
  const QUrl url(trimmed, QUrl::StrictMode);
  if (!url.isValid() || url.isRelative()) return false;
  const QString scheme = url.scheme();  // QUrl keeps schemes in lower case
  return (scheme == QStringLiteral("http") || scheme == QStringLiteral("https")) && !url.host().isEmpty();
}

HyperlinkLabel::HyperlinkLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
  setTextFormat(Qt::PlainText);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::StrongFocus);
  setStyleSheet(QStringLiteral("QLabel { color: #0b57c2; text-decoration: underline; }"));
}

void HyperlinkLabel::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
    emit activated();
    return;
  }
  QLabel::mouseReleaseEvent(event);
}

void HyperlinkLabel::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space) {
    emit activated();
    return;
  }
  QLabel::keyPressEvent(event);
}

UpdateWindow::UpdateWindow(const std::string& gbkLink, QWidget* parent, UrlOpener opener)
    : QDialog(parent), target_(ui::ToQ(gbkLink)), opener_(std::move(opener)) {
  ui::ApplySkin(this);
  setObjectName(QStringLiteral("UpdateWindow"));
  setWindowTitle(QStringLiteral("Qarnis更新公告"));
  setFixedSize(301, 142);
  if (!opener_) opener_ = [](const QUrl& url) { QDesktopServices::openUrl(url); };

  const QFont font = ui::UiFont(12);
  auto* before = new QLabel(QStringLiteral("版本已更新请点击 "), this);
  before->setObjectName(QStringLiteral("标签1"));
  before->setGeometry(8, 48, 96, 13);
  auto* link = new HyperlinkLabel(QStringLiteral("这里"), this);
  link->setObjectName(QStringLiteral("超级链接框1"));
  link->setGeometry(106, 46, 40, 16);
  auto* after = new QLabel(QStringLiteral("进入网盘下载最新版本。"), this);
  after->setObjectName(QStringLiteral("标签2"));
  after->setGeometry(149, 48, 131, 13);
  for (QLabel* label : {before, static_cast<QLabel*>(link), after}) {
    label->setFont(font);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  }
  link->setToolTip(IsSafeUpdateTarget(target_) ? target_.trimmed() : QString());
  connect(link, &HyperlinkLabel::activated, this, [this] { OpenLink(); });
}

bool UpdateWindow::OpenLink() {
  if (!IsSafeUpdateTarget(target_)) return false;
  opener_(QUrl(target_.trimmed(), QUrl::StrictMode));
  return true;
}

}  // namespace qarnis::notify
