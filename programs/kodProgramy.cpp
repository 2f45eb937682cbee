#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmProgramy(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmProgramy", "Zainstalowane programy", 480, 360);
  registerWindow(WindowId::Programy, w);
  return w;
}

}  // namespace morvin
