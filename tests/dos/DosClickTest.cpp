// Clicks and delay changes of the MS-DOS window store at once.
#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "DosTestSupport.h"

namespace morvin::test {
namespace {

using reg::kCurrentUser;

TEST_F(DosTest, PolicyBoxesWriteFlagsCreatingTheirKey) {
  TfmDos* w = open();
  machine->deleteTree(kCurrentUser, kWinOldApp);
  click(box(w, "CheckBox2"));
  EXPECT_EQ(machine->dword(kCurrentUser, kWinOldApp, "NoRealMode"), 1);
  click(box(w, "CheckBox1"));
  click(box(w, "CheckBox1"));
  EXPECT_EQ(machine->dword(kCurrentUser, kWinOldApp, "Disabled"), 0);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(DosTest, BootMenuSwitchesTheDelayBoxAndItsLabel) {
  writeFile("[Options]\r\nBootMenu=1\r\nBootMenuDelay=30\r\n");
  TfmDos* w = open();
  QCheckBox* menu = box(w, "CheckBox5");
  ASSERT_TRUE(menu->isChecked());
  ASSERT_TRUE(delay(w)->isEnabled());
  click(menu);
  EXPECT_EQ(option("BootMenu"), "0");
  EXPECT_FALSE(delay(w)->isEnabled());
  EXPECT_FALSE(child<QLabel>(w, "Label4")->isEnabled());
  click(menu);
  EXPECT_EQ(option("BootMenu"), "1");
  EXPECT_TRUE(delay(w)->isEnabled());
  EXPECT_TRUE(child<QLabel>(w, "Label4")->isEnabled());
}

TEST_F(DosTest, ClickReplacesAThirdValueByTheBoxState) {
  writeFile("[Options]\r\nAutoScan=2\r\n");
  TfmDos* w = open();
  QCheckBox* scan = box(w, "CheckBox3");
  click(scan);
  EXPECT_EQ(option("AutoScan"), "0");
  click(scan);
  EXPECT_EQ(option("AutoScan"), "1");
}

TEST_F(DosTest, OptionBoxesWriteTheirOwnKeys) {
  TfmDos* w = open();
  click(box(w, "CheckBox4"));
  EXPECT_EQ(option("BootGUI"), "0");
  click(box(w, "CheckBox7"));
  EXPECT_EQ(option("Logo"), "0");
  EXPECT_EQ(option("AutoScan"), "1");
}

TEST_F(DosTest, SwitchingTheKeysOffWritesZero) {
  TfmDos* w = open();
  QCheckBox* keys = box(w, "CheckBox6");
  click(keys);
  EXPECT_EQ(option("BootKeys"), "0");
  click(keys);
  EXPECT_EQ(option("BootKeys"), "1");
}

TEST_F(DosTest, EveryDelayChangeIsWritten) {
  writeFile("[Options]\r\nBootMenu=1\r\n");
  TfmDos* w = open();
  delay(w)->stepUp();
  EXPECT_EQ(option("BootMenuDelay"), "31");  // no delay shows 30
  delay(w)->setText("120");
  EXPECT_EQ(option("BootMenuDelay"), "120");
}

// Typed text is written as typed; Tab to the next control pulls it into 1..10000 and writes again.
TEST_F(DosTest, ATypedDelayIsWrittenAsTypedAndSettledWhenTheUserMovesOn) {
  writeFile("[Options]\r\nBootMenu=1\r\n");
  TfmDos* w = open();
  w->show();
  QApplication::setActiveWindow(w);
  QLineEdit* edit = delay(w)->findChild<QLineEdit*>();
  struct Case {
    const char* typed;
    const char* asTyped;
    const char* afterTab;
  };
  for (const Case& c : {Case{"20000", "20000", "10000"}, Case{"0", "0", "1"}, Case{"", "1", "1"},
                        Case{"700", "700", "700"}}) {
    SCOPED_TRACE(c.typed);
    delay(w)->setFocus(Qt::MouseFocusReason);
    edit->selectAll();
    if (*c.typed)
      QTest::keyClicks(edit, c.typed);
    else
      QTest::keyClick(edit, Qt::Key_Delete);
    EXPECT_EQ(option("BootMenuDelay"), c.asTyped);
    QTest::keyClick(edit, Qt::Key_Tab);
    EXPECT_FALSE(delay(w)->hasFocus());
    EXPECT_EQ(option("BootMenuDelay"), c.afterTab);
  }
}

TEST_F(DosTest, ClicksFollowTheFileWhenItIsReplacedWhileRunning) {
  TfmDos* w = open();
  writeFile("[Options]\r\nWinVer=4.10.2222\r\n");
  click(box(w, "CheckBox5"));
  EXPECT_EQ(option("BootMenu"), "1");
  EXPECT_EQ(option("WinVer"), "4.10.2222");
}

}  // namespace
}  // namespace morvin::test
