// The wizard's editable drop-down fields start with a prompt standing in them
// as their text; whatever text stands there when the page is left is taken.
// A listed entry is taken by its Polish word, which the page generator knows,
// whatever the language shows.
#pragma once

#include <QComboBox>
#include <QStringList>

namespace morvin {

inline constexpr const char* kPromptProperty = "morvinPrompt";

inline void showPrompt(QComboBox* combo, const QString& prompt) {
  combo->setCurrentIndex(-1);
  combo->setEditText(prompt);
  combo->setProperty(kPromptProperty, prompt);
}

// After a language change: a prompt still standing is shown in the new language.
inline void retranslatePrompt(QComboBox* combo, const QString& prompt) {
  if (combo->currentIndex() < 0 && combo->currentText() == combo->property(kPromptProperty).toString())
    showPrompt(combo, prompt);
  else
    combo->setProperty(kPromptProperty, prompt);
}

// The entries' own words, in list order (the texts the form gives them in Polish).
inline void setEntryWords(QComboBox* combo, const QStringList& words) {
  for (int i = 0; i < combo->count() && i < words.size(); ++i) combo->setItemData(i, words[i]);
}

// The field's value: a listed entry's own word, else the text standing there.
inline QString fieldValue(const QComboBox* combo) {
  const int index = combo->currentIndex();
  const QVariant word = index >= 0 ? combo->itemData(index) : QVariant();
  if (word.isValid() && combo->currentText() == combo->itemText(index)) return word.toString();
  return combo->currentText();
}

}  // namespace morvin
