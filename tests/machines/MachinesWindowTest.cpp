// "Maszyny": a machine made from a VirtualBox disk in the background (cancel
// leaves none), switched to (the Network window shows its values), its
// changes previewed and handed back in the background, then removed; a value
// changed both in Windows 98 and in the machine asked about at a hand-back;
// and the main window's menu entry and the settings' button that open the
// window.
#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <QTreeWidget>
#include <cstdlib>
#include <filesystem>

#include "machines/kodMaszyny.h"
#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/Win9xVirtualDisk.h"
#include "shell/WindowFactories.h"
#include "tests/machines/MachinesTest.h"
#include "tests/win98/Win98Fixture.h"

namespace morvin {
namespace {

namespace fs = std::filesystem;
using platform::win9x::runTool;

constexpr const char* kNetwork = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";

// A gate before QEMU's tools, first on PATH: each run waits until the gate
// opens (20 s at most) and marks that it went through, so a test can hold the
// drive work at its first step. PATH comes back when the gate goes.
class QemuGate {
 public:
  explicit QemuGate(std::string folder) : folder_(std::move(folder)), path_(std::getenv("PATH")) {
    const std::string real = QStandardPaths::findExecutable(QStringLiteral("qemu-img")).toStdString();
    fs::create_directories(folder_);
    platform::host::writeFileDurably(
        folder_ + "/qemu-img", "#!/bin/sh\nfor i in $(seq 200); do [ -e " + folder_ +
                                   "/open ] && break; sleep 0.1; done\ntouch " + folder_ + "/passed\nexec " +
                                   real + " \"$@\"\n");
    fs::permissions(folder_ + "/qemu-img", fs::perms::owner_all);
    ::setenv("PATH", (folder_ + ":" + path_).c_str(), 1);
  }
  ~QemuGate() { ::setenv("PATH", path_.c_str(), 1); }
  QemuGate(const QemuGate&) = delete;
  QemuGate& operator=(const QemuGate&) = delete;
  void open() const { platform::host::writeFileDurably(folder_ + "/open", ""); }
  bool passed() const { return fs::exists(folder_ + "/passed"); }

 private:
  std::string folder_, path_;
};

class MachinesWindowTest : public test::MachinesTest {
 protected:
  void SetUp() override {
    MachinesTest::SetUp();
    test::Win98Drive fixture;  // NoNetSetup is 5 on it
    fixture.writeFolder(data_ + "/drive");
    offset_ = test::makeImage(data_ + "/drive", data_ + "/disk.raw", 32, true);
    ASSERT_EQ(runTool({"qemu-img", "convert", "-O", "vdi", data_ + "/disk.raw", disk()}).status, 0);
  }
  std::string disk() const { return data_ + "/disk.vdi"; }
  std::string made() const { return data_ + "/morvin-ng/machines/win98"; }

  // Chooses the disk, names the machine and waits for the reading to end.
  void makeMachine(TfmMaszyny& window, bool cancel) {
    dialogLog->answerFile(QString::fromStdString(disk()));
    setModalRunner([](WindowId, QWidget* form) {
      test::child<QLineEdit>(form, "MachineNameEdit")->setText(QStringLiteral("win98"));
      test::click(form, "CreateButton");
    });
    window.findChild<QAction*>("NewFromImageAction")->trigger();
    EXPECT_TRUE(test::child<QProgressBar>(&window, "ReadingProgress")->isVisibleTo(&window));
    if (cancel) test::click(&window, "CancelReadingButton");
    for (int i = 0; i < 6000 && window.reading(); ++i) {
      QCoreApplication::processEvents();
      QThread::msleep(10);
    }
    ASSERT_FALSE(window.reading());
    EXPECT_FALSE(test::child<QProgressBar>(&window, "ReadingProgress")->isVisibleTo(&window));
  }
  // Waits for the hand-back or refresh a click started, its questions
  // answered as scripted; it ends once, with the window idle again.
  void waitForDrive(TfmMaszyny& window) {
    int finished = 0;
    const auto counting = QObject::connect(&window, &TfmMaszyny::driveWorkFinished, [&] { ++finished; });
    for (int i = 0; i < 6000 && !finished; ++i) {
      QCoreApplication::processEvents();
      QThread::msleep(10);
    }
    QObject::disconnect(counting);
    EXPECT_EQ(finished, 1);
    EXPECT_FALSE(window.workingOnDrive());
    EXPECT_FALSE(test::child<QProgressBar>(&window, "ReadingProgress")->isVisibleTo(&window));
  }
  void choose(TfmMaszyny& window, const std::string& name) {
    auto* list = test::child<QTreeWidget>(&window, "MachinesList");
    for (int i = 0; i < list->topLevelItemCount(); ++i)
      if (window.shownMachines()[static_cast<std::size_t>(i)].name == name)
        list->setCurrentItem(list->topLevelItem(i));
  }

