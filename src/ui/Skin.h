#pragma once
#include <QFont>

class QWidget;

namespace qarnis::ui {

// The client's look, applied to every window when it is created.
void ApplySkin(QWidget* window);

// "微软雅黑" at the given pixel height; fontconfig falls back to an installed CJK font.
QFont UiFont(int pixelSize, bool bold = false);

}  // namespace qarnis::ui
