#include "tips/TipsPictures.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <array>

#include "ui/Skin.h"

namespace qarnis::tips {

namespace {

struct ResultLook {
  QColor fill;
  QString glyph;
  bool half;  // half results get a split badge so they differ from the whole ones at a glance
};

QPixmap DrawResult(const ResultLook& look) {
  QPixmap pixmap(kResultPictureSize, kResultPictureSize);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF badge(1.5, 1.5, kResultPictureSize - 3, kResultPictureSize - 3);
  p.setPen(QPen(look.fill.darker(140), 1.5));
  p.setBrush(look.fill);
  p.drawEllipse(badge);
  if (look.half) {
    // The lower half lighter: a half win or half loss.
    QPainterPath lower;
    lower.moveTo(badge.left(), badge.center().y());
    lower.arcTo(badge, 180, 180);
    lower.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(look.fill.lighter(150));
    p.drawPath(lower);
  }
  p.setPen(Qt::white);
  p.setFont(ui::UiFont(look.half ? 12 : 18, true));
  p.drawText(badge, Qt::AlignCenter, look.glyph);
  return pixmap;
}

QPixmap DrawHighlight() {
  QPixmap pixmap(kHighlightWidth, kHighlightHeight);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(230, 120, 20), 2));
  p.setBrush(QColor(255, 200, 40, 110));
  p.drawRoundedRect(QRectF(1, 1, kHighlightWidth - 2, kHighlightHeight - 2), 5, 5);
  return pixmap;
}

}  // namespace

const QPixmap& ResultPicture(ResultWord word) {
  static const std::array<QPixmap, 6> pictures = [] {
    std::array<QPixmap, 6> all;
    all[static_cast<int>(ResultWord::kWin)] = DrawResult({QColor(208, 40, 40), QStringLiteral("赢"), false});
    all[static_cast<int>(ResultWord::kHalfWin)] =
        DrawResult({QColor(232, 110, 30), QStringLiteral("赢半"), true});
    all[static_cast<int>(ResultWord::kPush)] =
        DrawResult({QColor(120, 128, 138), QStringLiteral("走"), false});
    all[static_cast<int>(ResultWord::kLoss)] = DrawResult({QColor(30, 130, 60), QStringLiteral("输"), false});
    all[static_cast<int>(ResultWord::kHalfLoss)] =
        DrawResult({QColor(40, 120, 190), QStringLiteral("输半"), true});
    return all;
  }();
  return pictures[static_cast<std::size_t>(word)];
}

const QPixmap& HighlightPicture() {
  static const QPixmap picture = DrawHighlight();
  return picture;
}

}  // namespace qarnis::tips
