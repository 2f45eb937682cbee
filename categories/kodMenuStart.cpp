#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmMenuStart(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmMenuStart", "Pasek zadań i Menu Start", 600, 480);
  registerWindow(WindowId::MenuStart, w);
  return w;
}

}  // namespace morvin
