// The Network window: every flag's load, write-back and click, the error box
// or silence of each row, key creation, and the master box.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QGroupBox>

#include "categories/kodWeb.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

constexpr reg::Key HKLM = reg::kLocalMachine;
constexpr reg::Key HKCU = reg::kCurrentUser;
constexpr const char* kNetwork = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
constexpr const char* kExplorer = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

struct Flag {
  const char* box;
  reg::Key root;
  const char* key;
  const char* value;
};
const Flag kMachineFlags[] = {{"CheckBox1", HKLM, kNetwork, "HideSharePwds"},
                              {"CheckBox2", HKLM, kNetwork, "DisablePwdCaching"},
                              {"CheckBox3", HKLM, kNetwork, "AlphanumPwds"},
                              {"CheckBox4", HKLM, kNetwork, "NoDialIn"},
                              {"CheckBox5", HKLM, kNetwork, "NoPrintSharing"}};
const Flag kUserNetworkFlags[] = {{"CheckBox7", HKCU, kNetwork, "NoNetSetupIDPage"},
                                  {"CheckBox8", HKCU, kNetwork, "NoNetSetupSecurityPage"},
                                  {"CheckBox9", HKCU, kNetwork, "NoFileSharingControl"},
                                  {"CheckBox10", HKCU, kNetwork, "NoPrintSharingControl"},
                                  {"CheckBox11", HKCU, kNetwork, "NoEntireNetwork"},
                                  {"CheckBox12", HKCU, kNetwork, "NoWorkgroupContents"}};

class WebTest : public test::GuiTest {
 protected:
  QWidget* open() {
    window = createTfmWeb(nullptr);
    return window;
  }
  QCheckBox* box(const char* name) { return test::child<QCheckBox>(window, name); }

  QWidget* window = nullptr;  // deleted with the window set after each test
};

