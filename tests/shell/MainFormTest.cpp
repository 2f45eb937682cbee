// The main window: program store, side menu, closing, clock, computer name,
// quick-access buttons, popup menu, settings picture, shell calls and the
// Explorer folder verb.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "registry/TRegistry.h"
#include "shell/DataPaths.h"
#include "shell/SystemColours.h"
#include "shell/WindowFactories.h"
#include "app/kodMainForm.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

constexpr reg::Key HKCU = reg::kCurrentUser;
constexpr reg::Key HKLM = reg::kLocalMachine;
constexpr const char* kVerb = "Software\\CLASSES\\Directory\\shell\\Morvin NG";

class MainFormTest : public test::GuiTest {
 protected:
  // The main window, with stand-ins for the windows it shows.
  TMainForm* open() {
    form = qobject_cast<TMainForm*>(createTMainForm());
    for (int i = 1; i < static_cast<int>(WindowId::Count); ++i)
      if (!window(static_cast<WindowId>(i))) registerWindow(static_cast<WindowId>(i), new QDialog(form));
    return form;
  }
  QWidget* menu() { return test::child(form, "Menu"); }
  QLabel* label(const char* name) { return test::child<QLabel>(form, name); }

  TMainForm* form = nullptr;  // deleted with the window set after each test
};

std::vector<std::string> subkeys(reg::Key root, const std::string& path) {
  TRegistry reg;
  reg.SelectRoot(root);
  std::vector<std::string> names;
  if (reg.OpenPath(path, false)) reg.ListSubkeys(names);
  return names;
}

std::vector<std::string> valueNames(reg::Key root, const std::string& path) {
  TRegistry reg;
  reg.SelectRoot(root);
  std::vector<std::string> names;
  if (reg.OpenPath(path, false)) reg.ListValueNames(names);
  return names;
}

