// What the Icons window shows and writes back when it is created, and the
// tooltip switch.
#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>

#include "IkonyTestSupport.h"

namespace morvin::test {
namespace {

using reg::kClassesRoot;
using reg::kCurrentUser;

TEST_F(IkonyTest, DefaultMachineLoadsItsStateAndRewritesOnlyTheShortcutArrow) {
  TfmIkony* w = open();
  EXPECT_TRUE(box(w, "CheckBox1")->isChecked());   // ShowInfoTip=1
  EXPECT_FALSE(box(w, "CheckBox2")->isChecked());  // no NoDesktop
  EXPECT_FALSE(box(w, "CheckBox4")->isChecked());  // the Recycle Bin is on the desktop
  EXPECT_FALSE(box(w, "CheckBox5")->isChecked());
  EXPECT_FALSE(box(w, "CheckBox6")->isChecked());  // HideIcons=0
  EXPECT_TRUE(box(w, "CheckBox3")->isChecked());
  EXPECT_EQ(child<QLineEdit>(w, "Edit1")->text(), "Kosz");
  EXPECT_TRUE(w->tooltipsShown());
  EXPECT_EQ(machine->dword(kCurrentUser, kAdvanced, "ShowInfoTip"), 1);
  EXPECT_EQ(typeOf(kClassesRoot, "lnkfile", "IsShortcut"), reg::type::Sz);
  EXPECT_TRUE(machine->keyExists(reg::kLocalMachine, kBinEntry));
  EXPECT_TRUE(machine->keyExists(reg::kLocalMachine, kDocsEntry));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(IkonyTest, MissingShowInfoTipKeepsTooltipsOnAndTheBoxSwitchesThem) {
  removeValue(kCurrentUser, kAdvanced, "ShowInfoTip");
  TfmIkony* w = open();
  QCheckBox* tips = box(w, "CheckBox1");
  EXPECT_FALSE(tips->isChecked());
  EXPECT_TRUE(w->tooltipsShown());
  EXPECT_FALSE(machine->valueExists(kCurrentUser, kAdvanced, "ShowInfoTip"));

  click(tips);
  EXPECT_EQ(machine->dword(kCurrentUser, kAdvanced, "ShowInfoTip"), 1);
  EXPECT_TRUE(w->tooltipsShown());
  click(tips);
  EXPECT_EQ(machine->dword(kCurrentUser, kAdvanced, "ShowInfoTip"), 0);
  EXPECT_FALSE(w->tooltipsShown());
  click(tips);
  EXPECT_TRUE(w->tooltipsShown());
}

TEST_F(IkonyTest, StoredShowInfoTipDecidesTheTooltipsAtLoad) {
  machine->setDword(kCurrentUser, kAdvanced, "ShowInfoTip", 0);
  TfmIkony* off = open();
  EXPECT_FALSE(box(off, "CheckBox1")->isChecked());
  EXPECT_FALSE(off->tooltipsShown());
  delete off;

  machine->setDword(kCurrentUser, kAdvanced, "ShowInfoTip", 7);
  TfmIkony* on = open();
  EXPECT_TRUE(box(on, "CheckBox1")->isChecked());
  EXPECT_TRUE(on->tooltipsShown());
  EXPECT_EQ(machine->dword(kCurrentUser, kAdvanced, "ShowInfoTip"), 1);  // rewritten by the load
}

TEST_F(IkonyTest, SwitchedOffTooltipsAreNotShown) {
  TfmIkony* w = open();
  w->show();
  QWidget* target = child(w, "SpeedButton6");
  target->setToolTip("opis");
  const QPoint at = target->rect().center();
  QHelpEvent ask(QEvent::ToolTip, at, target->mapToGlobal(at));
  QApplication::sendEvent(target, &ask);
  EXPECT_EQ(QToolTip::text(), "opis");
  QToolTip::hideText();

  click(box(w, "CheckBox1"));  // off
  target->setToolTip("drugi opis");
  QHelpEvent again(QEvent::ToolTip, at, target->mapToGlobal(at));
  QApplication::sendEvent(target, &again);
  EXPECT_NE(QToolTip::text(), "drugi opis");

  click(box(w, "CheckBox1"));  // on again
  QHelpEvent third(QEvent::ToolTip, at, target->mapToGlobal(at));
  QApplication::sendEvent(target, &third);
  EXPECT_EQ(QToolTip::text(), "drugi opis");
}

TEST_F(IkonyTest, FlagsOfOtherTypesKeepTheDesignedState) {
  machine->setString(kCurrentUser, kAdvanced, "HideIcons", "1");
  machine->setDword(kCurrentUser, kPolicies, "NoDesktop", 3);
  TfmIkony* w = open();
  EXPECT_FALSE(box(w, "CheckBox6")->isChecked());
  EXPECT_EQ(typeOf(kCurrentUser, kAdvanced, "HideIcons"), reg::type::Sz);  // untouched
  EXPECT_TRUE(box(w, "CheckBox2")->isChecked());
  EXPECT_EQ(machine->dword(kCurrentUser, kPolicies, "NoDesktop"), 1);
}

TEST_F(IkonyTest, ShortcutArrowIsValuePresenceWrittenAsEmptyText) {
  machine->setDword(kClassesRoot, "lnkfile", "IsShortcut", 0);
  TfmIkony* w = open();
  QCheckBox* arrow = box(w, "CheckBox3");
  EXPECT_TRUE(arrow->isChecked());
  EXPECT_EQ(typeOf(kClassesRoot, "lnkfile", "IsShortcut"), reg::type::Sz);
  EXPECT_EQ(bytesOf(kClassesRoot, "lnkfile", "IsShortcut"), std::string(1, '\0'));

  click(arrow);
  EXPECT_FALSE(machine->valueExists(kClassesRoot, "lnkfile", "IsShortcut"));
  EXPECT_TRUE(machine->keyExists(kClassesRoot, "lnkfile"));
  click(arrow);
  EXPECT_EQ(bytesOf(kClassesRoot, "lnkfile", "IsShortcut"), std::string(1, '\0'));
}

TEST_F(IkonyTest, WithoutTheShortcutTypeNothingIsCreated) {
  machine->deleteTree(kClassesRoot, "lnkfile");
  TfmIkony* w = open();
  QCheckBox* arrow = box(w, "CheckBox3");
  EXPECT_FALSE(arrow->isChecked());
  click(arrow);  // guarded, opens without creation
  EXPECT_TRUE(arrow->isChecked());
  EXPECT_FALSE(machine->keyExists(kClassesRoot, "lnkfile"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(IkonyTest, HidingAllIconsWithoutThePolicyKeyReportsTheFailure) {
  machine->deleteTree(kCurrentUser, kPolicies);
  TfmIkony* w = open();
  QCheckBox* hide = box(w, "CheckBox2");
  click(hide);
  EXPECT_TRUE(hide->isChecked());
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for 'NoDesktop'"});
  EXPECT_FALSE(machine->keyExists(kCurrentUser, kPolicies));
}

}  // namespace
}  // namespace morvin::test
