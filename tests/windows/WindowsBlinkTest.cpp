// Cursor blink: the box stores "-1" or "200", the spin box its text as typed.
#include <QApplication>
#include <QFocusEvent>
#include <QTest>

#include "WindowsTestSupport.h"

namespace morvin::test {
namespace {

TEST_F(WindowsWindowTest, StoredMinusOneChecksTheBoxShowsMinusOneAndIsWrittenBackUnchanged) {
  machine->setString(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate", "-1");
  create();
  EXPECT_TRUE(box("CheckBox18")->isChecked());
  EXPECT_EQ(spin()->text(), "-1");
  EXPECT_EQ(stored(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate"),
            std::make_pair(reg::type::Sz, std::string("-1", 3)));
  EXPECT_TRUE(dialogLog->shown().empty());
}

TEST_F(WindowsWindowTest, OtherStoredRatesLeaveTheBoxUncheckedAndShowAsStored) {
  for (const char* rate : {"530", "0", "20000", "abc"}) {
    SCOPED_TRACE(rate);
    machine->setString(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate", rate);
    QWidget* w = create();
    EXPECT_FALSE(box("CheckBox18")->isChecked());
    EXPECT_EQ(spin()->text(), QString(rate));
    EXPECT_EQ(blinkRate(), rate);
    delete w;
    clearWindows();
  }
}

TEST_F(WindowsWindowTest, MissingOrEmptyRateKeepsTheDesignedOne) {
  machine->setString(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate", "");
  create();
  EXPECT_EQ(spin()->text(), "1");
  EXPECT_FALSE(box("CheckBox18")->isChecked());
  // Nothing was written over the empty text.
  EXPECT_EQ(stored(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate"),
            std::make_pair(reg::type::Sz, std::string(1, '\0')));
}

TEST_F(WindowsWindowTest, TheBoxWritesTwoHundredWhenUncheckedWhateverTheSpinBoxShows) {
  machine->setString(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate", "530");
  create();
  click(box("CheckBox18"));
  EXPECT_EQ(blinkRate(), "-1");
  EXPECT_EQ(spin()->text(), "530");
  click(box("CheckBox18"));
  EXPECT_EQ(blinkRate(), "200");
  EXPECT_EQ(spin()->text(), "530");
}

TEST_F(WindowsWindowTest, EveryChangeOfTheSpinBoxTextIsWrittenAsTyped) {
  create();
  TextSpinBox* s = spin();
  s->findChild<QLineEdit*>()->clear();
  EXPECT_EQ(stored(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate"),
            std::make_pair(reg::type::Sz, std::string(1, '\0')));
  QTest::keyClicks(s->findChild<QLineEdit*>(), "75");
  EXPECT_EQ(blinkRate(), "75");
  QTest::keyClick(s->findChild<QLineEdit*>(), Qt::Key_Up);
  EXPECT_EQ(blinkRate(), "76");
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(WindowsWindowTest, AnOutOfRangeNumberIsPulledInWhenTheSpinBoxLosesTheFocus) {
  create();
  TextSpinBox* s = spin();
  s->setText("20000");
  EXPECT_EQ(blinkRate(), "20000");
  QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(s, &out);
  EXPECT_EQ(s->text(), "10000");
  EXPECT_EQ(blinkRate(), "10000");
}

// Clicking into another program is no leaving of the field: "-1" stays, the box stays checked.
TEST_F(WindowsWindowTest, SwitchingToAnotherWindowLeavesTheRateAsStored) {
  machine->setString(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate", "-1");
  QWidget* w = create();
  w->show();
  QWidget otherProgram;
  otherProgram.show();
  TextSpinBox* s = spin();
  ASSERT_TRUE(s->isVisible());
  QApplication::setActiveWindow(w);
  s->setFocus();
  QApplication::setActiveWindow(&otherProgram);
  EXPECT_EQ(s->text(), "-1");
  EXPECT_EQ(blinkRate(), "-1");
  EXPECT_TRUE(box("CheckBox18")->isChecked());
  // Back in the window, a click on another of its controls settles the number.
  QApplication::setActiveWindow(w);
  s->setFocus();
  box("CheckBox18")->setFocus(Qt::MouseFocusReason);
  EXPECT_EQ(blinkRate(), "1");
}

TEST_F(WindowsWindowTest, MissingDesktopKeySwallowsSpinBoxWritesButReportsTheBox) {
  machine->deleteTree(reg::kCurrentUser, kDesktopKey);
  create();
  spin()->setText("600");
  EXPECT_TRUE(errorBoxes().isEmpty());
  click(box("CheckBox18"));
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for 'CursorBlinkRate'"});
  EXPECT_TRUE(box("CheckBox18")->isChecked());
  EXPECT_FALSE(machine->keyExists(reg::kCurrentUser, kDesktopKey));
}

}  // namespace
}  // namespace morvin::test
