// The pop-up descriptions of the five desktop objects: asked for, restored,
// and read into the picture buttons' tooltips at every mouse move.
#include <QApplication>
#include <QMenu>
#include <QMouseEvent>
#include <tuple>

#include "IkonyTestSupport.h"

namespace morvin::test {
namespace {

using reg::kClassesRoot;

void moveOver(QWidget* button) {
  const QPointF at = button->rect().center();
  QMouseEvent move(QEvent::MouseMove, at, button->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(button, &move);
}

TEST_F(IkonyTest, DescriptionIsAskedForAndStoredAsTyped) {
  TfmIkony* w = open();
  dialogLog->answerInput(QString::fromUtf8("  Twój własny komputer "));
  click(w, "SpeedButton1");
  ASSERT_EQ(dialogLog->count(ShownDialog::Kind::InputBox), 1);
  const ShownDialog& asked = dialogLog->shown().front();
  EXPECT_EQ(asked.caption, QString::fromUtf8("Wprowadź tekst"));
  EXPECT_EQ(asked.text, QString::fromUtf8("Wprowadź nowy tekst opisu pomocy"));
  EXPECT_TRUE(asked.initial.isEmpty());
  EXPECT_EQ(machine->string(kClassesRoot, kComputerClass, "InfoTip"), "  Twój własny komputer ");
}

TEST_F(IkonyTest, EmptyOrCancelledDescriptionChangesNothing) {
  machine->setString(kClassesRoot, kNetworkClass, "InfoTip", "Stary opis");
  TfmIkony* w = open();
  dialogLog->answerInput(QString());
  click(w, "SpeedButton5");
  dialogLog->answerInput(std::nullopt);
  click(w, "SpeedButton5");
  EXPECT_EQ(dialogLog->count(ShownDialog::Kind::InputBox), 2);
  EXPECT_EQ(machine->string(kClassesRoot, kNetworkClass, "InfoTip"), "Stary opis");
}

TEST_F(IkonyTest, DescriptionOfAMissingObjectCreatesNothing) {
  machine->deleteTree(kClassesRoot, kNetworkClass);
  TfmIkony* w = open();
  dialogLog->answerInput(QString("Sieć"));
  click(w, "SpeedButton5");
  click(w, "SpeedButton10");
  EXPECT_FALSE(machine->keyExists(kClassesRoot, kNetworkClass));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(IkonyTest, DefaultButtonsRestoreEachObjectsOwnDescription) {
  const struct {
    const char* button;
    std::string key;
    const char* text;
  } defaults[] = {
      {"SpeedButton6", kComputerClass, "Wyświetla zawartość tego komputera."},
      {"SpeedButton7", "CLSID\\{450D8FBA-AD25-11D0-98A8-0800361B1103}",
       "Przechowuje dokumenty, grafikę i inne pliki."},
      {"SpeedButton8", "CLSID\\{871C5380-42A0-1069-A2EA-08002B30309D}",
       "Znajduje i wyświetla informacje sieci Web w Internecie."},
      {"SpeedButton9", kBinClass,
       "Zawiera usunięte elementy, które możesz ostatecznie usunąć lub przywrócić."},
      {"SpeedButton10", kNetworkClass, "Wyświetla wszystkie komputery znajdujące się w Twojej sieci."},
  };
  for (const auto& d : defaults) machine->setString(kClassesRoot, d.key, "InfoTip", "zmieniony");
  removeValue(kClassesRoot, kComputerClass, "InfoTip");  // restored even when missing
  TfmIkony* w = open();
  for (const auto& d : defaults) {
    click(w, d.button);
    EXPECT_EQ(machine->string(kClassesRoot, d.key, "InfoTip"), d.text) << d.button;
  }
  EXPECT_EQ(dialogLog->shown().size(), 0u);  // restoring asks nothing
}

// What the window writes into the system follows the system's language, not
// the program's: on an English Windows 98 the Polish program writes English.
TEST_F(IkonyTest, OnAnEnglishSystemTheWindowWritesEnglishTexts) {
  machine->setString(reg::kCurrentUser, "Control Panel\\International", "Locale", "00000409");
  machine->deleteTree(reg::kLocalMachine, kDocsEntry);
  TfmIkony* w = open();
  const std::tuple<const char*, std::string, std::string> written[] = {
      {"SpeedButton6", kComputerClass, "Displays the contents of your computer."},
      {"SpeedButton9", kBinClass, "Contains the files and folders that you have deleted."},
      {"SpeedButton10", kNetworkClass, "Displays computers on your network."},
  };
  for (const auto& [button, key, text] : written) {
    click(w, button);
    EXPECT_EQ(machine->string(kClassesRoot, key, "InfoTip"), text) << button;
  }
  click(box(w, "CheckBox5"));
  EXPECT_EQ(machine->string(reg::kLocalMachine, kDocsEntry, ""), "My Documents");
  const QList<QAction*> names = w->suggestions()->actions();
  ASSERT_EQ(names.size(), 15);
  EXPECT_EQ(names[0]->text(), QStringLiteral("Recycle Bin"));
  names[12]->trigger();
  EXPECT_EQ(machine->string(kClassesRoot, kBinClass, ""), "Wastebasket");
}

TEST_F(IkonyTest, TooltipShowsTheDescriptionStoredAtEachMove) {
  TfmIkony* w = open();
  QWidget* bin = child(w, "SpeedButton4");
  EXPECT_TRUE(bin->toolTip().isEmpty());  // nothing read before the mouse comes
  moveOver(bin);
  EXPECT_EQ(bin->toolTip(),
            QString::fromUtf8("Zawiera usunięte elementy, które możesz ostatecznie usunąć lub przywrócić."));

  machine->setString(kClassesRoot, kBinClass, "InfoTip", "Kosz na śmieci");
  moveOver(bin);
  EXPECT_EQ(bin->toolTip(), QString::fromUtf8("Kosz na śmieci"));

  machine->setDword(kClassesRoot, kBinClass, "InfoTip", 5);  // not text: the last tooltip stays
  moveOver(bin);
  EXPECT_EQ(bin->toolTip(), QString::fromUtf8("Kosz na śmieci"));

  removeValue(kClassesRoot, kBinClass, "InfoTip");
  moveOver(bin);
  EXPECT_TRUE(bin->toolTip().isEmpty());
}

}  // namespace
}  // namespace morvin::test
