#include "kodFrOpcjeAnim.h"

#include "WizardCombo.h"

namespace morvin {

TFrOpcjeAnim::TFrOpcjeAnim(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  showPrompt(ui.CbJakosc, QStringLiteral("Wybierz jakość"));
}

}  // namespace morvin
