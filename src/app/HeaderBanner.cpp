#include "app/HeaderBanner.h"

#include <QPainter>

#include "ui/Skin.h"

namespace qarnis::app {

constexpr int kSourceWidth = 144;
constexpr int kSourceHeight = 16;
constexpr int kPitch = 5;
constexpr int kDot = 4;
constexpr int kRowTickMs = 15;

BannerSource::BannerSource(QWidget* parent)
    : QWidget(parent), image_(kSourceWidth, kSourceHeight, QImage::Format_RGB32) {
  setObjectName(QStringLiteral("画板2"));
  setFixedSize(kSourceWidth, kSourceHeight);
  Clear();
}

void BannerSource::Clear() {
  image_.fill(kBannerBackground);
  update();
}

void BannerSource::WriteText(const QString& text) {
  QPainter painter(&image_);
  // Hard-edged glyphs: every pixel is either background or ink, so the dots read cleanly.
  QFont font = ui::UiFont(12, true);
  font.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QFontMetrics metrics(font);
  painter.drawText(QPoint(2, 2 + metrics.ascent()), text);
  update();
}

void BannerSource::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
}

BannerDisplay::BannerDisplay(QWidget* parent)
    : QWidget(parent), image_(kSourceWidth * kPitch, kSourceHeight * kPitch, QImage::Format_RGB32) {
  setObjectName(QStringLiteral("画板1"));
  setFixedSize(710, 80);
  image_.fill(Qt::black);
  rowTimer_.setInterval(kRowTickMs);
  connect(&rowTimer_, &QTimer::timeout, this, &BannerDisplay::PaintNextRow);
}

void BannerDisplay::Show(const QImage& source) {
  source_ = source.copy();
  nextRow_ = 0;
  dotsPainted_ = 0;
  rowTimer_.start();
}

void BannerDisplay::FinishNow() {
  while (!Complete()) PaintNextRow();
}

void BannerDisplay::PaintNextRow() {
  if (Complete()) {
    rowTimer_.stop();
    return;
  }
  const int y = nextRow_++;
  QPainter painter(&image_);
  painter.setPen(Qt::NoPen);
  for (int x = 0; x < source_.width(); ++x) {
    const bool background = (source_.pixel(x, y) & 0xFFFFFF) == (kBannerBackground & 0xFFFFFF);
    painter.setBrush(QColor(background ? kDotDark : kDotLit));
    painter.drawRect(x * kPitch, y * kPitch, kDot, kDot);
    ++dotsPainted_;
  }
  painter.end();
  update(0, y * kPitch, width(), kPitch);
  if (Complete()) {
    rowTimer_.stop();
    emit Filled();
  }
}

void BannerDisplay::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
}

}  // namespace qarnis::app
