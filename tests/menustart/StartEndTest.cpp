// Starting and ending the program's uninstall and autostart windows on a
// machine leaves the Run key and the uninstall list exactly as they were.
#include "../programs/ProgramyFixture.h"
#include "RegistrySnapshot.h"

namespace morvin::test {
namespace {

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class StartEndTest : public ProgramyTest {
 protected:
  TempMachine::Content machineContent() const override { return TempMachine::Content::Default; }
};

TEST_F(StartEndTest, CreatingAndDestroyingTheWindowsChangesNeitherRunNorUninstall) {
  machine->deleteTree(reg::kLocalMachine, kRun);
  machine->setString(reg::kLocalMachine, kRun, "ScanRegistry", "C:\\WINDOWS\\scanregw.exe /autorun");
  machine->setString(reg::kLocalMachine, kRun, "SystemTray", "SysTray.Exe");
  machine->setString(reg::kLocalMachine, kRun, "", "default.exe");
  machine->deleteTree(reg::kLocalMachine, kUninstall);
  addEntry("First", {{"DisplayName", "Ten sam program"}, {"UninstallString", "C:\\a\\un.exe"}});
  addEntry("Second", {{"DisplayName", "Ten sam program"}, {"QuietUninstallString", "C:\\b\\un.exe"}});
  const Snapshot run = snapshotKey(reg::kLocalMachine, kRun);
  const Snapshot uninstall = snapshotKey(reg::kLocalMachine, kUninstall);
  ASSERT_EQ(run.size(), 4u);        // the key itself and its three values
  ASSERT_EQ(uninstall.size(), 7u);  // the key and two entries with two values each

  QWidget* menu = createTfmMenuStart(nullptr);
  QWidget* programs = createTfmProgramy(nullptr);
  EXPECT_EQ(child<QListWidget>(menu, "Lista")->count(), 3);
  EXPECT_EQ(list(programs)->count(), 2);
  processEvents();
  delete programs;
  delete menu;
  clearWindows();
  processEvents();

  EXPECT_EQ(snapshotKey(reg::kLocalMachine, kRun), run);
  EXPECT_EQ(snapshotKey(reg::kLocalMachine, kUninstall), uninstall);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

}  // namespace
}  // namespace morvin::test
