// The whole start-up: all eleven windows created in order take the stored preferences.
#include <QCoreApplication>
#include <QToolButton>

#include "app/Startup.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {
namespace {

constexpr const char* kSettings = "Software\\Morvin\\Ustawienia";

class ProgramStartTest : public GuiTest {};

TEST_F(ProgramStartTest, StoredBlueAndQuickRunReachEveryMemberOfTheColourSetAndTheNineButtons) {
  machine->setDword(reg::kCurrentUser, kSettings, "Kolor", 0x00FF0000);
  machine->setDword(reg::kCurrentUser, kSettings, "QuickRun", 1);
  QWidget* main = createWindows();
  ASSERT_NE(main, nullptr);
  QCoreApplication::processEvents();  // the message loop's first turn

  std::vector<QWidget*> members;
  for (WindowId id : {WindowId::Dos, WindowId::Foldery, WindowId::Ikony, WindowId::Windows,
                      WindowId::MenuStart, WindowId::Web, WindowId::Pulpit, WindowId::Sztuczki})
    members.push_back(window(id));
  members.push_back(child(window(WindowId::Set), "panel"));
  members.push_back(child(window(WindowId::MenuStart), "Panel1"));
  for (QWidget* member : members) {
    ASSERT_NE(member, nullptr);
    EXPECT_EQ(member->palette().color(QPalette::Window), QColor(Qt::blue))
        << member->objectName().toStdString();
    EXPECT_TRUE(member->autoFillBackground()) << member->objectName().toStdString();
  }
  // The windows that keep their own colours.
  for (WindowId id : {WindowId::MainForm, WindowId::Set, WindowId::Programy})
    EXPECT_NE(window(id)->palette().color(QPalette::Window), QColor(Qt::blue));

  for (const char* name : {"IkPulpit", "IkFoldery", "IkIkony", "IkPasek", "IkWindows", "IkSiec", "IkMsDOS",
                           "IkLista", "IkPoradnik"})
    EXPECT_FALSE(child<QToolButton>(main, name)->isHidden()) << name;
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kSettings, "QuickRun"), 1);
}

}  // namespace
}  // namespace morvin::test
