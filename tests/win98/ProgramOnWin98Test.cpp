// The real program on a machine made from a Windows 98 drive: it rewrites
// NoNetSetup 5 as 1, and apply hands that back as MORVINNG.REG with a batch
// file in the Startup folder, the drive's hives untouched; a start changes
// nothing Windows does.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <sstream>

#include "Win98Fixture.h"
#include "platform/Win9xTools.h"
#include "registry/TIniFile.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempMachine.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;
using platform::win9x::runTool;

TEST(ProgramOnWin98, StartingAndEndingTheProgramHandsNoNetSetupBackAsOne) {
  TempMachine machine(TempMachine::Content::Empty);
  const std::string drive = machine.folder() + "-drive", image = drive + ".img";
  Win98Drive fixture;
  fixture.writeFolder(drive);
  const long long offset = makeImage(drive, image, 32, true);
  const auto before = imageFiles(image, offset);
  auto reg = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {MORVIN_REG_PROGRAM, "--machine", machine.folder()});
    return runTool(args);
  };
  const auto made = reg({"init", "--from", image, "--replace"});
  ASSERT_EQ(made.status, 0) << made.err;
  machine.reopen();
  const std::string policy = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
  ASSERT_EQ(machine.dword(reg::kCurrentUser, policy, "NoNetSetup"), 5);

  {
    ProgramRun program(MORVIN_NG_BINARY, machine.folder());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(waitForWindows(machine));
    program.terminate();
    EXPECT_EQ(program.waitForEnd(std::chrono::seconds(20)), 0);
  }
  EXPECT_EQ(machine.dword(reg::kCurrentUser, policy, "NoNetSetup"), 1);

  const auto applied = reg({"apply", image});
  ASSERT_EQ(applied.status, 0) << applied.err;
  const auto after = imageFiles(image, offset);
  EXPECT_NE(after.at("MORVINNG.REG").find("\"NoNetSetup\"=dword:00000001"), std::string::npos);
  EXPECT_NE(
      after.at("WINDOWS/Menu Start/Programy/Autostart/MORVINNG.BAT").find("regedit /s C:\\MORVINNG.REG"),
      std::string::npos);
  for (const char* hive : {"WINDOWS/SYSTEM.DAT", "WINDOWS/USER.DAT", "WINDOWS/Profiles/Jan/USER.DAT"})
    EXPECT_EQ(after.at(hive), before.at(hive)) << hive;
  fs::remove_all(drive);
  fs::remove(image);
}

// Hidden=2 is Windows' own "do not show hidden files" and a missing
// BootMenuDelay means 30 seconds: a start with no click keeps both.
TEST(ProgramOnWin98, AStartWithNoClickKeepsHiddenAndTheMissingDelay) {
  TempMachine machine(TempMachine::Content::Empty);
  const std::string drive = machine.folder() + "-drive";
  const std::string advanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
  Win98Drive fixture;
  fixture.user.path(".DEFAULT\\" + advanced).values = {{"Hidden", 4, std::string("\x02\0\0\0", 4)},
                                                       {"HideFileExt", 4, std::string("\x01\0\0\0", 4)}};
  fixture.user.path(".DEFAULT\\Control Panel\\Desktop")
      .values.push_back({"CursorBlinkRate", 1, std::string("530\0", 4)});
  fixture.writeFolder(drive);
  const auto made =
      runTool({MORVIN_REG_PROGRAM, "--machine", machine.folder(), "init", "--from", drive, "--replace"});
  ASSERT_EQ(made.status, 0) << made.err;
  machine.reopen();
  ASSERT_EQ(machine.dword(reg::kCurrentUser, advanced, "Hidden"), 2);

  {
    ProgramRun program(MORVIN_NG_BINARY, machine.folder());
    ASSERT_TRUE(program.started());
    ASSERT_TRUE(waitForWindows(machine));
    program.terminate();
    EXPECT_EQ(program.waitForEnd(std::chrono::seconds(20)), 0);
  }
  EXPECT_EQ(machine.dword(reg::kCurrentUser, advanced, "Hidden"), 2);
  TIniFile boot("C:\\MsDos.sys");
  EXPECT_EQ(boot.IniReadText("Options", "BootMenuDelay", "<none>"), "<none>");
  EXPECT_EQ(boot.IniReadText("Options", "BootGUI", "<none>"), "1");
  EXPECT_EQ(boot.IniReadText("Options", "AutoScan", "<none>"), "1");  // missing: Windows scans
  EXPECT_EQ(machine.dword(reg::kCurrentUser, advanced, "HideFileExt"), 1);
  EXPECT_EQ(machine.string(reg::kCurrentUser, "Control Panel\\Desktop", "CursorBlinkRate"), "530");

  // All the start wrote, as the journal lists it: the program's own keys, empty
  // keys, a policy's "on" rewritten as 1, boot options Windows takes as 1 when missing.
  const auto history = runTool({MORVIN_REG_PROGRAM, "--machine", machine.folder(), "history"});
  ASSERT_EQ(history.status, 0) << history.err;
  std::istringstream lines(history.out);
  for (std::string line; std::getline(lines, line);) {
    const bool emptyKey = line.ends_with("\t(none) -> (key)");
    const bool policyOn =
        line.find("\\Policies\\") != std::string::npos && line.ends_with(" -> 1 (0x00000001)");
    const bool bootOption =
        line.find("\tC:\\MsDos.sys [Options]\t") != std::string::npos && line.ends_with("\t(none) -> \"1\"");
    EXPECT_TRUE(emptyKey || policyOn || bootOption) << line;
  }
  fs::remove_all(drive);
}

}  // namespace
}  // namespace morvin::test
