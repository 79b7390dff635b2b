#include "ui/GbkQt.h"

#include "text/GbkText.h"

namespace qarnis::ui {

QString ToQ(std::string_view gbk) {
  const std::string utf8 = text::GbkToUtf8(gbk);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string FromQ(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return text::Utf8ToGbk(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace qarnis::ui
