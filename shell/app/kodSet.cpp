#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmSet(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmSet", "Ustawienia programu", 571, 224);
  registerWindow(WindowId::Set, w);
  return w;
}

}  // namespace morvin
