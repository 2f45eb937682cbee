#include "kodFrOpcjeAnim.h"

#include "WizardCombo.h"
#include "shell/Language.h"

namespace morvin {

TFrOpcjeAnim::TFrOpcjeAnim(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  setEntryWords(ui.CbJakosc,
                {QString::fromUtf8("Słaba"), QStringLiteral("Dobra"), QStringLiteral("Bardzo dobra")});
  showPrompt(ui.CbJakosc, tr("Wybierz jakość"));
  retranslateOnLanguageChange(this, [this] {
    ui.retranslateUi(this);
    retranslatePrompt(ui.CbJakosc, tr("Wybierz jakość"));
  });
}

}  // namespace morvin
