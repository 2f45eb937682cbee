#include "Language.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTranslator>
#include <QWidget>
#include <cstdio>

#include "DataPaths.h"
#include "registry/TRegistry.h"
#include "registry/WinReg.h"

namespace morvin {

namespace {

constexpr const char* kSettingsKey = "Software\\Morvin\\Ustawienia";

Language& current() {
  static Language language = Language::Polish;
  return language;
}

QTranslator*& installed() {
  static QTranslator* translator = nullptr;
  return translator;
}

class LanguageChangeFilter : public QObject {
 public:
  LanguageChangeFilter(QWidget* form, std::function<void()> retranslate)
      : QObject(form), form_(form), retranslate_(std::move(retranslate)) {
    form->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == form_ && event->type() == QEvent::LanguageChange) retranslate_();
    return false;
  }

 private:
  QWidget* form_;
  std::function<void()> retranslate_;
};

}  // namespace

QString languageCode(Language language) {
  return language == Language::English ? QStringLiteral("en") : QStringLiteral("pl");
}

std::optional<Language> languageFromCode(const QString& code) {
  const QString c = code.trimmed().toLower();
  if (c == QLatin1String("pl")) return Language::Polish;
  if (c == QLatin1String("en")) return Language::English;
  return std::nullopt;
}

Language storedLanguage() {
  try {
    TRegistry reg;
    reg.SelectRoot(reg::kCurrentUser);
    if (!reg.OpenPath(kSettingsKey, false) || !reg.HasValue(kLanguageValue)) return Language::Polish;
    return languageFromCode(QString::fromLatin1(reg.ReadText(kLanguageValue).c_str()))
        .value_or(Language::Polish);
  } catch (const std::exception&) {
    return Language::Polish;  // a value of another type is no choice
  }
}

std::optional<Language> languageOverride(const QStringList& arguments) {
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--lang") && i + 1 < arguments.size())
      return languageFromCode(arguments[i + 1]);
    if (argument.startsWith(QLatin1String("--lang="))) return languageFromCode(argument.mid(7));
  }
  const QString fromEnvironment = qEnvironmentVariable("MORVIN_LANG");
  if (!fromEnvironment.isEmpty()) return languageFromCode(fromEnvironment);
  return std::nullopt;
}

Language currentLanguage() {
  return current();
}

QString translationFile(Language language) {
  return dataFolder() + QStringLiteral("/translations/morvin-ng_") + languageCode(language) +
         QStringLiteral(".qm");
}

bool setLanguage(Language language) {
  if (language == current() && (language == Language::Polish || installed())) return true;
  if (installed()) {
    QCoreApplication::removeTranslator(installed());
    delete installed();
    installed() = nullptr;
  }
  current() = Language::Polish;
  if (language == Language::Polish) return true;
  auto* translator = new QTranslator;
  if (!translator->load(translationFile(language))) {
    std::fprintf(stderr, "morvin-ng: cannot load the translation %s\n",
                 translationFile(language).toLocal8Bit().constData());
    delete translator;
    return false;
  }
  installed() = translator;
  current() = language;
  QCoreApplication::installTranslator(translator);
  return true;
}

QString localizedDataFile(const QString& relativePath) {
  if (current() == Language::Polish) return dataFile(relativePath);
  return dataFile(languageCode(current()) + QLatin1Char('\\') + relativePath);
}

QString localizedPictureFile(const QString& relativePath) {
  const QString localized = localizedDataFile(relativePath);
  return QFileInfo::exists(localized) ? localized : dataFile(relativePath);
}

void retranslateOnLanguageChange(QWidget* form, std::function<void()> retranslate) {
  new LanguageChangeFilter(form, std::move(retranslate));
}

}  // namespace morvin
