// The seventeen policy boxes: where each is stored, which write creates its
// key, the two masters, and what the load writes back.
#include <QScrollArea>
#include <vector>

#include "WindowsTestSupport.h"

namespace morvin::test {
namespace {

struct Flag {
  const char* box;
  const std::string* key;
  const char* value;
  bool createsKey;
};

// In load order.
const std::vector<Flag> kFlags = {
    {"CheckBox1", &kSystemKey, "NoDispCPL", true},
    {"CheckBox2", &kSystemKey, "NoDispBackgroundPage", true},
    {"CheckBox3", &kSystemKey, "NoDispScrSavPage", true},
    {"CheckBox4", &kSystemKey, "NoDispAppearancePage", true},
    {"CheckBox5", &kSystemKey, "NoDispSettingsPage", true},
    {"CheckBox7", &kSystemKey, "NoSecCPL", true},
    {"CheckBox8", &kSystemKey, "NoPwdPage", true},
    {"CheckBox9", &kSystemKey, "NoAdminPage", true},
    {"CheckBox6", &kSystemKey, "NoProfilePage", false},
    {"CheckBox10", &kSystemKey, "NoDevMgrPage", false},
    {"CheckBox11", &kSystemKey, "NoConfigPage", false},
    {"CheckBox12", &kSystemKey, "NoFileSysPage", false},
    {"CheckBox13", &kSystemKey, "NoVirtMemPage", false},
    {"CheckBox14", &kSystemKey, "DisableRegistryTools", false},
    {"CheckBox15", &kExplorerKey, "NoPrinterTabs", false},
    {"CheckBox16", &kExplorerKey, "NoDeletePrinter", false},
    {"CheckBox17", &kExplorerKey, "NoAddPrinter", false},
};

const char* const kDisplaySheets[] = {"CheckBox2", "CheckBox3", "CheckBox4", "CheckBox5"};

TEST_F(WindowsWindowTest, EachFlagLoadsItsOwnValueAndWritesBackAStoredTwoAsOne) {
  for (const Flag& flag : kFlags) machine->setDword(reg::kCurrentUser, *flag.key, flag.value, 2);
  // One flag stored as text stays unchecked and untouched.
  machine->setString(reg::kCurrentUser, kSystemKey, "NoDevMgrPage", "1");
  create();
  for (const Flag& flag : kFlags) {
    SCOPED_TRACE(flag.value);
    if (std::string(flag.value) == "NoDevMgrPage") {
      EXPECT_FALSE(box(flag.box)->isChecked());
      EXPECT_EQ(stored(reg::kCurrentUser, *flag.key, flag.value),
                std::make_pair(reg::type::Sz, std::string("1", 2)));
    } else {
      EXPECT_TRUE(box(flag.box)->isChecked());
      EXPECT_EQ(machine->dword(reg::kCurrentUser, *flag.key, flag.value), 1);
    }
  }
  EXPECT_TRUE(errorBoxes().isEmpty());
  EXPECT_TRUE(dialogLog->shown().empty());
}

TEST_F(WindowsWindowTest, EachFlagLoadsOnlyFromItsOwnValue) {
  // Setting one value at a time catches two boxes swapped in the table.
  for (const Flag& flag : kFlags) {
    SCOPED_TRACE(flag.value);
    machine->deleteTree(reg::kCurrentUser, kSystemKey);
    machine->deleteTree(reg::kCurrentUser, kExplorerKey);
    machine->setDword(reg::kCurrentUser, *flag.key, flag.value, 1);
    QWidget* w = create();
    for (const Flag& other : kFlags) EXPECT_EQ(box(other.box)->isChecked(), &other == &flag) << other.box;
    delete w;
    clearWindows();
  }
}

TEST_F(WindowsWindowTest, MissingSystemKeyIsCreatedByTheDisplayBoxesButReportedByTheOthers) {
  machine->deleteTree(reg::kCurrentUser, kSystemKey);
  machine->deleteTree(reg::kCurrentUser, kExplorerKey);
  create();
  // Without the key, only the boxes that create it can store; the rest report
  // the value they could not store, and keep the user's mark.
  for (const Flag& flag : kFlags) {
    if (flag.createsKey) continue;
    SCOPED_TRACE(flag.value);
    dialogLog->clearShown();
    click(box(flag.box));
    EXPECT_TRUE(box(flag.box)->isChecked());
    EXPECT_EQ(errorBoxes(), QStringList{QString("Failed to set data for '%1'").arg(flag.value)});
    EXPECT_FALSE(machine->valueExists(reg::kCurrentUser, *flag.key, flag.value));
  }
  EXPECT_FALSE(machine->keyExists(reg::kCurrentUser, kSystemKey));

  dialogLog->clearShown();
  click(box("CheckBox2"));
  EXPECT_TRUE(errorBoxes().isEmpty());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kSystemKey, "NoDispBackgroundPage"), 1);
  // Dependents before their masters: a master's tick disables them.
  for (auto flag = kFlags.rbegin(); flag != kFlags.rend(); ++flag) {
    if (!flag->createsKey || std::string(flag->box) == "CheckBox2") continue;
    SCOPED_TRACE(flag->value);
    machine->deleteTree(reg::kCurrentUser, kSystemKey);
    click(box(flag->box));
    EXPECT_EQ(machine->dword(reg::kCurrentUser, kSystemKey, flag->value), 1);
  }
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(WindowsWindowTest, UntickingWritesZeroAndKeepsTheValue) {
  machine->setDword(reg::kCurrentUser, kExplorerKey, "NoAddPrinter", 1);
  machine->setDword(reg::kCurrentUser, kSystemKey, "NoProfilePage", 1);
  create();
  click(box("CheckBox17"));
  click(box("CheckBox6"));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kExplorerKey, "NoAddPrinter"), 0);
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kSystemKey, "NoProfilePage"), 0);
}

