#include "ArtKit.h"

namespace morvin::art {

QImage canvas(int width, int height, const QColor& fill) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(fill);
  return image;
}

void bevel(QPainter& p, const QRect& r, bool raised) {
  const QColor outerTopLeft = raised ? Qt::white : Qt::black;
  const QColor innerTopLeft = raised ? kLight : kShadow;
  const QColor outerBottomRight = raised ? Qt::black : Qt::white;
  const QColor innerBottomRight = raised ? kShadow : kLight;
  auto frame = [&p](const QRect& box, const QColor& topLeft, const QColor& bottomRight) {
    p.setPen(topLeft);
    p.drawLine(box.topLeft(), box.topRight());
    p.drawLine(box.topLeft(), box.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(box.bottomLeft(), box.bottomRight());
    p.drawLine(box.topRight(), box.bottomRight());
  };
  frame(r, outerTopLeft, outerBottomRight);
  frame(r.adjusted(1, 1, -1, -1), innerTopLeft, innerBottomRight);
}

void computer(QPainter& p, const QRect& r, const QColor& screen) {
  // Monitor: two thirds of the height, then a neck and a flat base.
  const int monitorHeight = r.height() * 2 / 3;
  const QRect monitor(r.left(), r.top(), r.width(), monitorHeight);
  p.fillRect(monitor, kFace);
  bevel(p, monitor, true);
  const int margin = qMax(3, r.width() / 10);
  const QRect glass = monitor.adjusted(margin, margin, -margin, -margin);
  p.fillRect(glass, screen);
  p.setPen(Qt::black);
  p.drawRect(glass.adjusted(-1, -1, 0, 0));
  const int neckWidth = r.width() / 4;
  p.fillRect(QRect(r.center().x() - neckWidth / 2, monitor.bottom() + 1, neckWidth, r.height() / 12 + 1),
             kShadow);
  const QRect base(r.left() + r.width() / 8, monitor.bottom() + r.height() / 12 + 2, r.width() * 3 / 4,
                   r.bottom() - (monitor.bottom() + r.height() / 12 + 2) + 1);
  p.fillRect(base, kFace);
  bevel(p, base, true);
}

}  // namespace morvin::art
