// Removing and restoring the Recycle Bin and My Documents desktop icons.
#include "IkonyTestSupport.h"

namespace morvin::test {
namespace {

using reg::kClassesRoot;
using reg::kLocalMachine;

TEST_F(IkonyTest, DesktopEntryCountsOnlyWithANonEmptyName) {
  // Recycle Bin entry with an empty name, My Documents entry with a number.
  machine->setString(kLocalMachine, kBinEntry, "", "");
  machine->setDword(kLocalMachine, kDocsEntry, "", 1);
  TfmIkony* w = open();
  EXPECT_TRUE(box(w, "CheckBox4")->isChecked());
  EXPECT_TRUE(box(w, "CheckBox5")->isChecked());
  // The load only sets the marks: both entries stay as they were.
  EXPECT_TRUE(machine->valueExists(kLocalMachine, kBinEntry, ""));
  EXPECT_EQ(machine->dword(kLocalMachine, kDocsEntry, ""), 1);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(IkonyTest, MissingDesktopEntriesLoadCheckedAndNothingIsWritten) {
  machine->deleteTree(kLocalMachine, kNameSpace);
  TfmIkony* w = open();
  EXPECT_TRUE(box(w, "CheckBox4")->isChecked());
  EXPECT_TRUE(box(w, "CheckBox5")->isChecked());
  EXPECT_FALSE(machine->keyExists(kLocalMachine, kNameSpace));
}

TEST_F(IkonyTest, TickingRemovesTheEntryWithItsSubkeys) {
  machine->createKey(kLocalMachine, kBinEntry + "\\Podklucz\\Glebiej");
  TfmIkony* w = open();
  click(box(w, "CheckBox4"));
  EXPECT_FALSE(machine->keyExists(kLocalMachine, kBinEntry));
  click(box(w, "CheckBox5"));
  EXPECT_FALSE(machine->keyExists(kLocalMachine, kDocsEntry));
  // Other desktop entries stay.
  EXPECT_TRUE(machine->keyExists(kLocalMachine, kNameSpace + "\\{FBF23B42-E3F0-101B-8488-00AA003E56F8}"));
}

TEST_F(IkonyTest, UntickingRestoresTheRecycleBinUnderItsCurrentName) {
  machine->deleteTree(kLocalMachine, kBinEntry);
  machine->setString(kClassesRoot, kBinClass, "", "Śmietnik");
  TfmIkony* w = open();
  QCheckBox* bin = box(w, "CheckBox4");
  ASSERT_TRUE(bin->isChecked());
  click(bin);
  EXPECT_EQ(machine->string(kLocalMachine, kBinEntry, ""), "Śmietnik");
}

TEST_F(IkonyTest, UntickingWithoutARecycleBinNameWritesAnEmptyNameThatLoadsChecked) {
  machine->deleteTree(kLocalMachine, kBinEntry);
  machine->setString(kClassesRoot, kBinClass, "", "");
  TfmIkony* w = open();
  click(box(w, "CheckBox4"));
  EXPECT_EQ(typeOf(kLocalMachine, kBinEntry, ""), reg::type::Sz);
  EXPECT_EQ(bytesOf(kLocalMachine, kBinEntry, ""), std::string(1, '\0'));
  delete w;

  TfmIkony* again = open();
  EXPECT_TRUE(box(again, "CheckBox4")->isChecked());
}

TEST_F(IkonyTest, UntickingMyDocumentsWritesTheFixedName) {
  machine->deleteTree(kLocalMachine, kDocsEntry);
  machine->setString(kClassesRoot, "CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}", "", "Dokumenty Jana");
  TfmIkony* w = open();
  click(box(w, "CheckBox5"));
  EXPECT_EQ(machine->string(kLocalMachine, kDocsEntry, ""), "Moje dokumenty");
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(IkonyTest, RestoringWithoutTheDesktopListCreatesItInItsPlace) {
  machine->deleteTree(kLocalMachine, kNameSpace);
  TfmIkony* w = open();
  click(box(w, "CheckBox5"));
  click(box(w, "CheckBox4"));
  EXPECT_EQ(machine->string(kLocalMachine, kDocsEntry, ""), "Moje dokumenty");
  EXPECT_EQ(machine->string(kLocalMachine, kBinEntry, ""), "Kosz");
  // Never below the root of the hive.
  EXPECT_FALSE(machine->keyExists(kLocalMachine, "{450d8fba-ad25-11d0-98a8-0800361b1103}"));
  EXPECT_FALSE(machine->keyExists(kLocalMachine, "{645FF040-5081-101B-9F08-00AA002F954E}"));
}

class IkonyReadOnlyMachineTest : public IkonyTest {
 protected:
  platform::MachineOptions machineOptions() const override { return {.readOnlyLocalMachine = true}; }
};

TEST_F(IkonyReadOnlyMachineTest, RefusedMyDocumentsRestoreIsReportedAndRecycleBinStaysSilent) {
  machine->reopen({});
  machine->deleteTree(kLocalMachine, kNameSpace);
  machine->reopen({.readOnlyLocalMachine = true});
  TfmIkony* w = open();
  QCheckBox* docs = box(w, "CheckBox5");
  QCheckBox* bin = box(w, "CheckBox4");
  ASSERT_TRUE(docs->isChecked());
  click(docs);
  EXPECT_FALSE(docs->isChecked());
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for ''"});
  click(bin);
  EXPECT_FALSE(bin->isChecked());
  EXPECT_EQ(errorBoxes().size(), 1);  // the Recycle Bin's box is guarded
}

}  // namespace
}  // namespace morvin::test