  long long offset_ = 0;
};

TEST_F(MachinesWindowTest, AMachineFromADiskIsMadeUsedHandedBackInTheBackgroundAndRemoved) {
  machine->setDword(reg::kCurrentUser, kNetwork, "NoNetSetup", 0);
  QWidget* web = createTfmWeb(nullptr);
  auto* checkBox6 = test::child<QCheckBox>(web, "CheckBox6");
  ASSERT_FALSE(checkBox6->isChecked());

  TfmMaszyny window;
  auto* list = test::child<QTreeWidget>(&window, "MachinesList");
  ASSERT_EQ(list->topLevelItemCount(), 1);  // the default machine, in use
  makeMachine(window, true);
  EXPECT_FALSE(fs::exists(made()));
  EXPECT_EQ(list->topLevelItemCount(), 1);

  makeMachine(window, false);
  ASSERT_TRUE(fs::exists(made() + "/drive_c"));
  ASSERT_EQ(list->topLevelItemCount(), 2);
  EXPECT_EQ(list->topLevelItem(1)->text(1), QString::fromStdString(disk() + " (vdi, partycja 1)"));

  choose(window, "win98");
  test::click(&window, "UseButton");
  EXPECT_EQ(platform::currentMachine().folder(), made());
  EXPECT_EQ(rememberedMachine(), QStringLiteral("win98"));
  EXPECT_TRUE(checkBox6->isChecked());  // the drive's 5, shown and not written back
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kNetwork, "NoNetSetup"), 5);

  checkBox6->setChecked(false);  // the one change made on this machine
  const QStringList preview = TfmMaszyny::handBackPreview(made(), disk());
  const QStringList changes = preview.filter(QStringLiteral("HKEY_"));
  ASSERT_EQ(changes.size(), 1) << preview.join('\n').toStdString();
  EXPECT_TRUE(changes[0].contains(QStringLiteral("NoNetSetup")));
  EXPECT_TRUE(changes[0].endsWith(QString::fromUtf8("5 (0x00000005) → 0 (0x00000000)")))
      << changes[0].toStdString();
  EXPECT_TRUE(preview.contains(QStringLiteral("  MORVINNG.REG")));

  choose(window, "win98");
  dialogLog->answerQuestion(Answer::Yes);
  const std::uint64_t conversions = platform::win9x::diskConversions();
  {
    const QemuGate gate(data_ + "/gate");
    test::click(&window, "HandBackButton");
    // The click is back while the drive work waits at its first step.
    EXPECT_FALSE(gate.passed());
    EXPECT_TRUE(window.workingOnDrive());
    EXPECT_TRUE(test::child<QProgressBar>(&window, "ReadingProgress")->isVisibleTo(&window));
    for (const char* button : {"HandBackButton", "RefreshButton", "NewFromDriveButton"})
      EXPECT_FALSE(test::child<QPushButton>(&window, button)->isEnabled()) << button;
    gate.open();
    waitForDrive(window);
  }
  EXPECT_EQ(platform::win9x::diskConversions() - conversions, 1u);  // the preview's copy served the hand-back
  EXPECT_TRUE(test::child<QPushButton>(&window, "HandBackButton")->isEnabled());
  EXPECT_TRUE(dialogLog->texts(ShownDialog::Kind::Question).back().contains(QStringLiteral("NoNetSetup")));
  EXPECT_TRUE(dialogLog->texts(ShownDialog::Kind::Notice).back().contains(QStringLiteral("MORVINNG.REG")));
  ASSERT_EQ(runTool({"qemu-img", "check", disk()}).status, 0);
  ASSERT_EQ(runTool({"qemu-img", "convert", "-O", "raw", disk(), data_ + "/back.raw"}).status, 0);
  EXPECT_NE(
      test::imageFiles(data_ + "/back.raw", offset_)["MORVINNG.REG"].find("\"NoNetSetup\"=dword:00000000"),
      std::string::npos);
  // Windows has not started since: a refresh finds the drive's registry as it was read.
  choose(window, "win98");
  test::click(&window, "RefreshButton");
  waitForDrive(window);
  EXPECT_TRUE(
      dialogLog->texts(ShownDialog::Kind::Notice).back().contains(QString::fromUtf8("jak przy ostatnim")));