TEST_F(MainFormTest, EveryStartCreatesTheProgramStoreAndASecondStartChangesNothing) {
  ASSERT_FALSE(machine->keyExists(HKCU, "Software\\Morvin"));
  open();
  const std::vector<std::string> expected = {"Foldery", "Ikony",      "Menu Start", "MsDos",
                                             "Pulpit",  "Ustawienia", "Web",        "Windows"};
  EXPECT_EQ(subkeys(HKCU, "Software\\Morvin"), expected);
  delete form;
  open();
  EXPECT_EQ(subkeys(HKCU, "Software\\Morvin"), expected);
  for (const std::string& key : expected)
    EXPECT_TRUE(valueNames(HKCU, "Software\\Morvin\\" + key).empty()) << key;
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(MainFormTest, TheComputerNameShowsAndAMissingOneLeavesTheLabelEmpty) {
  open();
  EXPECT_EQ(label("nazwa")->text(), "KOMPUTER");
  EXPECT_EQ(label("Label11")->text(), "Dla:");
  delete form;
  machine->deleteTree(HKLM, "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName");
  open();
  EXPECT_TRUE(label("nazwa")->text().isEmpty());
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(MainFormTest, StartTogglesTheSideMenuAndEveryEntryHidesItBeforeItsWindow) {
  open();
  EXPECT_TRUE(menu()->isHidden());
  test::click(form, "SpeedButton1");
  EXPECT_FALSE(menu()->isHidden());
  test::click(form, "SpeedButton1");
  EXPECT_TRUE(menu()->isHidden());

  std::vector<std::pair<WindowId, bool>> shown;  // window, menu visible while it was shown
  setModalRunner([&](WindowId id, QWidget*) { shown.emplace_back(id, !menu()->isHidden()); });
  const std::pair<const char*, WindowId> entries[] = {
      {"Label1", WindowId::Pulpit},    {"Label2", WindowId::Foldery}, {"Label4", WindowId::Ikony},
      {"Label5", WindowId::MenuStart}, {"Label6", WindowId::Windows}, {"Label7", WindowId::Web},
      {"Label9", WindowId::Dos},       {"Label3", WindowId::Sztuczki}};
  for (const auto& [entry, id] : entries) {
    test::click(form, "SpeedButton1");
    test::click(label(entry));
    ASSERT_FALSE(shown.empty()) << entry;
    EXPECT_EQ(shown.back(), std::make_pair(id, false)) << entry;
    EXPECT_TRUE(menu()->isHidden()) << entry;
  }
  EXPECT_EQ(shown.size(), std::size(entries));
}

TEST_F(MainFormTest, OnlyAPressOnTheBareBackgroundHidesTheMenu) {
  open();
  form->show();
  test::click(form, "SpeedButton1");
  QTest::mouseClick(test::child(form, "Tapeta"), Qt::LeftButton, {}, QPoint(300, 200));
  QTest::mouseClick(test::child(form, "Pasek"), Qt::LeftButton, {}, QPoint(300, 12));
  EXPECT_FALSE(menu()->isHidden());
  // With the wallpaper hidden the desktop is bare background.
  form->SetWallpaperVisible(false);
  QTest::mouseClick(form, Qt::LeftButton, {}, QPoint(300, 200));
  EXPECT_TRUE(menu()->isHidden());
}

TEST_F(MainFormTest, MenuEntriesLightUpUnderThePointer) {
  open();
  QLabel* entry = label("Label6");
  test::hover(entry);
  EXPECT_EQ(entry->palette().color(QPalette::Window), systemColour(syscolour::CaptionText));
  test::leave(entry);
  EXPECT_EQ(entry->palette().color(QPalette::Window), systemColour(syscolour::ButtonFace));
}

// Without a mouse: Space on Start, the arrows, Enter and Esc; the focus stands on the highlighted entry.
TEST_F(MainFormTest, TheSideMenuWorksFromTheKeyboardAlone) {
  open();
  form->show();
  QApplication::setActiveWindow(form);
  std::vector<WindowId> shown;
  setModalRunner([&](WindowId id, QWidget*) { shown.push_back(id); });
  auto* start = test::child<QToolButton>(form, "SpeedButton1");
  auto key = [](int k) { QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(k)); };
  const QColor lit = systemColour(syscolour::CaptionText);

  start->setFocus(Qt::TabFocusReason);
  key(Qt::Key_Space);
  ASSERT_FALSE(menu()->isHidden());
  EXPECT_EQ(QApplication::focusWidget(), label("Label1"));
  EXPECT_EQ(label("Label1")->palette().color(QPalette::Window), lit);
  key(Qt::Key_Down);
  EXPECT_EQ(QApplication::focusWidget(), label("Label2"));
  EXPECT_EQ(label("Label2")->palette().color(QPalette::Window), lit);
  EXPECT_EQ(label("Label1")->palette().color(QPalette::Window), systemColour(syscolour::ButtonFace));
  key(Qt::Key_Return);
  EXPECT_EQ(shown, std::vector<WindowId>{WindowId::Foldery});
  EXPECT_TRUE(menu()->isHidden());
  EXPECT_EQ(QApplication::focusWidget(), start);

  key(Qt::Key_Space);
  key(Qt::Key_Up);  // from the first entry to the last: "Zamknij..."
  EXPECT_EQ(QApplication::focusWidget(), label("Label8"));
  key(Qt::Key_Escape);
  EXPECT_TRUE(menu()->isHidden());
  EXPECT_EQ(QApplication::focusWidget(), start);
  EXPECT_EQ(label("Label8")->palette().color(QPalette::Window), systemColour(syscolour::ButtonFace));
  EXPECT_EQ(shown.size(), 1u);

  // Opened with the mouse, no entry is lit.
  test::click(start);
  EXPECT_FALSE(menu()->isHidden());
  EXPECT_EQ(label("Label1")->palette().color(QPalette::Window), systemColour(syscolour::ButtonFace));
}

TEST_F(MainFormTest, ClosingThroughTheMenuAsksAndNoKeepsTheProgramRunning) {
  open();
  form->show();
  QSignalSpy closed(form, &TMainForm::closed);
  test::click(form, "SpeedButton1");
  test::click(label("Label8"));  // no answer scripted: No
  ASSERT_EQ(dialogLog->shown().size(), 1u);
  const ShownDialog& question = dialogLog->shown()[0];
  EXPECT_EQ(question.kind, ShownDialog::Kind::Question);
  EXPECT_EQ(question.caption, "Information");
  EXPECT_EQ(question.text, QString::fromUtf8("Czy napewno chcesz zakończyć program ?"));
  EXPECT_EQ(question.icon, MsgIcon::Information);
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(menu()->isHidden());
  EXPECT_TRUE(form->ClockRunning());
  EXPECT_EQ(closed.count(), 0);

  dialogLog->answerQuestion(Answer::Yes);
  test::click(label("Label8"));
  EXPECT_FALSE(form->isVisible());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(form->ClockRunning());
}

TEST_F(MainFormTest, TheCloseButtonAsksNothingAndStopsTheClock) {
  open();
  form->show();
  auto* clock = label("Zegar");
  clock->setText("x");
  EXPECT_TRUE(QTest::qWaitFor([&] { return clock->text() != "x"; }, 3000));
  form->close();
  EXPECT_TRUE(dialogLog->shown().empty());
  EXPECT_FALSE(form->ClockRunning());
  clock->setText("x");
  QTest::qWait(1300);  // more than one tick of the 1000 ms clock
  EXPECT_EQ(clock->text(), "x");
}

TEST_F(MainFormTest, QuickAccessButtonsStartHiddenAndOpenTheirWindows) {
  open();
  const std::pair<const char*, WindowId> buttons[] = {
      {"IkPulpit", WindowId::Pulpit},   {"IkFoldery", WindowId::Foldery}, {"IkIkony", WindowId::Ikony},
      {"IkPasek", WindowId::MenuStart}, {"IkWindows", WindowId::Windows}, {"IkSiec", WindowId::Web},
      {"IkMsDOS", WindowId::Dos},       {"IkLista", WindowId::Programy},  {"IkPoradnik", WindowId::Sztuczki}};
  for (const auto& [name, id] : buttons) EXPECT_TRUE(test::child(form, name)->isHidden()) << name;
  EXPECT_EQ(test::child<QToolButton>(form, "IkPasek")->text(), "Menu \"Start\"");

  form->SetQuickAccessVisible(true);
  test::click(form, "SpeedButton1");
  for (const auto& [name, id] : buttons) {
    EXPECT_FALSE(test::child(form, name)->isHidden()) << name;
    test::click(form, name);
    ASSERT_FALSE(modalShown.empty());
    EXPECT_EQ(modalShown.back(), id) << name;
  }
  EXPECT_FALSE(menu()->isHidden());  // the quick-access buttons leave the menu as it is
}

TEST_F(MainFormTest, ThePopupMenuOffersRefreshHelpPropertiesTheMachinesAndTheHistory) {
  open();
  form->show();
  QMenu* popup = form->PopupMenu();
  QStringList items;
  for (QAction* action : popup->actions()) items << action->text();
  EXPECT_EQ(items, (QStringList{QString::fromUtf8("Odśwież"), "Pomoc", QString::fromUtf8("Właściwości"),
                                "Maszyny...", "Historia zmian..."}));

  QTest::mouseClick(test::child(form, "Tapeta"), Qt::RightButton, {}, QPoint(100, 100));
  QContextMenuEvent onWallpaper(QContextMenuEvent::Mouse, QPoint(100, 100),
                                form->mapToGlobal(QPoint(100, 100)));
  QCoreApplication::sendEvent(test::child(form, "Tapeta"), &onWallpaper);
  EXPECT_TRUE(popup->isVisible());
  popup->hide();

  test::click(form, "SpeedButton1");
  popup->actions()[1]->trigger();  // Pomoc
  EXPECT_TRUE(menu()->isHidden());
  ASSERT_EQ(shellLog->calls().size(), 1u);
  const ShellCall& help = shellLog->calls()[0];
  EXPECT_EQ(help.kind, ShellCall::Kind::Execute);
  EXPECT_EQ(help.verb, "open");
  EXPECT_EQ(help.file, dataFolder() + "/pomoc/Help.doc");
  EXPECT_EQ(help.showCommand, SW_SHOWNORMAL_);
  EXPECT_EQ(help.owner, form);

  const QPixmap before = test::child<QLabel>(form, "Image3")->pixmap();
  popup->actions()[2]->trigger();  // Właściwości: the settings picture stays as it is
  EXPECT_EQ(modalShown, std::vector<WindowId>{WindowId::Set});
  EXPECT_EQ(test::child<QLabel>(form, "Image3")->pixmap().toImage(), before.toImage());
}

TEST_F(MainFormTest, HelpFromTheMenuAndTheDateAndTimePanelGoThroughTheShell) {
  open();
  test::click(form, "SpeedButton1");
  test::click(label("Label10"));
  EXPECT_TRUE(menu()->isHidden());
  test::doubleClick(label("Zegar"));
  test::doubleClick(test::child(form, "Image2"));
  ASSERT_EQ(shellLog->calls().size(), 3u);
  EXPECT_TRUE(shellLog->calls()[0].file.endsWith("/pomoc/Help.doc"));
  for (int i : {1, 2}) {
    EXPECT_EQ(shellLog->calls()[i].kind, ShellCall::Kind::WinExec);
    EXPECT_EQ(shellLog->calls()[i].file, "rundll32 shell32,Control_RunDLL timedate.cpl");
    EXPECT_EQ(shellLog->calls()[i].showCommand, SW_SHOW_);
  }
}

TEST_F(MainFormTest, TheSettingsPictureShowsItsPressedLookThenTheSettingsWindow) {
  open();
  auto* picture = test::child<QLabel>(form, "Image3");
  ASSERT_FALSE(picture->pixmap().isNull()) << "the pictures are drawn beside the test program";
  const QImage normal = picture->pixmap().toImage();
  test::click(picture);
  EXPECT_EQ(modalShown, std::vector<WindowId>{WindowId::Set});
  EXPECT_NE(picture->pixmap().toImage(), normal);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(MainFormTest, AMissingSettingsPictureIsReportedAndTheSettingsWindowNotShown) {
  QTemporaryDir empty;
  setDataFolder(empty.path());
  open();
  setDataFolder({});
  test::click(test::child(form, "Image3"));
  EXPECT_TRUE(modalShown.empty());
  EXPECT_EQ(errorBoxes(), QStringList{"Cannot open file " + empty.path() + "/Data/Gfx/Bmp/Ustawienie2.Bmp."});
}

TEST_F(MainFormTest, ShellIntegrationInstallsAndRemovesTheFolderVerb) {
  open();
  form->SetShellIntegration(true);
  EXPECT_EQ(machine->dword(HKCU, "Software\\Morvin\\Ustawienia", "Integracja"), 1);
  EXPECT_EQ(machine->string(HKLM, kVerb, ""), "Uruchom Morvin NG");
  EXPECT_EQ(machine->string(HKLM, std::string(kVerb) + "\\command", ""),
            QCoreApplication::applicationFilePath().toStdString());

  form->SetShellIntegration(false);
  EXPECT_EQ(machine->dword(HKCU, "Software\\Morvin\\Ustawienia", "Integracja"), 0);
  EXPECT_FALSE(machine->keyExists(HKLM, kVerb));
  EXPECT_TRUE(machine->keyExists(HKLM, "Software\\CLASSES\\Directory\\shell"));
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(MainFormTest, RemovingTheVerbNeverTouchesAKeyOfTheSameNameAtTheRoot) {
  machine->deleteTree(HKLM, "Software\\CLASSES\\Directory\\shell");
  machine->setDword(HKLM, "Morvin NG", "Keep", 1);
  open();
  form->SetShellIntegration(false);
  EXPECT_EQ(machine->dword(HKLM, "Morvin NG", "Keep"), 1);
}

class ReadOnlyMainFormTest : public MainFormTest {
 protected:
  platform::MachineOptions machineOptions() const override { return {true, true}; }
};

TEST_F(ReadOnlyMainFormTest, WithoutRightsNothingIsCreatedAndNothingReported) {
  open();
  EXPECT_FALSE(machine->keyExists(HKCU, "Software\\Morvin"));
  EXPECT_EQ(label("nazwa")->text(), "");  // the key cannot be opened with full access
  form->SetShellIntegration(true);
  EXPECT_FALSE(machine->keyExists(HKLM, kVerb));
  EXPECT_TRUE(errorBoxes().isEmpty());
  EXPECT_FALSE(LongTimeFormat().contains('t'));
  EXPECT_FALSE(label("Zegar")->text().isEmpty());
}

}  // namespace
}  // namespace morvin
