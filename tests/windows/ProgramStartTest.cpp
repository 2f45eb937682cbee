// The real program, started on a machine and ended by SIGTERM as a session
// ending would: what the Windows and Folders-and-files windows load is written
// back as their boxes say, and nothing else of theirs changes.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "tests/support/ProgramRun.h"
#include "tests/support/TempMachine.h"

namespace morvin::test {
namespace {

using namespace std::chrono_literals;

const std::string kSystemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const std::string kDesktopKey = "Control Panel\\Desktop";
const std::string kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

TEST(ProgramStart, LoadedPolicyAndBlinkRateSurviveAStartAndSigtermAndHiddenTwoStaysTwo) {
  TempMachine machine;
  machine.setDword(reg::kCurrentUser, kSystemKey, "NoDispCPL", 1);
  machine.setString(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate", "-1");
  machine.setDword(reg::kCurrentUser, kAdvanced, "Hidden", 2);

  ProgramRun program(MORVIN_NG_BINARY, machine.folder());
  ASSERT_TRUE(program.started());
  ASSERT_TRUE(waitForWindows(machine));
  program.terminate();
  EXPECT_EQ(program.waitForEnd(30s), 0);

  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine.value(reg::kCurrentUser, kSystemKey, "NoDispCPL", &type, &bytes));
  EXPECT_EQ(type, reg::type::Dword);
  EXPECT_EQ(bytes, std::string("\x01\x00\x00\x00", 4));
  ASSERT_TRUE(machine.value(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate", &type, &bytes));
  EXPECT_EQ(type, reg::type::Sz);
  EXPECT_EQ(bytes, std::string("-1", 3));
  EXPECT_EQ(machine.dword(reg::kCurrentUser, kAdvanced, "Hidden"), 2);  // Windows' "not shown" stays
  // The other policy boxes loaded unchecked and wrote nothing.
  EXPECT_FALSE(machine.valueExists(reg::kCurrentUser, kSystemKey, "NoDispBackgroundPage"));
  EXPECT_FALSE(machine.valueExists(reg::kCurrentUser, kSystemKey, "NoProfilePage"));
}

}  // namespace
}  // namespace morvin::test
