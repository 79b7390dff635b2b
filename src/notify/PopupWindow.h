#pragma once
#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;

namespace qarnis::notify {

// The small "信息提示" window that slides up at the bottom-right corner of the primary screen, stands for
// about ten seconds and fades out. It never takes the keyboard focus. Deletes itself when closed.
class PopupWindow : public QWidget {
  Q_OBJECT
 public:
  static constexpr int kWidth = 260;
  static constexpr int kHeight = 160;
  static constexpr int kRise = 210;     // how far above the screen's bottom edge the window stops
  static constexpr int kSlideStep = 5;  // pixels per slide tick
  static constexpr int kSlideMs = 10;
  static constexpr int kCloseMs = 100;
  static constexpr int kStandTicks = 100;  // close ticks before the fade begins
  static constexpr int kFadeStep = 10;

  explicit PopupWindow(const QString& word, QWidget* parent = nullptr);

  // Shows the window below the screen and starts the slide, without activating it.
  void Start();
  // Takes a new word while on screen: full opacity again and a fresh standing time; the slide goes on.
  void Renew(const QString& word);

  // Timer handlers, public so tests can step through the phases.
  void OnSlideTick();
  void OnCloseTick();

  QTimer* SlideTimer() const { return slideTimer_; }  // "时钟_窗口移动"
  QTimer* CloseTimer() const { return closeTimer_; }  // "时钟_定时关闭"
  QString Message() const;
  int Opacity() const { return opacity_; }
  int CurrentTop() const { return currentTop_; }
  int TargetTop() const { return targetTop_; }
  int CloseTicks() const { return closeTicks_; }

  // The background picture of "图片框1", 254 x 132.
  static QPixmap BackgroundPicture();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  int ScreenLeft() const;

  QPointer<QWidget> returnActivationTo_;
  QLabel* picture_;
  QLabel* message_;
  QTimer* slideTimer_;
  QTimer* closeTimer_;
  int opacity_ = 255;
  int targetTop_ = 0;
  int currentTop_ = 0;
  int closeTicks_ = 0;
};

}  // namespace qarnis::notify
