#include "kodFrKodZnak.h"

#include "WizardCombo.h"
#include "shell/Language.h"

namespace morvin {

TFrKodZnak::TFrKodZnak(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  showPrompt(ui.CbKodowanie, tr("Wybierz kodowanie"));
  retranslateOnLanguageChange(this, [this] {
    ui.retranslateUi(this);
    retranslatePrompt(ui.CbKodowanie, tr("Wybierz kodowanie"));
  });
}

}  // namespace morvin
