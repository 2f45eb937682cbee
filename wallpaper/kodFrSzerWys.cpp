#include "kodFrSzerWys.h"

#include "WizardCombo.h"
#include "shell/Language.h"

namespace morvin {

TFrSzerWys::TFrSzerWys(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  ui.SpinX->setText(QStringLiteral("1024"));
  ui.SpinY->setText(QStringLiteral("768"));
  setEntryWords(ui.ComboBox1,
                {QStringLiteral("Do prawej"), QStringLiteral("Do lewej"), QString::fromUtf8("Do środka"),
                 QString::fromUtf8("Do góry"), QString::fromUtf8("Do dołu")});
  showPrompt(ui.ComboBox1, tr("Wybierz wyrównanie"));
  retranslateOnLanguageChange(this, [this] {
    ui.retranslateUi(this);
    retranslatePrompt(ui.ComboBox1, tr("Wybierz wyrównanie"));
  });
}

}  // namespace morvin