TEST_F(WindowsWindowTest, DisplayMasterStoredSetDisablesItsSheetsWhichKeepTheirOwnState) {
  machine->setDword(reg::kCurrentUser, kSystemKey, "NoDispCPL", 1);
  machine->setDword(reg::kCurrentUser, kSystemKey, "NoDispScrSavPage", 1);
  create();
  EXPECT_TRUE(box("CheckBox1")->isChecked());
  for (const char* sheet : kDisplaySheets) EXPECT_FALSE(box(sheet)->isEnabled()) << sheet;
  EXPECT_TRUE(box("CheckBox3")->isChecked());
  EXPECT_FALSE(box("CheckBox2")->isChecked());
  // The other master's boxes are not governed by this one.
  EXPECT_TRUE(box("CheckBox8")->isEnabled());
  EXPECT_TRUE(box("CheckBox6")->isEnabled());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kSystemKey, "NoDispCPL"), 1);

  click(box("CheckBox1"));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kSystemKey, "NoDispCPL"), 0);
  for (const char* sheet : kDisplaySheets) EXPECT_TRUE(box(sheet)->isEnabled()) << sheet;
  EXPECT_TRUE(box("CheckBox3")->isChecked());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kSystemKey, "NoDispScrSavPage"), 1);
}

TEST_F(WindowsWindowTest, PasswordMasterGovernsOnlyItsTwoSheets) {
  create();
  for (const char* name : {"CheckBox8", "CheckBox9", "CheckBox6"}) EXPECT_TRUE(box(name)->isEnabled());
  click(box("CheckBox7"));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kSystemKey, "NoSecCPL"), 1);
  EXPECT_FALSE(box("CheckBox8")->isEnabled());
  EXPECT_FALSE(box("CheckBox9")->isEnabled());
  EXPECT_TRUE(box("CheckBox6")->isEnabled());
  for (const char* sheet : kDisplaySheets) EXPECT_TRUE(box(sheet)->isEnabled()) << sheet;
}

class WindowsReadOnlyUserTest : public WindowsWindowTest {
 protected:
  platform::MachineOptions machineOptions() const override {
    platform::MachineOptions options;
    options.readOnlyCurrentUser = true;
    return options;
  }
};

TEST_F(WindowsReadOnlyUserTest, AFailedMasterWriteLeavesItsSheetsAsTheyWere) {
  create();
  click(box("CheckBox1"));
  EXPECT_TRUE(box("CheckBox1")->isChecked());
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for 'NoDispCPL'"});
  for (const char* sheet : kDisplaySheets) EXPECT_TRUE(box(sheet)->isEnabled()) << sheet;
}

TEST_F(WindowsWindowTest, StartsWithNothingLoadedWhereNothingIsStored) {
  machine->setString(reg::kLocalMachine, kWinlogonKey, "LegalNoticeCaption", "Uwaga");
  machine->setString(reg::kLocalMachine, kWinlogonKey, "LegalNoticeText", "Tekst");
  create();
  for (const Flag& flag : kFlags) EXPECT_FALSE(box(flag.box)->isChecked()) << flag.box;
  for (const Flag& flag : kFlags) EXPECT_TRUE(box(flag.box)->isEnabled()) << flag.box;
  // Neither the notice nor the display mode is loaded.
  for (const char* name : {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5"})
    EXPECT_TRUE(edit(name)->text().isEmpty());
  EXPECT_TRUE(memo()->toPlainText().isEmpty());
  EXPECT_FALSE(machine->keyExists(reg::kCurrentUser, kSystemKey));
  EXPECT_TRUE(dialogLog->shown().empty());
  EXPECT_EQ(window_->windowTitle(), "Windows");
  EXPECT_TRUE(window_->findChild<QScrollArea*>());
}

}  // namespace
}  // namespace morvin::test
