#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmFoldery(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmFoldery", "Foldery i pliki", 480, 360);
  registerWindow(WindowId::Foldery, w);
  return w;
}

}  // namespace morvin
