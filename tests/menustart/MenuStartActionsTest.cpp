// The system tray fix, the autostart list, the Control Panel folder and the
// installed-programs button.
#include <QAbstractButton>
#include <QLineEdit>
#include <filesystem>

#include "MenuStartFixture.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;

const QString kQuestion = QStringLiteral("Czy napewno chcesz usunąć ten element Autostartu?");
constexpr const char* kClsid = ".{21EC2020-3AEA-1069-A2DD-08002B30309D}";

TEST_F(MenuStartTest, TheTrayFixRemovesSystemTrayAndStaysDisabledAtTheNextStart) {
  machine->setString(reg::kLocalMachine, kRun, "SystemTray", "SysTray.Exe");
  machine->setString(reg::kLocalMachine, kRun, "Other", "other.exe");
  TfmMenuStart* w = open();
  auto* fix = child<QAbstractButton>(w, "BitBtn1");
  EXPECT_TRUE(fix->isEnabled());
  click(fix);
  EXPECT_FALSE(fix->isEnabled());
  EXPECT_FALSE(machine->valueExists(reg::kLocalMachine, kRun, "SystemTray"));
  EXPECT_TRUE(machine->valueExists(reg::kLocalMachine, kRun, "Other"));
  EXPECT_TRUE(dialogLog->shown().empty());

  delete w;
  clearWindows();
  EXPECT_FALSE(child<QAbstractButton>(open(), "BitBtn1")->isEnabled());
}

TEST_F(MenuStartTest, WithoutTheRunKeyTheTrayFixIsDisabledAndTheListEmpty) {
  TfmMenuStart* w = open();
  EXPECT_FALSE(child<QAbstractButton>(w, "BitBtn1")->isEnabled());
  EXPECT_EQ(autostart(w)->count(), 0);
  click(w, "BitBtn3");
  EXPECT_TRUE(dialogLog->shown().empty());
}

class AutostartTest : public MenuStartTest {
 protected:
  void SetUp() override {
    MenuStartTest::SetUp();
    for (const char* name : {"Alpha", "Beta", "Gamma"})
      machine->setString(reg::kLocalMachine, kRun, name, std::string(name) + ".exe");
  }
  bool inRun(const char* name) { return machine->valueExists(reg::kLocalMachine, kRun, name); }
};

TEST_F(AutostartTest, TheListShowsEveryValueUnmarkedAndUnmarkedLinesAreNeverAsked) {
  TfmMenuStart* w = open();
  ASSERT_EQ(autostartLines(w), (QStringList{"Alpha", "Beta", "Gamma"}));
  for (int i = 0; i < 3; ++i) EXPECT_EQ(autostart(w)->item(i)->checkState(), Qt::Unchecked);
  click(w, "BitBtn3");
  EXPECT_TRUE(dialogLog->shown().empty());
  EXPECT_TRUE(inRun("Alpha") && inRun("Beta") && inRun("Gamma"));
}

TEST_F(AutostartTest, ThreeMarkedLinesAnsweredYesAreRemovedInThreeQuestions) {
  TfmMenuStart* w = open();
  for (int i = 0; i < 3; ++i) mark(w, i);
  for (int i = 0; i < 3; ++i) dialogLog->answerQuestion(Answer::Yes);
  click(w, "BitBtn3");

  ASSERT_EQ(dialogLog->shown().size(), 3u);
  for (const ShownDialog& d : dialogLog->shown()) {
    EXPECT_EQ(d.kind, ShownDialog::Kind::Question);
    EXPECT_EQ(d.text, kQuestion);
    EXPECT_EQ(d.icon, MsgIcon::Warning);
  }
  EXPECT_EQ(autostart(w)->count(), 0);
  EXPECT_FALSE(inRun("Alpha") || inRun("Beta") || inRun("Gamma"));
}

