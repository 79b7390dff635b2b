#include "ui/Skin.h"

#include <QWidget>

namespace qarnis::ui {

void ApplySkin(QWidget* window) {
  // A quiet blue-grey look; the window keeps every size and place it was given.
  static const QString kSheet = QStringLiteral(
      "QWidget { color: #1d2733; }"
      "QGroupBox { border: 1px solid #9fb3c8; border-radius: 3px; margin-top: 7px; }"
      "QGroupBox::title { subcontrol-origin: margin; left: 7px; padding: 0 2px; }"
      "QPushButton { background: #e4ecf5; border: 1px solid #8aa2bb; border-radius: 3px; }"
      "QPushButton:hover { background: #d3e1f0; }"
      "QPushButton:disabled { color: #8d96a0; background: #eef1f4; }"
      "QHeaderView::section { background: #dfe7f0; border: 0; border-right: 1px solid #b8c7d6;"
      " border-bottom: 1px solid #b8c7d6; padding: 2px; }");
  window->setStyleSheet(kSheet);
}

QFont UiFont(int pixelSize, bool bold) {
  QFont font(QStringLiteral("微软雅黑"));
  font.setFamilies({QStringLiteral("微软雅黑"), QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC")});
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

}  // namespace qarnis::ui
