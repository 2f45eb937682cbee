// "Historia zmian": the listing and its filter, undo of chosen entries with
// the conflict question, the open windows shown anew, the .reg file, a
// journal too big to read whole, columns fitted to the first page, forgetting,
// and the ways to open the window.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPushButton>
#include <QTreeView>
#include <fstream>
#include <sstream>

#include "history/kodHistoria.h"
#include "platform/Machine.h"
#include "registry/Cp1250.h"
#include "registry/HiveStoreFile.h"
#include "registry/Journal.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

constexpr reg::Key HKCU = reg::kCurrentUser;
constexpr const char* kNetwork = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";

class HistoryWindowTest : public test::GuiTest {
 protected:
  static QString cell(TfmHistoria& history, int line, int column) {
    JournalModel& model = history.model();
    return model.data(model.index(line, column)).toString();
  }
  // The line of the entry that set `value` to `after`.
  int lineOf(TfmHistoria& history, const QString& value, const QString& after) {
    for (int i = 0; i < history.model().rowCount(); ++i)
      if (cell(history, i, JournalModel::Value) == value &&
          cell(history, i, JournalModel::Change).endsWith(after))
        return i;
    return -1;
  }
  void select(TfmHistoria& history, int line) {
    auto* list = test::child<QTreeView>(&history, "Lista");
    list->clearSelection();
    list->selectionModel()->select(history.model().index(line, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
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
  const int line = lineOf(history, "NoNetSetup", "1 (0x00000001)");
  ASSERT_GE(line, 0);
  EXPECT_EQ(cell(history, line, JournalModel::Change), QString::fromUtf8("5 (0x00000005) → 1 (0x00000001)"));
  EXPECT_EQ(cell(history, line, JournalModel::Key), QString::fromUtf8("HKEY_CURRENT_USER\\") + kNetwork);

  auto* filter = test::child<QComboBox>(&history, "Filtr");
  filter->setCurrentIndex(filter->findText(QString::fromUtf8("Sieć")));
  ASSERT_GT(history.model().rowCount(), 0);
  for (int i = 0; i < history.model().rowCount(); ++i) EXPECT_EQ(history.model().entry(i).source, "Sie\xe6");

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
  EXPECT_GT(history.model().rowCount(), 0);  // the undo is listed
  dialogLog->answerFile(QString::fromStdString(file));
  test::click(&history, "Button3");
  saved.str({});
  saved << std::ifstream(file, std::ios::binary).rdbuf();
  EXPECT_EQ(saved.str(), "REGEDIT4\r\n\r\n");
}

// 300,000 entries written straight into USER.DAT, each alone, a third of
// them "Pulpit".
void fillJournal(const std::string& userDat, int entries) {
  reg::hive::HiveFile hive(userDat, false);
  hive.begin();
  for (int i = 1; i <= entries; ++i) {
    reg::journal::Entry e;
    e.at = 1600000000000000 + i;
    e.source = i % 3 == 0 ? "Pulpit" : "morvin-reg import";
    e.root = "HKEY_CURRENT_USER";
    e.path = "Software\\Big";
    e.name = "V" + std::to_string(i);
    e.after = {true, 4, std::string("\x01\0\0\0", 4)};
    hive.addEntry(e);
  }
  hive.commit();
}

TEST_F(HistoryWindowTest, AJournalTooBigToReadWholeIsListedAPageAtATimeFilteredAndTakenBack) {
  fillJournal(platform::Machine(machine->folder()).userDat(), 300'000);
  machine->setDword(HKCU, "Software\\Newest", "n", 7);  // the newest entry, a real change
  TfmHistoria history;
  JournalModel& model = history.model();
  ASSERT_GE(model.rowCount(), JournalModel::kPage);  // a page or two of 300,000 entries
  ASSERT_LE(model.rowCount(), 2 * JournalModel::kPage);
  EXPECT_EQ(cell(history, 0, JournalModel::Value), "n");
  EXPECT_EQ(cell(history, 2, JournalModel::Value), "V300000");  // below the key made for it
  EXPECT_EQ(model.data(model.index(0, JournalModel::Key), Qt::ToolTipRole).toString(),
            QString::fromUtf8("HKEY_CURRENT_USER\\Software\\Newest"));
  auto* list = test::child<QTreeView>(&history, "Lista");
  EXPECT_GE(list->columnWidth(JournalModel::Key),
            list->fontMetrics().horizontalAdvance(cell(history, 0, JournalModel::Key)));  // fitted on opening
  EXPECT_GT(history.maximumWidth(), history.minimumWidth());                              // resizable
  ASSERT_TRUE(model.canFetchMore({}));
  list->scrollToBottom();  // the view may ask for the next page itself
  const int shown = model.rowCount();
  model.fetchMore({});
  EXPECT_EQ(model.rowCount(), shown + JournalModel::kPage);
  EXPECT_EQ(cell(history, JournalModel::kPage + 2, JournalModel::Value),
            "V" + QString::number(300'000 - JournalModel::kPage));

  auto* filter = test::child<QComboBox>(&history, "Filtr");
  filter->setCurrentIndex(filter->findText("Pulpit"));
  ASSERT_GE(model.rowCount(), JournalModel::kPage);  // a page, or two when the list asks for more
  ASSERT_LE(model.rowCount(), 2 * JournalModel::kPage);
  for (int i = 0; i < model.rowCount(); ++i) EXPECT_EQ(model.entry(i).source, "Pulpit");
  EXPECT_EQ(cell(history, 0, JournalModel::Value), "V300000");

  filter->setCurrentIndex(0);
  select(history, lineOf(history, "n", "7 (0x00000007)"));
  test::click(&history, "Button1");
  EXPECT_EQ(machine->dword(HKCU, "Software\\Newest", "n"), -1);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

// Measuring the text of every line fetched would make the opening grow with
// what the list holds; the columns fit the first page only.
TEST_F(HistoryWindowTest, ItsColumnsFitTheFirstPageNotTheLinesFetchedBelowIt) {
  const std::string longKey = "Software\\" + std::string(120, 'D');
  machine->setDword(HKCU, longKey, "old", 1);  // below the first page: older than the 200 below
  for (int i = 0; i < JournalModel::kPage; ++i)
    machine->setDword(HKCU, "Software\\Short", "v" + std::to_string(i), 1);
  TfmHistoria history;
  const int line = lineOf(history, "old", "1 (0x00000001)");
  ASSERT_GE(line, JournalModel::kPage);  // fetched and listed, on the second page
  auto* list = test::child<QTreeView>(&history, "Lista");
  const QFontMetrics metrics = list->fontMetrics();
  EXPECT_GE(list->columnWidth(JournalModel::Key),
            metrics.horizontalAdvance(cell(history, 0, JournalModel::Key)));
  EXPECT_LT(list->columnWidth(JournalModel::Key),
            metrics.horizontalAdvance(cell(history, line, JournalModel::Key)));
}

TEST_F(HistoryWindowTest, ForgettingOlderEntriesKeepsTheChangesButNotTheirWayBack) {
  machine->setDword(HKCU, kNetwork, "NoNetSetup", 5);
  machine->setDword(HKCU, kNetwork, "NoNetSetup", 6);
  TfmHistoria history;
  const int line = lineOf(history, "NoNetSetup", "6 (0x00000006)");
  ASSERT_GE(line, 0);
  select(history, line);
  dialogLog->answerQuestion(Answer::Yes);
  test::click(&history, "ForgetOlderButton");
  EXPECT_TRUE(dialogLog->texts(ShownDialog::Kind::Question).front().contains(QString::fromUtf8("cofnąć")));
  EXPECT_EQ(lineOf(history, "NoNetSetup", "5 (0x00000005)"), -1);  // older: gone
  ASSERT_EQ(lineOf(history, "NoNetSetup", "6 (0x00000006)"), 0);
  select(history, 0);
  test::click(&history, "Button1");
  EXPECT_EQ(machine->dword(HKCU, kNetwork, "NoNetSetup"), 5);  // back to the new start
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
