// The stored display mode: written as typed, a large mode asked about first.
#include <QLabel>
#include <QTest>

#include "WindowsTestSupport.h"

namespace morvin::test {
namespace {

using Kind = ShownDialog::Kind;

class WindowsDisplayModeTest : public WindowsWindowTest {
 protected:
  void SetUp() override {
    WindowsWindowTest::SetUp();
    machine->setString(reg::kCurrentConfig, kDisplayKey, "BitsPerPixel", "16");
    machine->setString(reg::kCurrentConfig, kDisplayKey, "RefreshRate", "0");
    machine->setString(reg::kCurrentConfig, kDisplayKey, "Resolution", "800,600");
    create();
  }
  void type(const char* width, const char* height, const char* bits, const char* refresh) {
    edit("Edit2")->setText(width);
    edit("Edit5")->setText(height);
    edit("Edit3")->setText(bits);
    edit("Edit4")->setText(refresh);
  }
  std::string display(const char* name) { return machine->string(reg::kCurrentConfig, kDisplayKey, name); }
  QLabel* label(const char* name) { return child<QLabel>(window_, name); }
};

TEST_F(WindowsDisplayModeTest, ExactlyTheSumOf1024By768IsStoredWithoutAQuestion) {
  type("1024", "768", "32", "85");
  click(window_, "Button4");
  EXPECT_TRUE(dialogLog->shown().empty());
  EXPECT_EQ(display("Resolution"), "1024,768");
  EXPECT_EQ(display("BitsPerPixel"), "32");
  EXPECT_EQ(display("RefreshRate"), "85");
}

TEST_F(WindowsDisplayModeTest, ALargerModeIsStoredOnYes) {
  type("1280", "1024", "24", "75");
  dialogLog->answerQuestion(Answer::Yes);
  click(window_, "Button4");
  ASSERT_EQ(dialogLog->count(Kind::Question), 1);
  const ShownDialog& q = dialogLog->shown().front();
  EXPECT_EQ(q.caption, "Warning");
  EXPECT_EQ(q.icon, MsgIcon::Warning);
  EXPECT_EQ(q.text, QString::fromUtf8("Wprowadzono rozdzielczość większą niż 1024x768. Czy napewno chcesz "
                                      "zmienić rozdzielczość na 1280x1024 ?"));
  EXPECT_EQ(display("Resolution"), "1280,1024");
}

TEST_F(WindowsDisplayModeTest, ALargerModeAnsweredNoKeepsTheResolutionButNotTheOtherTwo) {
  type("1280", "1024", "24", "75");
  dialogLog->answerQuestion(Answer::No);
  click(window_, "Button4");
  EXPECT_EQ(dialogLog->count(Kind::Question), 1);
  EXPECT_EQ(display("Resolution"), "800,600");
  EXPECT_EQ(display("BitsPerPixel"), "24");
  EXPECT_EQ(display("RefreshRate"), "75");
}

TEST_F(WindowsDisplayModeTest, AFieldThatIsNoNumberEndsTheActionSilentlyAfterTheOtherTwo) {
  for (const char* width : {"", "12a", "-"}) {
    SCOPED_TRACE(width);
    type(width, "600", "8", "60");
    click(window_, "Button4");
    EXPECT_TRUE(dialogLog->shown().empty());
    EXPECT_EQ(display("Resolution"), "800,600");
    EXPECT_EQ(display("BitsPerPixel"), "8");
    EXPECT_EQ(display("RefreshRate"), "60");
  }
}

TEST_F(WindowsDisplayModeTest, TheResolutionIsBuiltFromTheTextsAsTyped) {
  type("0640", "+480", "abc", "");
  click(window_, "Button4");
  EXPECT_EQ(display("Resolution"), "0640,+480");
  EXPECT_EQ(display("BitsPerPixel"), "abc");
  EXPECT_EQ(display("RefreshRate"), "");
}

TEST_F(WindowsDisplayModeTest, MissingDisplayKeyEndsTheActionWithoutAMessage) {
  machine->deleteTree(reg::kCurrentConfig, kDisplayKey);
  type("1280", "1024", "24", "75");
  click(window_, "Button4");
  EXPECT_TRUE(dialogLog->shown().empty());
  EXPECT_FALSE(machine->keyExists(reg::kCurrentConfig, kDisplayKey));
}

TEST_F(WindowsDisplayModeTest, SizeFieldsTakeFourCharacters) {
  QTest::keyClicks(edit("Edit2"), "123456");
  QTest::keyClicks(edit("Edit5"), "98765");
  EXPECT_EQ(edit("Edit2")->text(), "1234");
  EXPECT_EQ(edit("Edit5")->text(), "9876");
}

TEST_F(WindowsDisplayModeTest, EachHintAppearsOnTheFirstChangeOfItsFieldAndStays) {
  for (const char* hint : {"Label4", "Label6", "Label8"}) EXPECT_TRUE(label(hint)->isHidden()) << hint;
  edit("Edit5")->setText("6");
  EXPECT_FALSE(label("Label4")->isHidden());
  EXPECT_EQ(label("Label4")->text(), QString::fromUtf8("Przykład: 800 na 600"));
  EXPECT_TRUE(label("Label6")->isHidden());
  edit("Edit3")->setText("1");
  EXPECT_FALSE(label("Label6")->isHidden());
  EXPECT_EQ(label("Label6")->text(), QString::fromUtf8("Przykład: 16"));
  EXPECT_TRUE(label("Label8")->isHidden());
  edit("Edit4")->setText("8");
  edit("Edit4")->clear();
  EXPECT_FALSE(label("Label8")->isHidden());
  EXPECT_EQ(label("Label8")->text(), QString::fromUtf8("Przykład: 85"));
  // Closing and showing the window again keeps them.
  window_->show();
  window_->hide();
  for (const char* hint : {"Label4", "Label6", "Label8"}) EXPECT_FALSE(label(hint)->isHidden()) << hint;
}

// The control that Tab moves to: the next one in the focus chain that takes
// the focus by Tab.
QWidget* nextByTab(QWidget* from) {
  QWidget* w = from->nextInFocusChain();
  while (w != from && !(w->focusPolicy() & Qt::TabFocus)) w = w->nextInFocusChain();
  return w;
}

TEST_F(WindowsDisplayModeTest, TabOrderRunsThroughTheModeFieldsToTheButton) {
  QWidget* order[] = {edit("Edit2"), edit("Edit5"), edit("Edit3"), edit("Edit4"), child(window_, "Button4")};
  for (int i = 0; i + 1 < 5; ++i)
    EXPECT_EQ(nextByTab(order[i])->objectName(), order[i + 1]->objectName())
        << order[i]->objectName().toStdString();
}

}  // namespace
}  // namespace morvin::test