TEST_F(AutostartTest, NoEndsTheScanAndKeepsThatLineAndEveryLineBelow) {
  TfmMenuStart* w = open();
  for (int i = 0; i < 3; ++i) mark(w, i);
  dialogLog->answerQuestion(Answer::Yes);
  dialogLog->answerQuestion(Answer::No);
  click(w, "BitBtn3");

  EXPECT_EQ(dialogLog->count(ShownDialog::Kind::Question), 2);
  EXPECT_EQ(autostartLines(w), (QStringList{"Beta", "Gamma"}));
  EXPECT_EQ(autostart(w)->item(0)->checkState(), Qt::Checked);
  EXPECT_EQ(autostart(w)->item(1)->checkState(), Qt::Checked);
  EXPECT_FALSE(inRun("Alpha"));
  EXPECT_TRUE(inRun("Beta") && inRun("Gamma"));
}

TEST_F(AutostartTest, ABoxClosedWithoutAnswerSkipsItsLineAndTheScanGoesOn) {
  TfmMenuStart* w = open();
  mark(w, 0);
  mark(w, 1);
  dialogLog->answerQuestion(Answer::Closed);  // Alpha stays
  dialogLog->answerQuestion(Answer::Yes);     // Beta goes, the scan restarts at the top
  dialogLog->answerQuestion(Answer::Closed);  // Alpha again
  click(w, "BitBtn3");

  EXPECT_EQ(dialogLog->count(ShownDialog::Kind::Question), 3);
  EXPECT_TRUE(dialogLog->scriptsUsedUp());
  EXPECT_EQ(autostartLines(w), (QStringList{"Alpha", "Gamma"}));
  EXPECT_TRUE(inRun("Alpha") && inRun("Gamma"));
  EXPECT_FALSE(inRun("Beta"));
}

// A value that cannot be removed (a read-only hive) is no success: its button or line stays.
TEST_F(AutostartTest, ValuesThatCannotBeRemovedKeepTheirButtonAndTheirLine) {
  machine->setString(reg::kLocalMachine, kRun, "SystemTray", "SysTray.Exe");
  TfmMenuStart* w = open();
  machine->reopen({.readOnlyLocalMachine = true});
  click(w, "BitBtn1");
  EXPECT_TRUE(child<QAbstractButton>(w, "BitBtn1")->isEnabled());
  EXPECT_EQ(errorBoxes(), QStringList{"Failed to delete value 'SystemTray'"});

  const int alpha = autostartLines(w).indexOf("Alpha");
  const int gamma = autostartLines(w).indexOf("Gamma");
  mark(w, alpha);
  mark(w, gamma);
  dialogLog->answerQuestion(Answer::Yes);
  dialogLog->answerQuestion(Answer::Yes);
  click(w, "BitBtn3");
  EXPECT_EQ(dialogLog->count(ShownDialog::Kind::Question), 2);  // the scan went on to Gamma
  EXPECT_EQ(autostartLines(w), (QStringList{"Alpha", "Beta", "Gamma", "SystemTray"}));
  EXPECT_EQ(autostart(w)->item(alpha)->checkState(), Qt::Unchecked);
  EXPECT_EQ(autostart(w)->item(gamma)->checkState(), Qt::Unchecked);
  EXPECT_EQ(errorBoxes().mid(1),
            (QStringList{"Failed to delete value 'Alpha'", "Failed to delete value 'Gamma'"}));
  EXPECT_TRUE(inRun("Alpha") && inRun("Gamma"));
}

TEST_F(AutostartTest, TheDefaultValueIsAnEmptyLineAndRemovingItRemovesTheDefaultValue) {
  machine->setString(reg::kLocalMachine, kRun, "", "default.exe");
  TfmMenuStart* w = open();
  const int line = autostartLines(w).indexOf(QString());
  ASSERT_GE(line, 0);
  mark(w, line);
  dialogLog->answerQuestion(Answer::Yes);
  click(w, "BitBtn3");
  EXPECT_FALSE(machine->valueExists(reg::kLocalMachine, kRun, ""));
  EXPECT_EQ(autostartLines(w), (QStringList{"Alpha", "Beta", "Gamma"}));
  EXPECT_TRUE(inRun("Alpha") && inRun("Beta") && inRun("Gamma"));
}

