// Every window in English: the translation file is finished, no window shows a
// Polish text where an English one exists, accessible names follow captions,
// the side menu speaks English and "Sieć" still writes what it wrote.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRegularExpression>

#include "TranslationWalk.h"
#include "categories/kodWeb.h"
#include "shell/Language.h"
#include "shell/WindowFactories.h"
#include "app/Startup.h"
#include "tests/support/gui/GuiTest.h"
#include "wallpaper/WizardCombo.h"
#include "wallpaper/kodKreatorAnimTapeta.h"

namespace morvin {
namespace {

const QString kTsFile = QStringLiteral(MORVIN_TS_FILE);
const QRegularExpression kPolishLetter(QString::fromUtf8("[ąćęłńóśźżĄĆĘŁŃÓŚŹŻ]"));

class EnglishWindowsTest : public test::GuiTest {
 protected:
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
        EXPECT_TRUE(ts.translations[text].contains(text)) << "left in Polish: " << where.toStdString();
      // A Polish text the translation does not know: set in code without tr().
      else if (text == polish[name].value(it.key()) && text.contains(kPolishLetter))
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

}  // namespace
}  // namespace morvin
