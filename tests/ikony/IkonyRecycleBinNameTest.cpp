// The Recycle Bin's display name: "Zmień nazwę" and the suggestions menu.
#include <QAction>
#include <QMenu>

#include "IkonyTestSupport.h"

namespace morvin::test {
namespace {

using reg::kClassesRoot;
using reg::kLocalMachine;

QAction* suggestion(TfmIkony* w, const char* name) {
  auto* item = w->suggestions()->findChild<QAction*>(name);
  if (!item) ADD_FAILURE() << "no suggestion " << name;
  return item;
}

TEST_F(IkonyTest, RenameWritesTheEditedNameOnlyToTheClassRegistration) {
  TfmIkony* w = open();
  child<QLineEdit>(w, "Edit1")->setText(QString::fromUtf8("Mój kosz"));
  EXPECT_EQ(machine->string(kClassesRoot, kBinClass, ""), "Kosz");  // typing alone stores nothing
  click(w, "Button1");
  EXPECT_EQ(machine->string(kClassesRoot, kBinClass, ""), "Mój kosz");
  EXPECT_EQ(machine->string(kLocalMachine, kBinEntry, ""), "Kosz");
}

TEST_F(IkonyTest, RenameWithAnEmptyEditWritesAnEmptyName) {
  TfmIkony* w = open();
  child<QLineEdit>(w, "Edit1")->clear();
  click(w, "Button1");
  EXPECT_EQ(typeOf(kClassesRoot, kBinClass, ""), reg::type::Sz);
  EXPECT_EQ(bytesOf(kClassesRoot, kBinClass, ""), std::string(1, '\0'));
}

TEST_F(IkonyTest, MissingNameLoadsAnEmptyEditAndRenameNeverCreatesTheClass) {
  machine->deleteTree(kClassesRoot, kBinClass);
  TfmIkony* w = open();
  auto* edit = child<QLineEdit>(w, "Edit1");
  EXPECT_TRUE(edit->text().isEmpty());
  edit->setText("Kosz");
  click(w, "Button1");
  EXPECT_FALSE(machine->keyExists(kClassesRoot, kBinClass));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(IkonyTest, PickingASuggestionShowsAndStoresItInOneStep) {
  TfmIkony* w = open();
  suggestion(w, "ubianka1")->trigger();
  EXPECT_EQ(child<QLineEdit>(w, "Edit1")->text(), QString::fromUtf8("Łubianka"));
  EXPECT_EQ(machine->string(kClassesRoot, kBinClass, ""), "Łubianka");
  EXPECT_EQ(bytesOf(kClassesRoot, kBinClass, ""), std::string("\xA3ubianka\0", 9));  // cp1250
}

TEST_F(IkonyTest, SuggestionsComeInTheirOrderUnderTheirNames) {
  TfmIkony* w = open();
  const QStringList captions{"Kosz",       "Śmietnik",   "Wysypisko",    "Odpadki",      "Kubeł",
                             "Złomowisko", "Śmietnisko", "Nieczystości", "Popielniczka", "Odrzuty",
                             "Łubianka",   "Kobiałka",   "Koszyk",       "Pojemnik",     "Zbiornik"};
  const QStringList names{"Kosz1",      "mietnik1",   "Wysypisko1",   "Odpadki1",      "Kube1",
                          "Zomowisko1", "mietnisko1", "Nieczystoci1", "Popielniczka1", "Odrzuty1",
                          "ubianka1",   "Kobiaka1",   "Koszyk1",      "Pojemnik1",     "Zbiornik1"};
  const QList<QAction*> items = w->suggestions()->actions();
  ASSERT_EQ(items.size(), 15);
  for (int i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i]->text(), captions[i]);
    EXPECT_EQ(items[i]->objectName(), names[i]);
  }
  items[5]->trigger();
  EXPECT_EQ(machine->string(kClassesRoot, kBinClass, ""), "Złomowisko");
}

TEST_F(IkonyTest, SuggestionsPanelOpensTheMenuAtThePointer) {
  TfmIkony* w = open();
  w->show();
  QMenu* menu = w->suggestions();
  EXPECT_FALSE(menu->isVisible());
  click(w, "Panel1");
  EXPECT_TRUE(menu->isVisible());
  menu->hide();
  EXPECT_EQ(machine->string(kClassesRoot, kBinClass, ""), "Kosz");  // opening picks nothing
}

}  // namespace
}  // namespace morvin::test
