// A popup menu that unrolls from its top edge downwards when it opens.
#pragma once

class QMenu;
class QPoint;

namespace morvin {

void popupRollingDown(QMenu* menu, const QPoint& screenPosition);

}  // namespace morvin
