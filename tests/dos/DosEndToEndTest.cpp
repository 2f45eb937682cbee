// The real program on a default machine, ended by SIGTERM: MsDos.sys ends
// read-only and hidden, its other lines as they were.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>

#include "platform/FileAttributes.h"
#include "registry/TIniFile.h"
#include "tests/support/ProgramRun.h"
#include "tests/support/TempMachine.h"

namespace morvin {
namespace {

std::string pathsSection(const std::string& hostFile) {
  std::ifstream in(hostFile, std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  const std::string text = all.str();
  const std::size_t start = text.find("[Paths]");
  if (start == std::string::npos) return {};
  return text.substr(start, text.find("\r\n[", start) + 2 - start);
}

TEST(DosEndToEnd, AStartEndedBySigtermLeavesTheBootFileReadOnlyHiddenAndItsPathsAsTheyWere) {
  test::TempMachine machine;
  const std::string hostFile = machine.driveC() + "/MsDos.sys";
  const std::string paths = pathsSection(hostFile);
  ASSERT_FALSE(paths.empty());

  test::ProgramRun program(MORVIN_NG_BINARY, machine.folder());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(test::waitForWindows(machine));
  ASSERT_TRUE(
      test::waitUntil([] { return TIniFile("C:\\MsDos.sys").IniReadText("Options", "Logo", "") == "1"; },
                      std::chrono::seconds(30)));
  EXPECT_EQ(platform::GetFileAttributes("C:\\MsDos.sys"), platform::attr::Normal);  // cleared while running
  program.terminate();
  EXPECT_EQ(program.waitForEnd(std::chrono::seconds(20)), 0);

  EXPECT_EQ(platform::GetFileAttributes("C:\\MsDos.sys"), platform::attr::ReadOnly | platform::attr::Hidden);
  EXPECT_EQ(pathsSection(hostFile), paths);
  TIniFile boot("C:\\MsDos.sys");
  EXPECT_EQ(boot.IniReadText("Options", "BootKeys", "<none>"), "<none>");
  EXPECT_EQ(boot.IniReadText("Options", "BootMenuDelay", "<none>"), "<none>");
}

}  // namespace
}  // namespace morvin
