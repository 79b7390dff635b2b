#pragma once
#include <QString>
#include <functional>
#include <string>
#include <vector>

#include "RecordingMessageService.h"
#include "account/AccountServices.h"

namespace qarnis::testing {

// Notes every text, and what `probe` says at the moment each box would have been shown.
class ProbingMessageService final : public ui::MessageService {
 public:
  void Show(QWidget* parent, const QString& text) override {
    Probe();
    recorder.Show(parent, text);
  }
  void ShowForReply(QWidget* parent, const QString& text) override {
    Probe();
    recorder.ShowForReply(parent, text);
  }

  RecordingMessageService recorder;
  std::function<QString()> probe;
  QStringList probed;

 private:
  void Probe() {
    if (probe) probed.append(probe());
  }
};

inline const QString kKeepAliveFailed = QStringLiteral("连接服务器失败，请更换服务器进行尝试。");

// Records every text sent; the keep-alive check sets the link alive or not, as the test decides.
class FakeAccountServices final : public account::AccountServices {
 public:
  bool Send(const std::string& gbkText) override {
    sent.push_back(gbkText);
    return sendSucceeds;
  }
  void KeepAliveCheck() override {
    ++keepAliveChecks;
    alive = aliveAfterCheck;
    if (!alive) messages.Show(nullptr, kKeepAliveFailed);
  }
  bool LinkAlive() const override { return alive; }
  ui::MessageService& Messages() override { return messages; }

  const QStringList& Texts() const { return messages.recorder.texts; }

  ProbingMessageService messages;
  std::vector<std::string> sent;
  bool sendSucceeds = true;
  bool aliveAfterCheck = true;
  bool alive = true;
  int keepAliveChecks = 0;
};

}  // namespace qarnis::testing
