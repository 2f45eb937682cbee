#include "LabelClicks.h"

#include <QColor>
#include <QMouseEvent>
#include <QPalette>
#include <QWidget>

namespace morvin {

void setTextColour(QWidget* label, const QColor& colour) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
}

bool isLeftClickInside(QWidget* label, QEvent* event) {
  if (event->type() != QEvent::MouseButtonRelease) return false;
  auto* mouse = static_cast<QMouseEvent*>(event);
  return mouse->button() == Qt::LeftButton && label->rect().contains(mouse->position().toPoint());
}

}  // namespace morvin
