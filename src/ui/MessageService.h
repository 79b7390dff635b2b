#pragma once
// Every message box of the client goes through one service, which the windows are given, so that tests can
// record each text instead of showing a box.
#include <QString>

class QWidget;

namespace qarnis::ui {

class MessageService {
 public:
  virtual ~MessageService() = default;
  // A modal box with the caption "信息：", a single OK button and no icon; returns when it is dismissed.
  virtual void Show(QWidget* parent, const QString& text) = 0;
  // The same box for a server reply: it is also brought to the front.
  virtual void ShowForReply(QWidget* parent, const QString& text) = 0;
};

class QtMessageService final : public MessageService {
 public:
  void Show(QWidget* parent, const QString& text) override;
  void ShowForReply(QWidget* parent, const QString& text) override;
};

}  // namespace qarnis::ui
