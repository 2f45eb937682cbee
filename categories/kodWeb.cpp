#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmWeb(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmWeb", "Sieć", 560, 420);
  registerWindow(WindowId::Web, w);
  return w;
}

}  // namespace morvin
