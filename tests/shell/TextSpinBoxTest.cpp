// The free-text spin box: typing, stepping and the range.
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "categories/TextSpinBox.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {
namespace {

class TextSpinBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensureApplication();
    spin = std::make_unique<TextSpinBox>();
  }
  void loseFocus() {
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(spin.get(), &out);
  }
  std::unique_ptr<TextSpinBox> spin;
};

TEST_F(TextSpinBoxTest, TypingTakesSignsAndDigitsOnly) {
  spin->findChild<QLineEdit*>()->clear();
  QTest::keyClicks(spin->findChild<QLineEdit*>(), "-1a2 b");
  EXPECT_EQ(spin->text(), "-12");
}

TEST_F(TextSpinBoxTest, StepsFromTheNumberItHoldsWithinTheRange) {
  spin->setText("-1");
  spin->stepBy(1);
  EXPECT_EQ(spin->text(), "1");  // -1 + 1 pulled up to the minimum
  spin->setText("9999");
  spin->stepBy(5);
  EXPECT_EQ(spin->text(), "10000");
  spin->setText("");
  spin->stepBy(1);
  EXPECT_EQ(spin->text(), "2");  // no number: stepping starts from the minimum
}

TEST_F(TextSpinBoxTest, LosingTheFocusPullsOnlyANumberOutsideTheRange) {
  QSignalSpy changes(spin.get(), &TextSpinBox::textChanged);
  spin->setText("0");
  loseFocus();
  EXPECT_EQ(spin->text(), "1");
  spin->setText("");
  loseFocus();
  EXPECT_EQ(spin->text(), "");
  spin->setText("530");
  loseFocus();
  EXPECT_EQ(spin->text(), "530");
  EXPECT_EQ(changes.count(), 4);  // "0", "1", "", "530"
}

TEST_F(TextSpinBoxTest, SettingTheSameTextAnnouncesNothing) {
  QSignalSpy changes(spin.get(), &TextSpinBox::textChanged);
  spin->setText(spin->text());
  EXPECT_EQ(changes.count(), 0);
}

}  // namespace
}  // namespace morvin::test
