#include "ui/GbkLimitedEdit.h"

#include <QValidator>
#include <algorithm>

#include "ui/GbkQt.h"

namespace qarnis::ui {
namespace {

int CodePointBytes(char32_t codePoint) {
  if (codePoint < 0x80) return 1;
  return static_cast<int>(FromQ(QString::fromUcs4(&codePoint, 1)).size());
}

// The longest start of `text` that fits in `budget` GBK bytes, never splitting a character.
QString CutToBytes(const QString& text, int budget) {
  qsizetype end = 0;
  int used = 0;
  while (end < text.size()) {
    qsizetype next = end + 1;
    char32_t codePoint = text.at(end).unicode();
    if (text.at(end).isHighSurrogate() && next < text.size() && text.at(next).isLowSurrogate()) {
      codePoint = QChar::surrogateToUcs4(text.at(end), text.at(next));
      ++next;
    }
    used += CodePointBytes(codePoint);
    if (used > budget) break;
    end = next;
  }
  return text.left(end);
}

bool OnlyDigitsAndMinus(const QString& text) {
  return std::all_of(text.begin(), text.end(), [](QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-');
  });
}

}  // namespace

int GbkByteLength(const QString& text) { return static_cast<int>(FromQ(text).size()); }

// Sees every change the edit's own editing makes (typing, paste, drop, input method) and keeps only what
// fits.
class GbkLimitValidator final : public QValidator {
 public:
  explicit GbkLimitValidator(GbkLimitedEdit* edit) : QValidator(edit), edit_(edit) {}

  State validate(QString& input, int& pos) const override {
    if (edit_->digitsOnly_ && !OnlyDigitsAndMinus(input)) return Invalid;
    const int limit = edit_->byteLimit_;
    if (limit <= 0 || GbkByteLength(input) <= limit) return Acceptable;

    // The change replaced a stretch of the old text by the part that now ends at the cursor; cut that part.
    const QString& before = edit_->lastAccepted_;
    const qsizetype cursor = std::clamp<qsizetype>(pos, 0, input.size());
    const QString tail = input.mid(cursor);
    QString fitted;
    qsizetype newCursor = 0;
    bool cut = false;
    if (before.endsWith(tail)) {
      const qsizetype maxHead = std::min(cursor, before.size() - tail.size());
      qsizetype head = 0;
      while (head < maxHead && before.at(head) == input.at(head)) ++head;
      if (head > 0 && input.at(head - 1).isHighSurrogate()) --head;
      const QString kept = input.left(head);
      const int budget = limit - GbkByteLength(kept) - GbkByteLength(tail);
      if (budget >= 0) {
        const QString inserted = CutToBytes(input.mid(head, cursor - head), budget);
        fitted = kept + inserted + tail;
        newCursor = kept.size() + inserted.size();
        cut = true;
      }
    }
    if (!cut) {
      fitted = CutToBytes(input, limit);
      newCursor = std::min<qsizetype>(cursor, fitted.size());
    }
    input = fitted;
    pos = static_cast<int>(newCursor);
    return Acceptable;
  }

 private:
  GbkLimitedEdit* edit_;
};

GbkLimitedEdit::GbkLimitedEdit(QWidget* parent) : QLineEdit(parent) {
  setValidator(new GbkLimitValidator(this));
  connect(this, &QLineEdit::textChanged, this, [this](const QString& text) { lastAccepted_ = text; });
}

void GbkLimitedEdit::SetByteLimit(int bytes) { byteLimit_ = std::max(bytes, 0); }

void GbkLimitedEdit::SetPasswordMask(bool masked) {
  setEchoMode(masked ? QLineEdit::Password : QLineEdit::Normal);
  setStyleSheet(masked ? QStringLiteral("lineedit-password-character: 42;") : QString());
}

void GbkLimitedEdit::SetDigitsAndMinusOnly(bool on) { digitsOnly_ = on; }

std::string GbkLimitedEdit::GbkText() const { return FromQ(text()); }

}  // namespace qarnis::ui
