// The wizard's editable drop-down fields start with a prompt standing in them
// as their text; whatever text stands there when the page is left is taken.
#pragma once

#include <QComboBox>

namespace morvin {

inline void showPrompt(QComboBox* combo, const QString& prompt) {
  combo->setCurrentIndex(-1);
  combo->setEditText(prompt);
}

}  // namespace morvin
