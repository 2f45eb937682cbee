#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmIkony(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmIkony", "Ikony", 520, 400);
  registerWindow(WindowId::Ikony, w);
  return w;
}

}  // namespace morvin
