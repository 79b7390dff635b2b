#include "account/ConnectionCheck.h"

#include <QEventLoop>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

namespace qarnis::account {

constexpr int kLinkSettleMs = 200;

void PauseResponsive(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

bool CheckConnection(AccountServices& services, QWidget* window) {
  const QPointer<QWidget> guard(window);
  services.KeepAliveCheck();
  if (guard.isNull() || !guard->isVisible()) return false;
  PauseResponsive(kLinkSettleMs);
  // Closed by the user or by a reply meanwhile: nothing more is sent from it.
  if (guard.isNull() || !guard->isVisible()) return false;
  if (services.LinkAlive()) return true;
  services.Messages().Show(
      window, QStringLiteral("无法连接服务器，请换个服务器来连接或者稍后尝试，如有问题请加客服QQ询问。"));
  return false;
}

}  // namespace qarnis::account
