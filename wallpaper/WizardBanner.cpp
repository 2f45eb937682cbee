#include "WizardBanner.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace morvin {

namespace {

// A monitor whose screen shows a moving picture: film frames over a desktop.
void drawMonitor(QPainter& p, const QRectF& body) {
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.setBrush(QColor(0xC0, 0xC0, 0xC0));
  p.drawRoundedRect(body, 4, 4);
  const QRectF screen = body.adjusted(8, 8, -8, -16);
  p.setBrush(QColor(0x00, 0x80, 0x80));
  p.drawRect(screen);

  // Film strip across the screen.
  const QRectF strip(screen.left(), screen.center().y() - 14, screen.width(), 28);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0x20, 0x20));
  p.drawRect(strip);
  p.setBrush(QColor(0xF0, 0xF0, 0xF0));
  for (qreal x = strip.left() + 3; x + 4 < strip.right(); x += 9) {
    p.drawRect(QRectF(x, strip.top() + 2, 4, 4));
    p.drawRect(QRectF(x, strip.bottom() - 6, 4, 4));
  }
  const QColor frames[] = {QColor(0xFF, 0xC0, 0x40), QColor(0x60, 0xC0, 0xFF), QColor(0xFF, 0x70, 0x70)};
  const qreal frameWidth = (strip.width() - 16) / 3;
  for (int i = 0; i < 3; ++i) {
    p.setBrush(frames[i]);
    p.drawRect(
        QRectF(strip.left() + 4 + i * (frameWidth + 4), strip.top() + 8, frameWidth, strip.height() - 16));
  }

  // Stand.
  p.setPen(QPen(QColor(0x40, 0x40, 0x40), 1));
  p.setBrush(QColor(0xA8, 0xA8, 0xA8));
  const qreal cx = body.center().x();
  p.drawRect(QRectF(cx - 10, body.bottom(), 20, 8));
  p.drawRoundedRect(QRectF(cx - 30, body.bottom() + 8, 60, 7), 2, 2);
  p.setBrush(QColor(0x00, 0xC0, 0x00));
  p.setPen(Qt::NoPen);
  p.drawEllipse(QPointF(body.right() - 12, body.bottom() - 8), 2.5, 2.5);
}

// A "play" sign on a round badge.
void drawPlayBadge(QPainter& p, QPointF centre, qreal radius) {
  p.setPen(QPen(QColor(0xFF, 0xFF, 0xFF), 2));
  p.setBrush(QColor(0xD0, 0x30, 0x30));
  p.drawEllipse(centre, radius, radius);
  QPainterPath play;
  play.moveTo(centre + QPointF(-radius * 0.35, -radius * 0.5));
  play.lineTo(centre + QPointF(radius * 0.55, 0));
  play.lineTo(centre + QPointF(-radius * 0.35, radius * 0.5));
  play.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawPath(play);
}

}  // namespace

QPixmap wizardBanner(QSize size) {
  QPixmap picture(size);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);

  QLinearGradient sky(0, 0, 0, size.height());
  sky.setColorAt(0, QColor(0x00, 0x00, 0x80));
  sky.setColorAt(1, QColor(0x10, 0x84, 0xD0));
  p.fillRect(picture.rect(), sky);

  // Soft waves, the wallpaper's motion.
  p.setPen(Qt::NoPen);
  for (int i = 0; i < 4; ++i) {
    QPainterPath wave;
    const qreal y = size.height() * (0.62 + 0.09 * i);
    wave.moveTo(0, y);
    wave.cubicTo(size.width() * 0.35, y - 28, size.width() * 0.65, y + 28, size.width(), y - 6);
    wave.lineTo(size.width(), size.height());
    wave.lineTo(0, size.height());
    wave.closeSubpath();
    p.setBrush(QColor(0xFF, 0xFF, 0xFF, 26 + 10 * i));
    p.drawPath(wave);
  }

  const qreal width = size.width() * 0.72;
  const QRectF body((size.width() - width) / 2, size.height() * 0.2, width, width * 0.8);
  drawMonitor(p, body);
  drawPlayBadge(p, body.topRight() + QPointF(-6, 6), 13);
  return picture;
}

}  // namespace morvin
