// Every window in English on an English Windows 98: the translation file is
// finished and keeps to the glossary, no window shows a Polish text (nor a
// picture drawn with Polish words), accessible names follow captions, the
// side menu speaks English and "Sieć" still writes what it wrote.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QRegularExpression>
#include <QToolButton>
#include <tuple>

#include "TranslationWalk.h"
#include "app/Startup.h"
#include "categories/kodWeb.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "shell/DataPaths.h"
#include "shell/Guard.h"
#include "shell/Language.h"
#include "shell/Text.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"
#include "wallpaper/WizardCombo.h"
#include "wallpaper/kodKreatorAnimTapeta.h"

namespace morvin {
namespace {

const QString kTsFile = QStringLiteral(MORVIN_TS_FILE);
const QRegularExpression kPolishLetter(QString::fromUtf8("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"));

class EnglishWindowsTest : public test::GuiTest {
 protected:
  // No data of the machine is Polish, so any Polish the windows show is the program's.
  test::TempMachine::Content machineContent() const override { return test::TempMachine::Content::English; }
  void TearDown() override {
    setLanguage(Language::Polish);
    test::GuiTest::TearDown();
  }
  // Every window of the program and the wallpaper wizard, by name.
  std::map<QString, QWidget*> allWindows() {
    createWindows();
    std::map<QString, QWidget*> windows;
    for (int i = 0; i < static_cast<int>(WindowId::Count); ++i)
      if (QWidget* w = window(static_cast<WindowId>(i))) windows[w->metaObject()->className()] = w;
    wizard = std::make_unique<TfmKreatorAnimTapeta>();
    windows[QStringLiteral("TfmKreatorAnimTapeta")] = wizard.get();
    return windows;
  }
  std::unique_ptr<TfmKreatorAnimTapeta> wizard;
};

TEST_F(EnglishWindowsTest, TheTranslationFileHasNoUnfinishedEntry) {
  const test::TranslationFile ts = test::readTranslationFile(kTsFile);
  EXPECT_GT(ts.translations.size(), 300);
  EXPECT_EQ(ts.unfinished, 0);
}

TEST_F(EnglishWindowsTest, EveryWindowShowsEnglishAndKeepsAccessibleNamesEqualToCaptions) {
  const test::TranslationFile ts = test::readTranslationFile(kTsFile);
  const auto windows = allWindows();
  std::map<QString, QMap<QString, QString>> polish;
  for (const auto& [name, w] : windows) polish[name] = test::shownTexts(w);
  ASSERT_TRUE(setLanguage(Language::English));
  test::processEvents();

  for (const auto& [name, w] : windows) {
    const QMap<QString, QString> english = test::shownTexts(w);
    EXPECT_EQ(english.keys(), polish[name].keys()) << name.toStdString();
    for (auto it = english.cbegin(); it != english.cend(); ++it) {
      const QString& text = it.value();
      const QString where = name + '/' + it.key();
      // A Polish source text still standing, unless it is a name the translation keeps.
      if (ts.translations.contains(text))
        EXPECT_TRUE(ts.translations[text].contains(text))
            << "left in Polish: " << where.toStdString() << " " << text.toStdString();
      // A Polish text the translation does not know: set in code without tr().
      else if (text.contains(kPolishLetter))
        ADD_FAILURE() << "untranslated: " << where.toStdString() << " " << text.toStdString();
      // The accessible name follows the caption it equalled in Polish.
      if (!it.key().endsWith(QLatin1String("/accessibleName"))) continue;
      const QString owner = it.key().chopped(QStringLiteral("/accessibleName").size());
      for (const char* caption : {"/text", "/title"}) {
        const QString polishCaption = polish[name].value(owner + caption);
        if (polishCaption.isEmpty() || test::plainCaption(polishCaption) != polish[name].value(it.key()))
          continue;
        EXPECT_EQ(text, test::plainCaption(english.value(owner + caption))) << where.toStdString();
      }
    }
  }
}

TEST_F(EnglishWindowsTest, TheSideMenuOfTheMainWindowIsEnglish) {
  ASSERT_TRUE(setLanguage(Language::English));
  createWindows();
  QWidget* main = window(WindowId::MainForm);
  const std::pair<const char*, const char*> entries[] = {
      {"Label1", "Desktop"}, {"Label2", "Folders"}, {"Label4", "Icons"},  {"Label5", "Taskbar"},
      {"Label6", "Windows"}, {"Label7", "Network"}, {"Label9", "MS-DOS"}, {"Label3", "Tricks"},
      {"Label10", "Help"},   {"Label8", "Exit..."}};
  for (const auto& [label, english] : entries) {
    EXPECT_EQ(test::child<QLabel>(main, label)->text().trimmed(), QString::fromLatin1(english)) << label;
    EXPECT_EQ(test::child<QLabel>(main, label)->accessibleName(), QString::fromLatin1(english)) << label;
  }
  // A quick-access button has the name its window has in the side menu.
  for (const auto& [button, english] : {std::pair{"IkMsDOS", "MS-DOS"}, std::pair{"IkPoradnik", "Tricks"}})
    EXPECT_EQ(test::child<QToolButton>(main, button)->text(), QString::fromLatin1(english)) << button;
}

// The pictures that show words are drawn in English too: each picture of the
// Icons and the Taskbar and Start Menu windows is the English file's.
TEST_F(EnglishWindowsTest, PicturesWithWordsAreTheEnglishOnes) {
  ASSERT_TRUE(setLanguage(Language::English));
  createWindows();
  auto picture = [](const QString& relative) { return QImage(dataFolder() + relative); };
  const QString icons = QStringLiteral("/Data/Gfx/Bmp/Ikony/"), menu = QStringLiteral("/Data/Gfx/Bmp/menu/");
  const std::pair<const char*, QString> buttons[] = {{"SpeedButton1", icons + "MojKomputer.png"},
                                                     {"SpeedButton2", icons + "MojeDokumenty.png"},
                                                     {"SpeedButton3", icons + "Internet.png"},
                                                     {"SpeedButton4", icons + "Kosz.png"},
                                                     {"SpeedButton5", icons + "OtoczenieSieciowe.png"}};
  for (const auto& [button, file] : buttons) {
    auto* shown = test::child<QToolButton>(window(WindowId::Ikony), button);
    const QImage english = picture("/en" + file);
    ASSERT_FALSE(english.isNull()) << file.toStdString();
    EXPECT_NE(english, picture(file)) << file.toStdString();
    EXPECT_EQ(shown->icon().pixmap(english.size()).toImage().convertToFormat(english.format()), english)
        << button;
  }
  const std::pair<const char*, QString> labels[] = {
      {"Image1", menu + "panel.bmp"},      {"Image2", menu + "soft.bmp"},
      {"Image3", menu + "ulubione.bmp"},   {"Image4", menu + "dokumenty.bmp"},
      {"Image5", menu + "ustawienia.bmp"}, {"Image6", menu + "znajdz.bmp"},
      {"Image7", menu + "uruchom.bmp"},    {"Image8", menu + "wyloguj.bmp"},
      {"Image9", menu + "zamknij.bmp"}};
  for (const auto& [label, file] : labels) {
    const QImage english = picture("/en" + file);
    ASSERT_FALSE(english.isNull()) << file.toStdString();
    EXPECT_NE(english, picture(file)) << file.toStdString();
    const QImage shown = test::child<QLabel>(window(WindowId::MenuStart), label)->pixmap().toImage();
    EXPECT_EQ(shown.convertToFormat(english.format()), english) << label;
  }
}

// The registry layer's failures reach the error box in the program's language.
TEST_F(EnglishWindowsTest, ARegistryFileFailureIsShownInTheProgramsLanguage) {
  const std::string polish = cp1250::fromUtf8("Plik rejestru C:\\SYSTEM.DAT jest uszkodzony (zły nagłówek)");
  const auto failure = std::make_exception_ptr(EHiveFileError(EHiveFileError::Kind::Damaged, "C:\\SYSTEM.DAT",
                                                              cp1250::fromUtf8("zły nagłówek"), polish));
  reportFailure(failure);
  ASSERT_TRUE(setLanguage(Language::English));
  reportFailure(failure);
  ASSERT_EQ(errorBoxes().size(), 2);
  EXPECT_EQ(errorBoxes()[0], fromAnsi(polish));  // ")" takes no full stop
  EXPECT_EQ(errorBoxes()[1], QString::fromUtf8("The registry file C:\\SYSTEM.DAT is damaged (zły nagłówek)"));
}

// The glossary's discouraged forms never stand in a finished translation.
TEST_F(EnglishWindowsTest, TheTranslationKeepsToTheGlossary) {
  QFile glossary(QStringLiteral(MORVIN_GLOSSARY_FILE));
  ASSERT_TRUE(glossary.open(QIODevice::ReadOnly | QIODevice::Text));
  const QRegularExpression quoted(QStringLiteral("`([^`]+)`"));
  QStringList discouraged;
  for (const QString& line : QString::fromUtf8(glossary.readAll()).split('\n')) {
    const QStringList cells = line.split('|');
    if (!line.startsWith(QLatin1String("| ")) || cells.size() < 6) continue;  // "| a | b | c | d |"
    for (auto m = quoted.globalMatch(cells[4]); m.hasNext();) discouraged << m.next().captured(1);
  }
  ASSERT_GT(discouraged.size(), 20);
  const test::TranslationFile ts = test::readTranslationFile(kTsFile);
  for (const QString& form : discouraged) {
    // A whole word or phrase: no letter or digit right before or after it.
    const QRegularExpression word("(?<![\\p{L}\\d])" + QRegularExpression::escape(form) + "(?![\\p{L}\\d])");
    for (const QSet<QString>& english : ts.translations)
      for (const QString& text : english)
        EXPECT_FALSE(text.contains(word)) << form.toStdString() << " in: " << text.toStdString();
  }
}

TEST_F(EnglishWindowsTest, TheEnglishNetworkWindowWritesTheSameValues) {
  ASSERT_TRUE(setLanguage(Language::English));
  auto* web = qobject_cast<TfmWeb*>(createTfmWeb(nullptr));
  EXPECT_EQ(web->windowTitle(), QStringLiteral("Network"));
  std::vector<binding::Row> rows = web->Bindings();
  // The master box disables four others: it is clicked last.
  std::stable_partition(rows.begin(), rows.end(), [](const binding::Row& r) { return r.disables.empty(); });
  for (const binding::Row& row : rows) {
    machine->createKey(row.root, row.key);
    auto* box = test::child<QCheckBox>(web, row.control);
    EXPECT_FALSE(box->text().contains(QRegularExpression(QStringLiteral("[ąćęłńóśźż]")))) << row.control;
    test::click(box);
    EXPECT_EQ(machine->dword(row.root, row.key, row.value), 1) << row.control;
  }
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(EnglishWindowsTest, MessagesAndDialogsSpeakEnglish) {
  ASSERT_TRUE(setLanguage(Language::English));
  createWindows();
  dialogLog->answerFile(std::nullopt);
  test::click(window(WindowId::MainForm), "Label8");   // "Exit..."
  test::click(window(WindowId::Programy), "Button1");  // "Save" with no entry selected
  test::click(window(WindowId::Set), "SpeedButton3");  // "Browse"
  const std::vector<ShownDialog>& shown = dialogLog->shown();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[0].text, QStringLiteral("Are you sure you want to exit the program?"));
  EXPECT_EQ(shown[1].caption, QStringLiteral("Select an entry"));
  EXPECT_EQ(shown[1].text, QStringLiteral("You have to select an entry before you can edit it!"));
  EXPECT_EQ(shown[2].caption, QStringLiteral("Choose a wallpaper"));
  EXPECT_TRUE(shown[2].text.startsWith(QStringLiteral("All pictures (*.bmp"))) << shown[2].text.toStdString();
}

TEST_F(EnglishWindowsTest, AWizardEntryChosenInEnglishIsTakenByItsPolishWord) {
  ASSERT_TRUE(setLanguage(Language::English));
  TfmKreatorAnimTapeta wizard;
  auto* alignment = test::child<QComboBox>(&wizard, "ComboBox1");
  EXPECT_EQ(alignment->currentText(), QStringLiteral("Choose the alignment"));
  alignment->setCurrentIndex(2);
  EXPECT_EQ(alignment->currentText(), QStringLiteral("Center"));
  EXPECT_EQ(fieldValue(alignment), QString::fromUtf8("Do środka"));
  alignment->setEditText(QStringLiteral("typed"));
  EXPECT_EQ(fieldValue(alignment), QStringLiteral("typed"));
}

// The encodings an English page uses, the one of this (English) system
// recommended; the Polish wizard keeps its two.
TEST_F(EnglishWindowsTest, TheWizardOffersTheEncodingsOfTheProgramsLanguage) {
  TfmKreatorAnimTapeta wizard;
  auto* encodings = test::child<QComboBox>(&wizard, "CbKodowanie");
  auto* advice = test::child<QLabel>(test::child(&wizard, "FrKodZnak"), "Label3");  // each page has a Label3
  const std::tuple<Language, QStringList, const char*> rows[] = {
      {Language::English, {"windows-1252", "ISO-8859-1"}, "windows-1252, the code page of this system"},
      {Language::Polish, {"ISO-8859-2", "windows-1250"}, "Zaleca się wybranie standardu ISO-8859-2"},
  };
  for (const auto& [language, offered, recommendation] : rows) {
    ASSERT_TRUE(setLanguage(language));
    test::processEvents();
    QStringList shown;
    for (int i = 0; i < encodings->count(); ++i) shown << encodings->itemText(i);
    EXPECT_EQ(shown, offered);
    EXPECT_TRUE(advice->text().contains(QString::fromUtf8(recommendation))) << advice->text().toStdString();
    EXPECT_EQ(encodings->currentIndex(), -1);  // the prompt still stands
  }
}

}  // namespace
}  // namespace morvin
