// Failures while loading, showing, saving and deleting uninstall entries.
#include "ProgramyFixture.h"

namespace morvin::test {
namespace {

const QString kNotice = QStringLiteral("Musisz zaznaczyć pozycję aby móc ją edytować!");

TEST_F(ProgramyTest, ANameThatIsNoTextEndsTheLoadAtItsEntryWithTheErrorBox) {
  addEntry("A", {{"DisplayName", "Alpha"}});
  machine->setDword(reg::kLocalMachine, entry("B"), "DisplayName", 7);
  addEntry("C", {{"DisplayName", "Gamma"}});
  TfmProgramy* w = open();

  EXPECT_EQ(lines(w), (QStringList{"Alpha", "B", "C"}));
  EXPECT_EQ(w->KluczeProgramow(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(errorBoxes(), QStringList{"Invalid data type for 'DisplayName'"});
}

TEST_F(ProgramyTest, ACommandThatIsNoTextShowsTheErrorBoxAndKeepsTheNameAlreadyShown) {
  addEntry("A", {{"DisplayName", "Alpha"}});
  machine->setBinary(reg::kLocalMachine, entry("A"), "UninstallString", std::string("\x01\x02", 2));
  TfmProgramy* w = open();
  commandField(w)->setText("before");
  select(w, 0);

  EXPECT_EQ(nameField(w)->text(), "Alpha");
  EXPECT_EQ(commandField(w)->text(), "before");
  EXPECT_EQ(errorBoxes(), QStringList{"Invalid data type for 'UninstallString'"});
}

TEST_F(ProgramyTest, ABadNameMetByTheReloadAfterSaveIsAnsweredByTheNotice) {
  addEntry("A", {{"DisplayName", "Alpha"}, {"UninstallString", "a.exe"}});
  addEntry("B", {{"DisplayName", "Beta"}});
  TfmProgramy* w = open();
  machine->setDword(reg::kLocalMachine, entry("B"), "DisplayName", 1);
  select(w, 0);
  nameField(w)->setText("Alpha 2");
  click(w, "Button1");

  EXPECT_EQ(text("A", "DisplayName"), "Alpha 2");
  EXPECT_EQ(notices(), QStringList{kNotice});
  EXPECT_TRUE(errorBoxes().isEmpty());
  EXPECT_EQ(lines(w), (QStringList{"Alpha 2", "B"}));
}

TEST_F(ProgramyTest, SavingAnEntryWhoseKeyIsGoneWritesNothingAndReloadsSilently) {
  addEntry("A", {{"DisplayName", "Alpha"}});
  addEntry("B", {{"DisplayName", "Beta"}});
  TfmProgramy* w = open();
  select(w, 0);
  machine->deleteTree(reg::kLocalMachine, entry("A"));
  click(w, "Button1");

  EXPECT_FALSE(machine->keyExists(reg::kLocalMachine, entry("A")));
  EXPECT_TRUE(dialogLog->shown().empty());
  EXPECT_EQ(lines(w), QStringList{"Beta"});
}

TEST_F(ProgramyTest, ShowingAnEntryWhoseKeyIsGoneEmptiesBothFields) {
  addEntry("A", {{"DisplayName", "Alpha"}, {"UninstallString", "a.exe"}});
  TfmProgramy* w = open();
  nameField(w)->setText("x");
  commandField(w)->setText("y");
  machine->deleteTree(reg::kLocalMachine, entry("A"));
  select(w, 0);
  EXPECT_EQ(nameField(w)->text(), "");
  EXPECT_EQ(commandField(w)->text(), "");
  EXPECT_TRUE(errorBoxes().isEmpty());
}

// An entry named like a key below the root: when the uninstall key has gone
// away, deleting the entry must not fall back to HKEY_LOCAL_MACHINE\Software.
TEST_F(ProgramyTest, DeletingNeverReachesOutsideTheUninstallKey) {
  addEntry("Software", {{"DisplayName", "Named like the root key"}});
  machine->setString(reg::kLocalMachine, "Software\\Keep", "Me", "1");
  TfmProgramy* w = open();
  select(w, 0);
  machine->deleteTree(reg::kLocalMachine, kUninstall);
  click(w, "Button2");

  EXPECT_EQ(machine->string(reg::kLocalMachine, "Software\\Keep", "Me"), "1");
  EXPECT_EQ(list(w)->count(), 0);
  EXPECT_TRUE(dialogLog->shown().empty());
}

class ReadOnlyProgramyTest : public ProgramyTest {
 protected:
  TempMachine::Content machineContent() const override { return TempMachine::Content::Default; }
  platform::MachineOptions machineOptions() const override {
    platform::MachineOptions o;
    o.readOnlyLocalMachine = true;
    return o;
  }
};

// Without full rights over HKEY_LOCAL_MACHINE the uninstall key does not open.
TEST_F(ReadOnlyProgramyTest, TheListStaysEmptyAndTheActionsMeetTheNoSelectionCase) {
  TfmProgramy* w = open();
  EXPECT_EQ(list(w)->count(), 0);
  click(w, "Button1");
  EXPECT_EQ(notices(), QStringList{kNotice});
  EXPECT_TRUE(errorBoxes().isEmpty());
}

}  // namespace
}  // namespace morvin::test
