#include "kodFrSzerWys.h"

#include "WizardCombo.h"

namespace morvin {

TFrSzerWys::TFrSzerWys(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  ui.SpinX->setText(QStringLiteral("1024"));
  ui.SpinY->setText(QStringLiteral("768"));
  showPrompt(ui.ComboBox1, QStringLiteral("Wybierz wyrównanie"));
}

}  // namespace morvin
