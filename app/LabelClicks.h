// Labels that act as links or menu entries: their text colour, and whether an
// event is the left button let go over them (a press dragged off does not count).
#pragma once

class QColor;
class QEvent;
class QWidget;

namespace morvin {

void setTextColour(QWidget* label, const QColor& colour);
bool isLeftClickInside(QWidget* label, QEvent* event);

}  // namespace morvin
