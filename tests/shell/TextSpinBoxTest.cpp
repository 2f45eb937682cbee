// The free-text spin box: typing, stepping and the range, set up as the
// blink-rate field (a sign and digits, 1..10000) and as the wizard's size
// fields (any number characters, 1..1000000, text kept when the page goes).
#include <QApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include <QLocale>
#include <QSignalSpy>
#include <QTest>

#include "shell/TextSpinBox.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {
namespace {

class TextSpinBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ensureApplication();
    spin = std::make_unique<TextSpinBox>();
    spin->setRange(1, 10000);
    spin->setText("1");
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

TEST_F(TextSpinBoxTest, TypingTakesASignOnlyInFrontAndNoSeparator) {
  spin->findChild<QLineEdit*>()->clear();
  QTest::keyClicks(spin->findChild<QLineEdit*>(), "1-2+" + QLocale().decimalPoint() + "3");
  EXPECT_EQ(spin->text(), "123");
}

TEST_F(TextSpinBoxTest, AFieldHiddenWithItsWindowStillSettlesTheRange) {
  QWidget window;
  auto* field = new TextSpinBox(&window);
  field->setRange(1, 10000);
  window.show();
  QApplication::setActiveWindow(&window);
  field->setFocus();
  field->setText("20000");
  window.hide();
  EXPECT_EQ(field->text(), "10000");
}

// The wizard's size fields as their form sets them up.
void setUpAsSizeField(TextSpinBox& spin) {
  spin.setRange(1, 1000000);
  spin.setLooseTyping(true);
  spin.setKeepsTextWhenHidden(true);
}

TEST(LooseTextSpinBox, TypingTakesDigitsSignsAndTheSeparatorOnly) {
  ensureApplication();
  TextSpinBox spin;
  setUpAsSizeField(spin);
  spin.setText("");
  spin.show();
  QTest::keyClicks(&spin, "1a2b-+" + QLocale().decimalPoint() + "x");
  EXPECT_EQ(spin.text(), "12-+" + QLocale().decimalPoint());
}

TEST(LooseTextSpinBox, ArrowsStepWithinTheRange) {
  ensureApplication();
  TextSpinBox spin;
  setUpAsSizeField(spin);
  spin.setText("999999");
  spin.stepBy(1);
  EXPECT_EQ(spin.text(), "1000000");
  spin.stepBy(1);
  EXPECT_EQ(spin.text(), "1000000");
  spin.setText("1");
  spin.stepBy(-1);
  EXPECT_EQ(spin.text(), "1");
  spin.setText("");
  spin.stepBy(1);  // no number: steps from the lowest
  EXPECT_EQ(spin.text(), "2");
}

TEST(LooseTextSpinBox, LeavingTheFieldPullsATypedNumberIntoTheRange) {
  ensureApplication();
  QWidget window;
  auto* spin = new TextSpinBox(&window);
  setUpAsSizeField(*spin);
  auto* other = new QLineEdit(&window);
  other->move(0, 40);
  window.show();
  QApplication::setActiveWindow(&window);
  for (auto [typed, settled] :
       {std::pair{"2000000", "1000000"}, {"0", "1"}, {"-5", "1"}, {"-", "-"}, {"", ""}}) {
    spin->setFocus();
    spin->setText(QString::fromLatin1(typed));
    other->setFocus();
    EXPECT_EQ(spin->text(), QString::fromLatin1(settled)) << typed;
  }
  // A field hidden with its page keeps the text as typed.
  spin->setFocus();
  spin->setText("2000000");
  spin->hide();
  EXPECT_EQ(spin->text(), "2000000");
}

TEST(TextSpinBoxNumber, WholeNumbersAreReadStrictly) {
  EXPECT_EQ(TextSpinBox::wholeNumber("1024"), 1024);
  EXPECT_EQ(TextSpinBox::wholeNumber("+7"), 7);
  EXPECT_EQ(TextSpinBox::wholeNumber("-2147483648"), INT32_MIN);
  EXPECT_EQ(TextSpinBox::wholeNumber("2147483647"), INT32_MAX);
  EXPECT_EQ(TextSpinBox::wholeNumber("2147483648"), std::nullopt);
  EXPECT_EQ(TextSpinBox::wholeNumber(""), std::nullopt);
  EXPECT_EQ(TextSpinBox::wholeNumber("-"), std::nullopt);
  EXPECT_EQ(TextSpinBox::wholeNumber("1,5"), std::nullopt);
  EXPECT_EQ(TextSpinBox::wholeNumber("1-"), std::nullopt);
}

}  // namespace
}  // namespace morvin::test
