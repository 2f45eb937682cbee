#include "kodFrKodZnak.h"

#include "WizardCombo.h"

namespace morvin {

TFrKodZnak::TFrKodZnak(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  showPrompt(ui.CbKodowanie, QStringLiteral("Wybierz kodowanie"));
}

}  // namespace morvin
