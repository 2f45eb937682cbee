// The logon notice: preview, save, clear and the 250-character limits.
#include <QPushButton>
#include <QTest>

#include "WindowsTestSupport.h"

namespace morvin::test {
namespace {

using Kind = ShownDialog::Kind;

TEST_F(WindowsWindowTest, GenerujPreviewsTheNoticeWithoutIconAndWritesNothing) {
  create();
  edit("Edit1")->setText(QString::fromUtf8("Uwaga użytkowniku"));
  memo()->setPlainText("Linia 1\nLinia 2");
  click(window_, "Button1");
  ASSERT_EQ(dialogLog->shown().size(), 1u);
  const ShownDialog& shown = dialogLog->shown().front();
  EXPECT_EQ(shown.kind, Kind::Notice);
  EXPECT_EQ(shown.caption, QString::fromUtf8("Uwaga użytkowniku"));
  EXPECT_EQ(shown.text, "Linia 1\nLinia 2");
  EXPECT_EQ(shown.icon, MsgIcon::None);
  EXPECT_EQ(machine->string(reg::kLocalMachine, kWinlogonKey, "LegalNoticeCaption"), "");
}

TEST_F(WindowsWindowTest, ZapiszStoresCaptionAndTextWithWindowsLineBreaks) {
  create();
  edit("Edit1")->setText(QString::fromUtf8("Zażółć"));
  memo()->setPlainText("A\nB");
  click(window_, "Button2");
  EXPECT_TRUE(errorBoxes().isEmpty());
  // Polish letters are stored in code page 1250.
  EXPECT_EQ(stored(reg::kLocalMachine, kWinlogonKey, "LegalNoticeCaption"),
            std::make_pair(reg::type::Sz, std::string("Za\xBF\xF3\xB3\xE6", 7)));
  EXPECT_EQ(stored(reg::kLocalMachine, kWinlogonKey, "LegalNoticeText"),
            std::make_pair(reg::type::Sz, std::string("A\r\nB", 5)));
}

TEST_F(WindowsWindowTest, ZapiszWithEmptyFieldsStoresTwoEmptyTexts) {
  machine->setString(reg::kLocalMachine, kWinlogonKey, "LegalNoticeCaption", "Stary");
  machine->setString(reg::kLocalMachine, kWinlogonKey, "LegalNoticeText", "Stary tekst");
  create();
  click(window_, "Button2");
  const auto empty = std::make_pair(reg::type::Sz, std::string(1, '\0'));
  EXPECT_EQ(stored(reg::kLocalMachine, kWinlogonKey, "LegalNoticeCaption"), empty);
  EXPECT_EQ(stored(reg::kLocalMachine, kWinlogonKey, "LegalNoticeText"), empty);
}

TEST_F(WindowsWindowTest, ZapiszWithoutTheWinlogonKeyReportsTheCaptionAndCreatesNothing) {
  machine->deleteTree(reg::kLocalMachine, kWinlogonKey);
  create();
  edit("Edit1")->setText("Temat");
  click(window_, "Button2");
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to set data for 'LegalNoticeCaption'"});
  EXPECT_FALSE(machine->keyExists(reg::kLocalMachine, kWinlogonKey));
}

TEST_F(WindowsWindowTest, WyczyscEmptiesTheFieldsButNotTheStoredNotice) {
  create();
  edit("Edit1")->setText("Temat");
  memo()->setPlainText("Tekst");
  click(window_, "Button2");
  click(window_, "Button3");
  EXPECT_TRUE(edit("Edit1")->text().isEmpty());
  EXPECT_TRUE(memo()->toPlainText().isEmpty());
  EXPECT_EQ(machine->string(reg::kLocalMachine, kWinlogonKey, "LegalNoticeCaption"), "Temat");
  EXPECT_EQ(machine->string(reg::kLocalMachine, kWinlogonKey, "LegalNoticeText"), "Tekst");
}

TEST_F(WindowsWindowTest, NoticeFieldsHoldAtMost250CharactersLineBreaksIncluded) {
  create();
  QTest::keyClicks(edit("Edit1"), QString(260, u'x'));
  EXPECT_EQ(edit("Edit1")->text().size(), 250);

  memo()->setPlainText(QString(300, u'y'));
  EXPECT_EQ(memo()->toPlainText(), QString(250, u'y'));
  // A line break is stored as CR LF and counts as two.
  QString lines;
  for (int i = 0; i < 100; ++i) lines += "ab\n";
  memo()->setPlainText(lines);
  click(window_, "Button2");
  std::string text = machine->string(reg::kLocalMachine, kWinlogonKey, "LegalNoticeText");
  EXPECT_LE(text.size(), 250u);
  EXPECT_GE(text.size(), 248u);
  EXPECT_EQ(text.substr(0, 8), "ab\r\nab\r\n");
}

}  // namespace
}  // namespace morvin::test
