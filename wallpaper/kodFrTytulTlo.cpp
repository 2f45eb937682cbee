#include "kodFrTytulTlo.h"

#include <limits>

#include "shell/DialogService.h"
#include "shell/Guard.h"
#include "shell/Language.h"

namespace morvin {

TFrTytulTlo::TFrTytulTlo(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  retranslateOnLanguageChange(this, [this] { ui.retranslateUi(this); });
  ui.Edit1->setMaxLength(std::numeric_limits<int>::max());  // the title has no length limit
  connect(ui.PanelKolor, &ColourSwatch::clicked, this, [this] { unguarded([this] { PanelKolorClick(); }); });
}

void TFrTytulTlo::PanelKolorClick() {
  const auto chosen = dialogs().chooseColor(this, dialogKolor_);
  if (!chosen || !chosen->isValid()) return;
  dialogKolor_ = *chosen;
  ui.PanelKolor->setColour(*chosen);
}

}  // namespace morvin
