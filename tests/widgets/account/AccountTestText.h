#pragma once
#include <QString>
#include <QTest>
#include <QWidget>
#include <string>
#include <string_view>

#include "text/GbkText.h"

namespace qarnis::testing {

// GBK bytes of a UTF-8 literal.
inline std::string Gbk(std::string_view utf8) { return text::Utf8ToGbk(utf8); }

// Types each character as one key press carrying its text, the way a keyboard or an input method delivers
// characters that have no key of their own.
inline void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    const Qt::Key key = c.unicode() < 0x80 && c.isLetterOrNumber()
                            ? static_cast<Qt::Key>(c.toUpper().unicode())
                            : Qt::Key_unknown;
    QTest::sendKeyEvent(QTest::Click, widget, key, QString(c), Qt::NoModifier);
  }
}

}  // namespace qarnis::testing