  // Back to the default machine, then the one from the disk goes; the disk stays.
  choose(window, platform::kDefaultMachineName);
  test::click(&window, "UseButton");
  EXPECT_FALSE(checkBox6->isChecked());
  const auto diskBytes = platform::host::readFile(disk());
  choose(window, "win98");
  dialogLog->answerQuestion(Answer::Yes);
  test::click(&window, "RemoveButton");
  EXPECT_FALSE(fs::exists(made()));
  EXPECT_EQ(list->topLevelItemCount(), 1);
  EXPECT_EQ(platform::host::readFile(disk()), diskBytes);
  EXPECT_TRUE(errorBoxes().isEmpty()) << errorBoxes().join('\n').toStdString();
}

TEST_F(MachinesWindowTest, AValueChangedOnBothSidesIsAskedAboutAndTheAnswerDecidesTheDrive) {
  const std::string drive = data_ + "/drive";
  fs::create_directories(data_ + "/morvin-ng/machines");
  ASSERT_EQ(runTool({MORVIN_REG_PROGRAM, "--machine", made(), "init", "--from", drive}).status, 0);
  TfmMaszyny window;
  choose(window, "win98");
  test::click(&window, "UseButton");
  ASSERT_EQ(platform::currentMachine().folder(), made());
  machine->setDword(reg::kCurrentUser, kNetwork, "NoNetSetup", 0);  // 5 -> 0 in the machine
  test::Win98Drive windows;                                         // 5 -> 7 in Windows 98
  windows.user.path(std::string(".DEFAULT\\") + kNetwork).values = {
      {"NoNetSetup", 4, std::string("\x07\0\0\0", 4)}};
  windows.writeFolder(drive);
  const auto userDat = platform::host::readFile(drive + "/WINDOWS/USER.DAT");

  for (const Answer answer : {Answer::No, Answer::Yes}) {
    SCOPED_TRACE(answer == Answer::Yes ? "yes" : "no");
    dialogLog->answerQuestion(Answer::Yes);  // the preview
    dialogLog->answerQuestion(answer);       // the value changed on both sides
    choose(window, "win98");
    test::click(&window, "HandBackButton");
    waitForDrive(window);
    const QStringList questions = dialogLog->texts(ShownDialog::Kind::Question);
    ASSERT_GE(questions.size(), 2);
    EXPECT_TRUE(questions[questions.size() - 2].contains(QString::fromUtf8("Windows 98 zmienił")))
        << questions[questions.size() - 2].toStdString();
    const QString asked = questions.back();
    for (const char* part : {"NoNetSetup", "7 (0x00000007)", "0 (0x00000000)"})
      EXPECT_TRUE(asked.contains(QString::fromUtf8(part))) << part << ": " << asked.toStdString();
    EXPECT_EQ(platform::host::readFile(drive + "/WINDOWS/USER.DAT"), userDat);
    const auto handedBack = platform::host::readFile(drive + "/MORVINNG.REG");
    if (answer == Answer::No) {
      EXPECT_FALSE(handedBack.has_value());
    } else {
      ASSERT_TRUE(handedBack.has_value());
      EXPECT_NE(handedBack->find("\"NoNetSetup\"=dword:00000000"), std::string::npos) << *handedBack;
    }
  }
  EXPECT_EQ(machine->dword(reg::kCurrentUser, kNetwork, "NoNetSetup"), 0);
  EXPECT_TRUE(errorBoxes().isEmpty()) << errorBoxes().join('\n').toStdString();
}

TEST_F(MachinesWindowTest, TheMainWindowsMenuAndTheSettingsOpenTheWindowListingTheMachines) {
  fs::create_directories(data_ + "/morvin-ng/machines");
  ASSERT_EQ(runTool({MORVIN_REG_PROGRAM, "--machine", made(), "init", "--from", disk()}).status, 0);
  QStringList listed;
  setModalRunner([&](WindowId, QWidget* shown) {
    auto* list = test::child<QTreeWidget>(shown, "MachinesList");
    for (int i = 0; i < list->topLevelItemCount(); ++i) listed.append(list->topLevelItem(i)->text(0));
  });
  QWidget* main = createTMainForm();
  auto* menu = main->findChild<QMenu*>(QStringLiteral("MenuK"));
  ASSERT_NE(menu, nullptr);
  QAction* entry = menu->findChild<QAction*>(QStringLiteral("Maszyny1"));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->text(), QStringLiteral("Maszyny..."));
  entry->trigger();
  test::click(createTfmSet(main), "Maszyny");
  EXPECT_EQ(listed.count(QStringLiteral("win98")), 2) << listed.join(',').toStdString();

  TfmMaszyny window;
  for (QWidget* control : test::readableControls(&window))
    EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
}

}  // namespace
}  // namespace morvin
