#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmWindows(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmWindows", "Windows", 560, 480);
  registerWindow(WindowId::Windows, w);
  return w;
}

}  // namespace morvin
