#pragma once
#include <QDialog>
#include <QLabel>
#include <QUrl>
#include <functional>
#include <string>

namespace qarnis::notify {

// True only for an absolute http or https address with a host. The update target comes from the server;
// handing anything else to the desktop would let it open local files or start programs.
bool IsSafeUpdateTarget(const QString& target);

// Hands an address to the desktop; tests record it instead.
using UrlOpener = std::function<void(const QUrl&)>;

// A text that behaves as a hyperlink: link colour, pointing hand, activated by a click or Enter/Space.
class HyperlinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit HyperlinkLabel(const QString& text, QWidget* parent = nullptr);

 signals:
  void activated();

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
};

// "Qarnis更新公告": one line "版本已更新请点击 " + link "这里" + "进入网盘下载最新版本。". The login flow
// opens it with exec().
class UpdateWindow : public QDialog {
  Q_OBJECT
 public:
  // gbkLink is UpdateLink as the server sent it; an empty opener means the desktop's own.
  explicit UpdateWindow(const std::string& gbkLink, QWidget* parent = nullptr, UrlOpener opener = {});

  const QString& LinkTarget() const { return target_; }
  // Opens the target when it is safe; returns whether it was handed on.
  bool OpenLink();

 private:
  QString target_;
  UrlOpener opener_;
};

}  // namespace qarnis::notify
