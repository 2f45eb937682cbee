#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmDos(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmDos", "Microsoft DOS", 480, 360);
  registerWindow(WindowId::Dos, w);
  return w;
}

}  // namespace morvin
