#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmPulpit(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmPulpit", "Pulpit", 484, 281);
  registerWindow(WindowId::Pulpit, w);
  return w;
}

}  // namespace morvin
