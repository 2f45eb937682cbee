// The language at run time: chosen in "Ustawienia programu" it is stored and
// every open window speaks it at once; `--lang` and MORVIN_LANG choose it for
// one run; the guide and the help document are the language's own.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QTextEdit>

#include "guide/Articles.h"
#include "shell/DataPaths.h"
#include "shell/Language.h"
#include "app/Startup.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

constexpr const char* kSettings = "Software\\Morvin\\Ustawienia";

class LanguageSwitchTest : public test::GuiTest {
 protected:
  void TearDown() override {
    setLanguage(Language::Polish);
    qunsetenv("MORVIN_LANG");
    test::GuiTest::TearDown();
  }
  std::string stored() {
    std::uint32_t type = 0;
    std::string bytes;
    if (!machine->value(reg::kCurrentUser, kSettings, "Jezyk", &type, &bytes)) return "(none)";
    return type == 1 ? std::string(bytes.c_str()) : "(other type)";
  }
};

TEST_F(LanguageSwitchTest, AChoiceInTheSettingsIsStoredAndRetranslatesAnOpenWindow) {
  createWindows();
  QWidget* web = window(WindowId::Web);
  web->show();
  auto* language = test::child<QComboBox>(window(WindowId::Set), "Jezyk");
  auto* box = test::child<QCheckBox>(web, "CheckBox1");
  ASSERT_EQ(box->text(), QString::fromUtf8("Włącz ukrywanie haseł"));
  EXPECT_EQ(stored(), "(none)");  // showing the language stores nothing

  language->setCurrentIndex(1);
  test::processEvents();
  EXPECT_EQ(stored(), "en");
  EXPECT_EQ(currentLanguage(), Language::English);
  EXPECT_EQ(box->text(), QStringLiteral("Hide share passwords"));
  EXPECT_EQ(box->accessibleName(), box->text());
  EXPECT_EQ(web->windowTitle(), QStringLiteral("Network"));
  EXPECT_EQ(language->currentText(), QStringLiteral("English"));  // the names of languages stay

  language->setCurrentIndex(0);
  test::processEvents();
  EXPECT_EQ(stored(), "pl");
  EXPECT_EQ(box->text(), QString::fromUtf8("Włącz ukrywanie haseł"));
  EXPECT_EQ(web->windowTitle(), QString::fromUtf8("Sieć"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(LanguageSwitchTest, TheGuideAndTheHelpDocumentFollowTheLanguage) {
  createWindows();
  ASSERT_TRUE(setLanguage(Language::English));
  test::processEvents();
  auto* tips = test::child<QTextEdit>(window(WindowId::Sztuczki), "RichEdit1");
  EXPECT_TRUE(tips->toPlainText().startsWith(QStringLiteral("Windows Tricks - A Practical Guide")));
  auto* articles = test::child<QComboBox>(window(WindowId::Sztuczki), "Arty");
  ASSERT_EQ(articles->count(), 3);
  for (int i = 0; i < articles->count(); ++i)
    EXPECT_TRUE(QFileInfo::exists(guide::articleFile(articles->itemText(i))))
        << articles->itemText(i).toStdString();
  EXPECT_EQ(articles->itemText(1), QStringLiteral("The registry"));

  openHelpDocument(nullptr);
  ASSERT_EQ(shellLog->calls().size(), 1u);
  EXPECT_EQ(shellLog->calls()[0].file, dataFolder() + QStringLiteral("/en/pomoc/Help.doc"));
  EXPECT_TRUE(QFileInfo::exists(shellLog->calls()[0].file));
}

TEST_F(LanguageSwitchTest, TheLanguageComesFromTheArgumentsTheEnvironmentOrTheStore) {
  using L = Language;
  const struct {
    QStringList arguments;
    const char* environment;
    std::optional<L> expected;
  } overrides[] = {
      {{"morvin-ng", "--lang", "en"}, nullptr, L::English},
      {{"morvin-ng", "--lang=pl"}, "en", L::Polish},
      {{"morvin-ng"}, "en", L::English},
      {{"morvin-ng"}, "EN ", L::English},
      {{"morvin-ng"}, nullptr, std::nullopt},
      {{"morvin-ng", "--lang", "de"}, nullptr, std::nullopt},
  };
  for (const auto& row : overrides) {
    if (row.environment)
      qputenv("MORVIN_LANG", row.environment);
    else
      qunsetenv("MORVIN_LANG");
    EXPECT_EQ(languageOverride(row.arguments), row.expected) << row.arguments.join(' ').toStdString();
  }

  const struct {
    const char* value;  // nullptr: nothing stored
    std::uint32_t type;
    L expected;
  } stores[] = {{"en", 1, L::English},
                {"pl", 1, L::Polish},
                {"de", 1, L::Polish},
                {nullptr, 1, L::Polish},
                {"\1\0\0\0", 4, L::Polish}};
  for (const auto& row : stores) {
    machine->deleteTree(reg::kCurrentUser, kSettings);
    machine->createKey(reg::kCurrentUser, kSettings);
    if (row.value) machine->setString(reg::kCurrentUser, kSettings, "Jezyk", row.value, row.type);
    EXPECT_EQ(storedLanguage(), row.expected) << (row.value ? row.value : "(none)");
  }
}

}  // namespace
}  // namespace morvin
