#pragma once
// The dot-matrix banner of the header: a text written on a small grey source canvas, every source pixel shown
// as a 4 x 4 dot on a 5-pixel pitch, dark red where the source is background and yellow where the text is.
#include <QImage>
#include <QTimer>
#include <QWidget>

namespace qarnis::app {

inline constexpr QRgb kBannerBackground = qRgb(236, 236, 236);
inline constexpr QRgb kDotDark = qRgb(128, 0, 0);
inline constexpr QRgb kDotLit = qRgb(255, 255, 0);

// 画板2: the 144 x 16 source on which the banner text is written in the canvas font.
class BannerSource : public QWidget {
  Q_OBJECT
 public:
  explicit BannerSource(QWidget* parent);
  void Clear();
  // Writes the text at (2, 2) over what the canvas already holds.
  void WriteText(const QString& text);
  const QImage& Image() const { return image_; }

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  QImage image_;
};

// 画板1: the 710 x 80 display. Fills in row by row, one source row per timer tick, so the user sees it
// appear while the window stays responsive.
class BannerDisplay : public QWidget {
  Q_OBJECT
 public:
  explicit BannerDisplay(QWidget* parent);
  void Show(const QImage& source);
  bool Complete() const { return nextRow_ >= source_.height(); }
  void FinishNow();
  int DotsPainted() const { return dotsPainted_; }
  // The whole 720 x 80 dot picture, of which the visible 710 x 80 is the widget.
  const QImage& Image() const { return image_; }

 signals:
  void Filled();

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  void PaintNextRow();

  QImage source_;
  QImage image_;
  int nextRow_ = 0;
  int dotsPainted_ = 0;
  QTimer rowTimer_;
};

}  // namespace qarnis::app
