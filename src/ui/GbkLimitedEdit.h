#pragma once
// An edit box whose input limit counts GBK bytes, as the server and the settings file see the text: a Chinese
// character takes two bytes, so 9 of them fill an 18-byte box. Typed, pasted or dropped text beyond the limit
// is cut at a character boundary.
#include <QLineEdit>
#include <string>

namespace qarnis::ui {

// Bytes the text takes in GBK (a character GBK cannot hold is sent as "?", one byte).
int GbkByteLength(const QString& text);

class GbkLimitedEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit GbkLimitedEdit(QWidget* parent = nullptr);

  // 0 means no limit.
  void SetByteLimit(int bytes);
  int ByteLimit() const { return byteLimit_; }

  // Shows every character as "*".
  void SetPasswordMask(bool masked);

  // Takes only the digits 0-9 and "-"; editing keys keep working, text with any other character is refused.
  void SetDigitsAndMinusOnly(bool on);
  bool DigitsAndMinusOnly() const { return digitsOnly_; }

  std::string GbkText() const;

 private:
  friend class GbkLimitValidator;
  int byteLimit_ = 0;
  bool digitsOnly_ = false;
  QString lastAccepted_;
};

}  // namespace qarnis::ui
