#include "ColourSwatch.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace morvin {

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
  setFrameStyle(QFrame::Panel | QFrame::Sunken);
  setLineWidth(2);
  setFocusPolicy(Qt::StrongFocus);
  setCursor(Qt::PointingHandCursor);
}

QColor ColourSwatch::colour() const {
  return colour_.value_or(palette().color(QPalette::Button));
}

void ColourSwatch::setColour(const QColor& colour) {
  colour_ = colour;
  update();
}

void ColourSwatch::paintEvent(QPaintEvent* event) {
  {
    QPainter painter(this);
    painter.fillRect(contentsRect(), colour());
    if (hasFocus()) {
      painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
      painter.drawRect(contentsRect().adjusted(2, 2, -3, -3));
    }
  }
  QFrame::paintEvent(event);
}

void ColourSwatch::mousePressEvent(QMouseEvent* event) {
  event->setAccepted(event->button() == Qt::LeftButton);
}

void ColourSwatch::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) emit clicked();
}

void ColourSwatch::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    emit clicked();
    return;
  }
  QFrame::keyPressEvent(event);
}

}  // namespace morvin
