// The program's language. Polish is its own: the forms and the code carry the
// Polish texts and need no translation file. English comes from
// translations/morvin-ng_en.qm beside the data; the choice is stored as
// "Jezyk" ("pl" or "en") under HKCU\Software\Morvin\Ustawienia, and
// `--lang en` or MORVIN_LANG=en choose it for one run.
#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace morvin {

enum class Language { Polish, English };

inline constexpr const char* kLanguageValue = "Jezyk";

QString languageCode(Language language);
std::optional<Language> languageFromCode(const QString& code);

// The stored choice; Polish when nothing (or nothing known) is stored.
Language storedLanguage();
// `--lang CODE` or `--lang=CODE` among the arguments, else MORVIN_LANG.
std::optional<Language> languageOverride(const QStringList& arguments);

Language currentLanguage();
// Installs the English translator or removes it; every window then gets a
// LanguageChange event. False (and Polish) when the translation file is missing.
bool setLanguage(Language language);
QString translationFile(Language language);

// A data file of the current language by its Windows-style relative path:
// the English tips, articles and help document lie below en\.
QString localizedDataFile(const QString& relativePath);
// A picture of the current language by its relative path: the English set
// below en\ holds only the pictures that show words, so any other is the
// language-free one.
QString localizedPictureFile(const QString& relativePath);

// Runs `retranslate` whenever `form` gets a LanguageChange event: the form's
// retranslateUi() and then the texts the form sets in code.
void retranslateOnLanguageChange(QWidget* form, std::function<void()> retranslate);

}  // namespace morvin