TEST_F(WebTest, AFreshMachineShowsEveryBoxUncheckedAndWritesNothing) {
  open();
  for (int i = 1; i <= 13; ++i) {
    const std::string name = "CheckBox" + std::to_string(i);
    EXPECT_FALSE(box(name.c_str())->isChecked()) << name;
    EXPECT_TRUE(box(name.c_str())->isEnabled()) << name;
  }
  EXPECT_FALSE(machine->keyExists(HKLM, kNetwork));
  EXPECT_FALSE(machine->keyExists(HKCU, kNetwork));
  EXPECT_FALSE(machine->valueExists(HKCU, kExplorer, "NoNetHood"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(WebTest, StoredFlagsLoadAndNonzeroFlagsAreRewrittenAsOne) {
  machine->setDword(HKLM, kNetwork, "HideSharePwds", 2);
  machine->setDword(HKLM, kNetwork, "DisablePwdCaching", 1);
  machine->setDword(HKLM, kNetwork, "AlphanumPwds", 0);
  machine->setString(HKLM, kNetwork, "NoDialIn", "1");
  machine->setDword(HKCU, kNetwork, "NoNetSetup", 1);
  machine->setDword(HKCU, kNetwork, "NoNetSetupIDPage", 1);
  machine->setDword(HKCU, kNetwork, "NoNetSetupSecurityPage", 0);
  machine->setDword(HKCU, kNetwork, "NoEntireNetwork", 7);
  machine->setDword(HKCU, kExplorer, "NoNetHood", 0xFFFFFFFF);
  open();

  EXPECT_TRUE(box("CheckBox1")->isChecked());
  EXPECT_EQ(machine->dword(HKLM, kNetwork, "HideSharePwds"), 1);
  EXPECT_TRUE(box("CheckBox2")->isChecked());
  EXPECT_FALSE(box("CheckBox3")->isChecked());
  EXPECT_EQ(machine->dword(HKLM, kNetwork, "AlphanumPwds"), 0);
  // A text where a flag belongs: unchecked and left as it was.
  EXPECT_FALSE(box("CheckBox4")->isChecked());
  EXPECT_EQ(machine->string(HKLM, kNetwork, "NoDialIn"), "1");
  EXPECT_FALSE(machine->valueExists(HKLM, kNetwork, "NoPrintSharing"));

  // The master loaded checked: its four dependents start disabled, each with its own state.
  EXPECT_TRUE(box("CheckBox6")->isChecked());
  for (const char* dependent : {"CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10"})
    EXPECT_FALSE(box(dependent)->isEnabled()) << dependent;
  EXPECT_TRUE(box("CheckBox7")->isChecked());
  EXPECT_FALSE(box("CheckBox8")->isChecked());
  for (const char* free : {"CheckBox11", "CheckBox12", "CheckBox13"})
    EXPECT_TRUE(box(free)->isEnabled()) << free;

  EXPECT_TRUE(box("CheckBox11")->isChecked());
  EXPECT_EQ(machine->dword(HKCU, kNetwork, "NoEntireNetwork"), 1);
  EXPECT_TRUE(box("CheckBox13")->isChecked());
  EXPECT_EQ(machine->dword(HKCU, kExplorer, "NoNetHood"), 1);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(WebTest, MachineFlagsWithoutTheirKeyReportEachClickAndCreateNothing) {
  open();
  QStringList expected;
  for (const Flag& flag : kMachineFlags) {
    test::click(box(flag.box));
    EXPECT_TRUE(box(flag.box)->isChecked()) << flag.box;  // the box keeps its new state
    expected << QString("Failed to set data for '%1'").arg(flag.value);
  }
  EXPECT_EQ(errorBoxes(), expected);
  EXPECT_FALSE(machine->keyExists(HKLM, kNetwork));
}

TEST_F(WebTest, MachineFlagsWriteIntoAnExistingKey) {
  machine->createKey(HKLM, kNetwork);
  open();
  for (const Flag& flag : kMachineFlags) {
    test::click(box(flag.box));
    EXPECT_EQ(machine->dword(HKLM, kNetwork, flag.value), 1) << flag.value;
    test::click(box(flag.box));
    EXPECT_EQ(machine->dword(HKLM, kNetwork, flag.value), 0) << flag.value;  // 0 is written, never removed
  }
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(WebTest, UserNetworkFlagsCreateTheirKey) {
  open();
  for (const Flag& flag : kUserNetworkFlags) {
    machine->deleteTree(HKCU, kNetwork);
    test::click(box(flag.box));
    EXPECT_EQ(machine->dword(HKCU, kNetwork, flag.value), 1) << flag.value;
  }
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(WebTest, TheMasterBoxDisablesItsFourDependentsAndKeepsTheirState) {
  open();
  test::click(box("CheckBox8"));
  test::click(box("CheckBox6"));
  EXPECT_EQ(machine->dword(HKCU, kNetwork, "NoNetSetup"), 1);
  for (const char* dependent : {"CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10"})
    EXPECT_FALSE(box(dependent)->isEnabled()) << dependent;
  EXPECT_TRUE(box("CheckBox11")->isEnabled());
  EXPECT_TRUE(box("CheckBox8")->isChecked());
  EXPECT_EQ(machine->dword(HKCU, kNetwork, "NoNetSetupSecurityPage"), 1);

  test::click(box("CheckBox6"));
  EXPECT_EQ(machine->dword(HKCU, kNetwork, "NoNetSetup"), 0);
  for (const char* dependent : {"CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10"})
    EXPECT_TRUE(box(dependent)->isEnabled()) << dependent;
  EXPECT_TRUE(box("CheckBox8")->isChecked());
}

TEST_F(WebTest, NetworkNeighbourhoodWithoutTheExplorerKeyStoresAndShowsNothing) {
  machine->deleteTree(HKCU, kExplorer);
  open();
  test::click(box("CheckBox13"));
  EXPECT_TRUE(box("CheckBox13")->isChecked());
  EXPECT_FALSE(machine->keyExists(HKCU, kExplorer));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

class WebReadOnlyTest : public WebTest {
 protected:
  platform::MachineOptions machineOptions() const override { return {true, true}; }
};

TEST_F(WebReadOnlyTest, WithoutRightsLoadsFailSilentlyAndOnlyUnguardedRowsReport) {
  machine->reopen({});
  machine->setDword(HKLM, kNetwork, "HideSharePwds", 1);
  machine->setDword(HKCU, kNetwork, "NoEntireNetwork", 1);
  machine->reopen({true, true});
  open();
  // Keys that cannot be opened with full access do not load.
  EXPECT_FALSE(box("CheckBox1")->isChecked());
  EXPECT_FALSE(box("CheckBox11")->isChecked());
  EXPECT_TRUE(errorBoxes().isEmpty());

  test::click(box("CheckBox1"));
  test::click(box("CheckBox6"));
  test::click(box("CheckBox7"));
  test::click(box("CheckBox13"));
  EXPECT_EQ(errorBoxes(),
            (QStringList{"Failed to set data for 'HideSharePwds'", "Failed to set data for 'NoNetSetup'"}));
  // The failed master write leaves its dependents as they were.
  EXPECT_TRUE(box("CheckBox7")->isEnabled());
  EXPECT_TRUE(box("CheckBox7")->isChecked());
  EXPECT_EQ(machine->dword(HKLM, kNetwork, "HideSharePwds"), 1);
}

TEST_F(WebTest, TheMasterStandsOnTheInnerFrameAboveItsDependents) {
  open();
  EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Sieć"));
  auto* frame = test::child<QGroupBox>(window, "GroupBox2");
  ASSERT_TRUE(frame);
  EXPECT_TRUE(frame->title().isEmpty());
  for (const char* dependent : {"CheckBox7", "CheckBox8", "CheckBox9", "CheckBox10"})
    EXPECT_EQ(box(dependent)->parentWidget(), frame) << dependent;
  for (const char* other : {"CheckBox6", "CheckBox11", "CheckBox12", "CheckBox13"})
    EXPECT_NE(box(other)->parentWidget(), frame) << other;
  // The master sits on the frame's top edge, drawn over it.
  const QRect master = box("CheckBox6")->geometry();
  EXPECT_LT(master.top(), frame->geometry().top() + 4);
  EXPECT_GT(master.bottom(), frame->geometry().top());
  // Every designed control (the ones with a designer name) can be told apart by a screen reader.
  for (QWidget* w : window->findChildren<QWidget*>())
    if (!w->objectName().isEmpty() && !w->objectName().startsWith("qt_"))
      EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
}

}  // namespace
}  // namespace morvin
