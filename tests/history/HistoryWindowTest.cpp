// "Historia zmian": the listing and its filter, undo of chosen entries with
// the conflict question, the open windows shown anew, the .reg file, and the
// ways to open the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <fstream>
#include <sstream>

#include "history/kodHistoria.h"
#include "registry/Journal.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

constexpr reg::Key HKCU = reg::kCurrentUser;
constexpr const char* kNetwork = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";

class HistoryWindowTest : public test::GuiTest {
 protected:
  // The line of the entry that set `value` to `after`.
  int lineOf(TfmHistoria& history, const QString& value, const QString& after) {
    auto* list = test::child<QTreeWidget>(&history, "Lista");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (list->topLevelItem(i)->text(3) == value && list->topLevelItem(i)->text(4).endsWith(after)) return i;
    return -1;
  }
  void select(TfmHistoria& history, int line) {
    auto* list = test::child<QTreeWidget>(&history, "Lista");
    list->clearSelection();
    list->topLevelItem(line)->setSelected(true);
  }
};

TEST_F(HistoryWindowTest, AWindowsWriteBackIsListedFilteredTakenBackAndTheWindowShowsItAgain) {
  machine->setDword(HKCU, kNetwork, "NoNetSetup", 5);
  QWidget* web = nullptr;
  {
    reg::journal::Source source(journalSourceOf(WindowId::Web));  // as the program makes its windows
    web = createTfmWeb(nullptr);                                  // its load rewrites 5 as 1
  }
  ASSERT_EQ(machine->dword(HKCU, kNetwork, "NoNetSetup"), 1);
  auto* checkBox6 = test::child<QCheckBox>(web, "CheckBox6");

  TfmHistoria history;
  auto* list = test::child<QTreeWidget>(&history, "Lista");
  const int line = lineOf(history, "NoNetSetup", "1 (0x00000001)");
  ASSERT_GE(line, 0);
  EXPECT_EQ(list->topLevelItem(line)->text(4), QString::fromUtf8("5 (0x00000005) → 1 (0x00000001)"));
  EXPECT_EQ(list->topLevelItem(line)->text(2), QString::fromUtf8("HKEY_CURRENT_USER\\") + kNetwork);

  auto* filter = test::child<QComboBox>(&history, "Filtr");
  filter->setCurrentIndex(filter->findText(QString::fromUtf8("Sieć")));
  ASSERT_EQ(list->topLevelItemCount(), static_cast<int>(history.shownEntries().size()));
  for (const auto& e : history.shownEntries()) EXPECT_EQ(e.source, "Sie\xe6");

  // Taken back while the stored value was changed meanwhile: asked, No keeps it.
  machine->setDword(HKCU, kNetwork, "NoNetSetup", 7);
  select(history, lineOf(history, "NoNetSetup", "1 (0x00000001)"));
  dialogLog->answerQuestion(Answer::No);
  test::click(&history, "Button1");
  ASSERT_EQ(dialogLog->count(ShownDialog::Kind::Question), 1);
  EXPECT_TRUE(dialogLog->texts(ShownDialog::Kind::Question).front().contains("7 (0x00000007)"));
  EXPECT_EQ(machine->dword(HKCU, kNetwork, "NoNetSetup"), 7);

  machine->setDword(HKCU, kNetwork, "NoNetSetup", 0);
  checkBox6->setChecked(true);  // the user ticks it again: 1
  history.Odswiez();
  filter->setCurrentIndex(0);  // every source
  select(history, lineOf(history, "NoNetSetup", "1 (0x00000001)"));
  test::click(&history, "Button1");
  EXPECT_EQ(machine->dword(HKCU, kNetwork, "NoNetSetup"), 0);
  EXPECT_FALSE(checkBox6->isChecked());  // shown again, and nothing written by showing it
  EXPECT_EQ(machine->dword(HKCU, kNetwork, "NoNetSetup"), 0);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(HistoryWindowTest, AllIsTakenBackAndTheChangesAreSavedAsARegFile) {
  machine->setDword(HKCU, kNetwork, "NoNetSetup", 5);  // a change of its own, outside the program
  createTfmWeb(nullptr);
  TfmHistoria history;
  const std::string file = machine->folder() + "/zmiany.reg";
  dialogLog->answerFile(QString::fromStdString(file));
  test::click(&history, "Button3");
  std::stringstream saved;
  saved << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_NE(saved.str().find("\"NoNetSetup\"=dword:00000001\r\n"), std::string::npos) << saved.str();

  dialogLog->answerQuestion(Answer::Yes);
  test::click(&history, "Button2");
  EXPECT_FALSE(machine->keyExists(HKCU, kNetwork));
  EXPECT_EQ(test::child<QTreeWidget>(&history, "Lista")->topLevelItemCount() > 0,
            true);  // the undo is listed
  dialogLog->answerFile(QString::fromStdString(file));
  test::click(&history, "Button3");
  saved.str({});
  saved << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(saved.str(), "REGEDIT4\r\n\r\n");
}

TEST_F(HistoryWindowTest, TheMainWindowsMenuAndTheSettingsWindowOpenItAndScreenReadersNameItsControls) {
  TfmHistoria history;
  for (QWidget* control : test::readableControls(&history))
    EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();

  QWidget* main = createTMainForm();
  auto* menu = test::child<QMenu>(main, "MenuK");
  ASSERT_FALSE(menu->actions().isEmpty());
  QAction* last = menu->actions().back();
  EXPECT_EQ(last->text(), QString::fromUtf8("Historia zmian..."));
  std::vector<QString> shownCaptions;
  setModalRunner([&](WindowId, QWidget* w) { shownCaptions.push_back(w->windowTitle()); });
  last->trigger();
  test::click(createTfmSet(main), "HistoriaZmian");
  EXPECT_EQ(shownCaptions,
            (std::vector<QString>{QString::fromUtf8("Historia zmian"), QString::fromUtf8("Historia zmian")}));
}

}  // namespace
}  // namespace morvin
