#include "shell/WindowFactories.h"
#include "shell/WindowSet.h"

namespace morvin {

QWidget* createTfmSztuczki(QWidget* parent) {
  QWidget* w = createPlainWindow(parent, "fmSztuczki", "Sztuczki w Windows - Praktyczny poradnik", 600, 440);
  registerWindow(WindowId::Sztuczki, w);
  return w;
}

}  // namespace morvin