TEST_F(MenuStartTest, TheControlPanelFolderIsMadeOnceAndRecordedAtEachClick) {
  machine->createKey(reg::kCurrentUser, kStore);
  TfmMenuStart* w = open();
  EXPECT_TRUE(image(w, 1)->isHidden());
  child<QLineEdit>(w, "nazwa")->setText(QStringLiteral("Mój panel"));
  click(w, "BitBtn2");

  const fs::path folder = fs::u8path(startMenuFolder() + "/Mój panel" + kClsid);
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kStore, "Panel Sterowania"), 1);
  EXPECT_FALSE(image(w, 1)->isHidden());

  machine->setDword(reg::kCurrentUser, kStore, "Panel Sterowania", 0);
  click(w, "BitBtn2");
  EXPECT_TRUE(dialogLog->shown().empty());
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kStore, "Panel Sterowania"), 1);
  EXPECT_EQ(std::distance(fs::directory_iterator(startMenuFolder()), fs::directory_iterator()), 1);
  EXPECT_FALSE(image(w, 1)->isHidden());
}

TEST_F(MenuStartTest, AFolderThatCannotBeMadeRecordsNothing) {
  machine->createKey(reg::kCurrentUser, kStore);
  TfmMenuStart* w = open();
  child<QLineEdit>(w, "nazwa")->setText("Zły?znak");
  click(w, "BitBtn2");
  EXPECT_TRUE(fs::is_empty(startMenuFolder()));

  fs::remove(startMenuFolder());  // no Start Menu folder: its parent is not made
  child<QLineEdit>(w, "nazwa")->setText("Panel");
  click(w, "BitBtn2");
  EXPECT_FALSE(fs::exists(startMenuFolder()));
  EXPECT_FALSE(machine->valueExists(reg::kCurrentUser, kStore, "Panel Sterowania"));
  EXPECT_TRUE(image(w, 1)->isHidden());
  EXPECT_TRUE(dialogLog->shown().empty());
}

TEST_F(MenuStartTest, TheControlPanelPictureFollowsTheStoredFlagAtStart) {
  machine->setDword(reg::kCurrentUser, kStore, "Panel Sterowania", 1);
  TfmMenuStart* first = open();
  EXPECT_FALSE(image(first, 1)->isHidden());
  delete first;
  clearWindows();
  machine->setDword(reg::kCurrentUser, kStore, "Panel Sterowania", 0);
  EXPECT_TRUE(image(open(), 1)->isHidden());
}

TEST_F(MenuStartTest, TheCaptionBreaksInTwoAndTheProgramsButtonOpensTheProgramsWindow) {
  createTfmProgramy(nullptr);
  TfmMenuStart* w = open();
  EXPECT_EQ(child<QAbstractButton>(w, "BitBtn2")->text(),
            QStringLiteral("Stwórz skrót do Panelu Sterowania\n w Menu Start"));
  click(w, "Button1");
  EXPECT_EQ(modalShown, std::vector<WindowId>{WindowId::Programy});
}

TEST_F(MenuStartTest, TheWindowColourReachesThePanelButNotTheStartMenuPicture) {
  TfmMenuStart* w = open();
  const QColor yellow(255, 255, 160);
  setBackgroundColour(w, yellow);
  EXPECT_EQ(child<QWidget>(w, "Panel1")->palette().color(QPalette::Window), yellow);
  EXPECT_EQ(child<QWidget>(w, "Zawartosc")->palette().color(QPalette::Window), yellow);
  EXPECT_EQ(child<QWidget>(w, "MenuObraz")->palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
}

// Every control can be found by a screen reader under its caption or a short description.
TEST_F(MenuStartTest, EveryControlHasAnAccessibleName) {
  QWidget* w = open();
  const QList<QWidget*> controls = readableControls(w);
  for (QWidget* c : controls) EXPECT_FALSE(c->accessibleName().isEmpty()) << c->objectName().toStdString();
  EXPECT_GE(controls.size(), 40);
}

}  // namespace
}  // namespace morvin::test
