#include "kodFrKodZnak.h"

#include "WizardCombo.h"
#include "platform/SystemLanguage.h"
#include "shell/Language.h"

namespace morvin {

TFrKodZnak::TFrKodZnak(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  offerEncodings();
  showPrompt(ui.CbKodowanie, tr("Wybierz kodowanie"));
  retranslateOnLanguageChange(this, [this] {
    ui.retranslateUi(this);
    offerEncodings();
    retranslatePrompt(ui.CbKodowanie, tr("Wybierz kodowanie"));
  });
}

// The Polish program offers the form's two Central European encodings. The
// English one offers what an English page uses and recommends the one that
// fits the machine's own system: a Polish system's letters need ISO-8859-2.
void TFrKodZnak::offerEncodings() {
  if (currentLanguage() == Language::Polish) return;
  QComboBox* list = ui.CbKodowanie;
  const QString standing = list->currentText();
  const int chosen = list->currentIndex();
  list->setItemText(0, QStringLiteral("windows-1252"));
  list->setItemText(1, QStringLiteral("ISO-8859-1"));
  // setItemText on the current entry also replaces the text standing in the field.
  if (chosen < 0) list->setEditText(standing);
  const bool polishSystem = platform::currentSystemLanguage() == platform::SystemLanguage::Polish;
  ui.Label3->setText(polishSystem ? tr("Z poniższej listy wybierz standard kodowania znaków, który zostanie "
                                       "użyty do zbudowania animowanej tapety. Ten system jest polski: "
                                       "jeśli tytuł lub ścieżka animacji mają polskie litery, wpisz "
                                       "ISO-8859-2.")
                                  : tr("Z poniższej listy wybierz standard kodowania znaków, który zostanie "
                                       "użyty do zbudowania animowanej tapety. Zalecany jest windows-1252, "
                                       "strona kodowa tego systemu."));
}

}  // namespace morvin
