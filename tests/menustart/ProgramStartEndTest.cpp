// The real program, started on a machine whose Run key holds three values and
// whose uninstall list holds two entries of one name, and ended after its full
// start-up: neither key changes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "RegistrySnapshot.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempMachine.h"

namespace morvin::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

TEST(ProgramStartEnd, RunAndUninstallKeysAreLeftExactlyAsTheyWere) {
  TempMachine machine;
  machine.deleteTree(reg::kLocalMachine, kRun);
  machine.setString(reg::kLocalMachine, kRun, "ScanRegistry", "C:\\WINDOWS\\scanregw.exe /autorun");
  machine.setString(reg::kLocalMachine, kRun, "SystemTray", "SysTray.Exe");
  machine.setString(reg::kLocalMachine, kRun, "LoadQM", "loadqm.exe");
  machine.deleteTree(reg::kLocalMachine, kUninstall);
  const std::string first = std::string(kUninstall) + "\\Pierwszy";
  const std::string second = std::string(kUninstall) + "\\Drugi";
  machine.setString(reg::kLocalMachine, first, "DisplayName", "Ten sam program");
  machine.setString(reg::kLocalMachine, first, "UninstallString", "C:\\Pierwszy\\usun.exe");
  machine.setString(reg::kLocalMachine, second, "DisplayName", "Ten sam program");
  machine.setString(reg::kLocalMachine, second, "UninstallString", "C:\\Drugi\\usun.exe");
  const Snapshot run = snapshotKey(reg::kLocalMachine, kRun);
  const Snapshot uninstall = snapshotKey(reg::kLocalMachine, kUninstall);
  ASSERT_EQ(run.size(), 4u);
  ASSERT_EQ(uninstall.size(), 7u);

  const std::string shot = machine.folder() + "/started.png";
  // The program saves a picture of its main window once every window is
  // created, then closes itself.
  ProgramRun program(MORVIN_NG_BINARY, machine.folder(), {"MORVIN_SCREENSHOT=" + shot});
  ASSERT_TRUE(program.started());
  EXPECT_EQ(program.waitForEnd(90s), 0);
  EXPECT_TRUE(std::filesystem::exists(shot)) << "the program did not finish its start-up";

  EXPECT_EQ(snapshotKey(reg::kLocalMachine, kRun), run);
  EXPECT_EQ(snapshotKey(reg::kLocalMachine, kUninstall), uninstall);
}

}  // namespace
}  // namespace morvin::test
