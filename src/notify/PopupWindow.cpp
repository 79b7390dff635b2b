#include "notify/PopupWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

#include "ui/Skin.h"

namespace qarnis::notify {
namespace {

QRect PrimaryScreenGeometry() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

PopupWindow::PopupWindow(const QString& word, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
  ui::ApplySkin(this);
  setObjectName(QStringLiteral("PopupWindow"));
  setWindowTitle(QStringLiteral("信息提示"));
  setFixedSize(kWidth, kHeight);
  setAttribute(Qt::WA_DeleteOnClose);
  setAttribute(Qt::WA_ShowWithoutActivating);
  setFocusPolicy(Qt::NoFocus);
  // The strip around the picture continues its lower colour rather than the grey of a dialog.
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, QColor(0xc3, 0xd8, 0xef));
  setPalette(palette);
  setAutoFillBackground(true);

  picture_ = new QLabel(this);
  picture_->setObjectName(QStringLiteral("图片框1"));
  picture_->setGeometry(0, 0, 254, 132);
  picture_->setPixmap(BackgroundPicture());

  message_ = new QLabel(this);
  message_->setObjectName(QStringLiteral("透明标签1"));
  message_->setGeometry(5, 15, 243, 74);
  message_->setAttribute(Qt::WA_TranslucentBackground);
  message_->setStyleSheet(QStringLiteral("QLabel { background: transparent; color: #17324f; }"));
  message_->setFont(ui::UiFont(24));
  message_->setTextFormat(Qt::PlainText);
  message_->setWordWrap(true);
  message_->setAlignment(Qt::AlignCenter);

  slideTimer_ = new QTimer(picture_);
  slideTimer_->setObjectName(QStringLiteral("时钟_窗口移动"));
  slideTimer_->setInterval(kSlideMs);
  closeTimer_ = new QTimer(picture_);
  closeTimer_->setObjectName(QStringLiteral("时钟_定时关闭"));
  closeTimer_->setInterval(kCloseMs);
  connect(slideTimer_, &QTimer::timeout, this, &PopupWindow::OnSlideTick);
  connect(closeTimer_, &QTimer::timeout, this, &PopupWindow::OnCloseTick);

  message_->setText(QStringLiteral("有") + word + QStringLiteral("，请查看！"));
  setWindowOpacity(opacity_ / 255.0);
  const QRect screen = PrimaryScreenGeometry();
  targetTop_ = screen.top() + screen.height() - kRise;
  currentTop_ = screen.top() + screen.height();
  move(ScreenLeft(), currentTop_);
}

void PopupWindow::Start() {
  returnActivationTo_ = QApplication::activeWindow();
  show();
  slideTimer_->start();
}

void PopupWindow::Renew(const QString& word) {
  message_->setText(QStringLiteral("有") + word + QStringLiteral("，请查看！"));
  opacity_ = 255;
  setWindowOpacity(1.0);
  closeTicks_ = 0;
}

int PopupWindow::ScreenLeft() const {
  const QRect screen = PrimaryScreenGeometry();
  return screen.left() + screen.width() - kWidth;
}

void PopupWindow::OnSlideTick() {
  // "At or past" rather than "equal", so no start position can make the window climb off the screen.
  if (currentTop_ <= targetTop_) {
    currentTop_ = targetTop_;
    move(ScreenLeft(), currentTop_);
    slideTimer_->stop();
    closeTimer_->start();
    return;
  }
  currentTop_ -= kSlideStep;
  move(ScreenLeft(), currentTop_);
}

void PopupWindow::OnCloseTick() {
  ++closeTicks_;
  if (closeTicks_ < kStandTicks) return;
  opacity_ -= kFadeStep;
  if (opacity_ > 0) {
    setWindowOpacity(opacity_ / 255.0);
    return;
  }
  close();
}

bool PopupWindow::event(QEvent* event) {
  // Some window managers (and the offscreen platform) activate every new window whatever its hints say;
  // the user was typing elsewhere, so the activation goes straight back.
  if (event->type() == QEvent::WindowActivate && returnActivationTo_ != nullptr &&
      returnActivationTo_ != this && returnActivationTo_->isVisible()) {
    returnActivationTo_->activateWindow();
  }
  return QWidget::event(event);
}

void PopupWindow::closeEvent(QCloseEvent* event) {
  // Faded or closed early by the user: either way the next pop-up stands its full time.
  closeTicks_ = 0;
  slideTimer_->stop();
  closeTimer_->stop();
  QWidget::closeEvent(event);
}

void PopupWindow::mousePressEvent(QMouseEvent* event) {
  QWidget::mousePressEvent(event);
  close();
}

QString PopupWindow::Message() const { return message_->text(); }

QPixmap PopupWindow::BackgroundPicture() {
  QPixmap picture(254, 132);
  picture.fill(Qt::white);
  QPainter painter(&picture);
  painter.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, 0, 132);
  sky.setColorAt(0.0, QColor(0xf4, 0xf8, 0xfd));
  sky.setColorAt(0.55, QColor(0xdc, 0xe9, 0xf7));
  sky.setColorAt(1.0, QColor(0xc3, 0xd8, 0xef));
  painter.fillRect(picture.rect(), sky);

  // A faint pitch line along the bottom ties the picture to the football theme.
  painter.setPen(QPen(QColor(255, 255, 255, 150), 1.5));
  painter.drawLine(QPointF(0, 112), QPointF(254, 112));
  painter.drawEllipse(QPointF(127, 112), 26, 9);

  // The small bell in the lower-left corner.
  const QPointF bell(22, 110);
  QPainterPath body;
  body.moveTo(bell.x() - 9, bell.y() + 6);
  body.cubicTo(bell.x() - 8, bell.y() - 2, bell.x() - 7, bell.y() - 11, bell.x(), bell.y() - 11);
  body.cubicTo(bell.x() + 7, bell.y() - 11, bell.x() + 8, bell.y() - 2, bell.x() + 9, bell.y() + 6);
  body.closeSubpath();
  painter.setPen(QPen(QColor(0x2f, 0x6d, 0xb5), 1.2));
  painter.setBrush(QColor(0xf6, 0xc3, 0x4a));
  painter.drawPath(body);
  painter.setBrush(QColor(0x2f, 0x6d, 0xb5));
  painter.drawEllipse(QPointF(bell.x(), bell.y() + 8), 2.2, 2.2);
  painter.drawEllipse(QPointF(bell.x(), bell.y() - 12.5), 1.6, 1.6);

  painter.setPen(QPen(QColor(0x9f, 0xb3, 0xc8), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(0.5, 0.5, 253, 131));
  return picture;
}

}  // namespace qarnis::notify
