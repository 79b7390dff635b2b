#pragma once
// The one crossing between GBK byte strings and the texts widgets show or take.
#include <QString>
#include <string>
#include <string_view>

namespace qarnis::ui {

QString ToQ(std::string_view gbk);
std::string FromQ(const QString& text);

}  // namespace qarnis::ui
