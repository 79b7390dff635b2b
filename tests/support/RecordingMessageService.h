#pragma once
#include <QString>
#include <QStringList>

#include "ui/MessageService.h"

namespace qarnis::testing {

// Notes every message instead of showing a box, and returns at once.
class RecordingMessageService final : public ui::MessageService {
 public:
  void Show(QWidget*, const QString& text) override {
    texts.append(text);
    forReply.append(false);
  }
  void ShowForReply(QWidget*, const QString& text) override {
    texts.append(text);
    forReply.append(true);
  }
  void Clear() {
    texts.clear();
    forReply.clear();
  }

  QStringList texts;
  QList<bool> forReply;
};

}  // namespace qarnis::testing
