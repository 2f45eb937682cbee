// The recording services every GUI test relies on, and where data files are found.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFileInfo>

#include "shell/DataPaths.h"
#include "shell/RecordingServices.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

TEST(RecordingDialogs, ScriptedAnswersComeInOrderAndAnEmptyScriptAnswersSafely) {
  RecordingDialogService dialogs;
  dialogs.answerQuestion(Answer::Yes);
  dialogs.answerInput(QStringLiteral("Kosz"));
  dialogs.answerInput(std::nullopt);
  dialogs.answerColour(QColor(Qt::red));

  EXPECT_EQ(dialogs.question(nullptr, "Information", "Q1", MsgIcon::Information), Answer::Yes);
  EXPECT_EQ(dialogs.question(nullptr, "Information", "Q2", MsgIcon::Question), Answer::No);
  EXPECT_EQ(dialogs.inputBox(nullptr, "Nazwa", "Podaj", "x"), std::optional<QString>("Kosz"));
  EXPECT_EQ(dialogs.inputBox(nullptr, "Nazwa", "Podaj", "x"), std::nullopt);
  EXPECT_EQ(dialogs.inputBox(nullptr, "Nazwa", "Podaj", "x"), std::nullopt);
  EXPECT_EQ(dialogs.openFile(nullptr, "Otwórz", {"Obrazy (*.bmp)", "Wszystkie (*.*)"}, ""), std::nullopt);
  EXPECT_EQ(dialogs.chooseColor(nullptr, Qt::white), std::optional<QColor>(QColor(Qt::red)));
  EXPECT_EQ(dialogs.chooseColor(nullptr, Qt::white), std::nullopt);
  EXPECT_TRUE(dialogs.scriptsUsedUp());

  const auto& shown = dialogs.shown();
  ASSERT_EQ(shown.size(), 8u);
  EXPECT_EQ(shown[1].answer, "No");
  EXPECT_EQ(shown[1].icon, MsgIcon::Question);
  EXPECT_EQ(shown[2].answer, "Kosz");
  EXPECT_EQ(shown[3].answer, "Cancel");
  EXPECT_EQ(shown[5].text, "Obrazy (*.bmp);;Wszystkie (*.*)");
  EXPECT_EQ(shown[5].answer, "Cancel");
  EXPECT_EQ(dialogs.count(ShownDialog::Kind::Question), 2);
  EXPECT_EQ(dialogs.texts(ShownDialog::Kind::Question), (QStringList{"Q1", "Q2"}));
}

class DataPathsTest : public test::GuiTest {};

TEST_F(DataPathsTest, DataFilesAreFoundBesideTheProgramOrInTheChosenFolder) {
  // The pictures are drawn beside the test programs, so that is the data folder.
  EXPECT_EQ(dataFolder(), executableFolder());
  EXPECT_TRUE(QFileInfo::exists(dataFile("Data\\Gfx\\Bmp\\Ustawienie2.Bmp")));

  setDataFolder("/opt/morvin/");
  EXPECT_EQ(dataFolder(), "/opt/morvin");
  EXPECT_EQ(dataFile("\\Data\\Gfx\\Bmp\\Ustawienie.bmp"), "/opt/morvin/Data/Gfx/Bmp/Ustawienie.bmp");
  openHelpDocument(nullptr);
  setDataFolder({});
  EXPECT_EQ(dataFolder(), executableFolder());
  ASSERT_EQ(shellLog->calls().size(), 1u);
  EXPECT_EQ(shellLog->calls()[0].file, "/opt/morvin/pomoc/Help.doc");
  EXPECT_EQ(shellLog->calls()[0].verb, "open");
}

}  // namespace
}  // namespace morvin
