#include "kodFrKoniec.h"

#include "shell/Language.h"

namespace morvin {

TFrKoniec::TFrKoniec(QWidget* parent) : QFrame(parent) {
  ui.setupUi(this);
  retranslateOnLanguageChange(this, [this] { ui.retranslateUi(this); });
  QPalette green = ui.Label2->palette();
  green.setColor(QPalette::WindowText, QColor(0x00, 0x80, 0x00));
  ui.Label2->setPalette(green);
}

}  // namespace morvin
