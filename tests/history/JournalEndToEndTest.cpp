// The program's start-up write-backs in the journal, then morvin-reg: the
// history names them, changes hands them on, undo takes them back.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/ProgramRun.h"
#include "tests/support/TempMachine.h"

namespace morvin {
namespace {

constexpr const char* kNetwork = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
constexpr const char* kNetworkKeyLine =
    "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network]\r\n";

struct Output {
  int status = -1;
  std::string text;
};

class JournalEndToEndTest : public ::testing::Test {
 protected:
  Output reg(const std::string& arguments) {
    const std::string command = std::string("'") + MORVIN_REG_PROGRAM + "' --machine '" + machine.folder() +
                                "' " + arguments + " 2>&1";
    Output out;
    FILE* pipe = ::popen(command.c_str(), "r");
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.text.append(buffer, n);
    const int status = ::pclose(pipe);
    out.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return out;
  }
  // The id of the history line that holds every one of `parts`.
  std::string idOfLineWith(const std::vector<std::string>& parts) {
    std::istringstream lines(reg("history").text);
    for (std::string line; std::getline(lines, line);) {
      bool all = true;
      for (const std::string& part : parts) all = all && line.find(part) != std::string::npos;
      if (all) return line.substr(0, line.find('\t'));
    }
    return {};
  }

  test::TempMachine machine;
};

TEST_F(JournalEndToEndTest, TheNetworkWriteBackIsJournaledHandedOnAndTakenBack) {
  const std::string tweak = machine.folder() + "/tweak.reg";
  std::ofstream(tweak, std::ios::binary) << "REGEDIT4\r\n\r\n"
                                         << kNetworkKeyLine << "\"NoNetSetup\"=dword:00000005\r\n\r\n";
  ASSERT_EQ(reg("import '" + tweak + "'").status, 0);

  test::ProgramRun program(MORVIN_NG_BINARY, machine.folder(), {"MORVIN_CLOSE_WHEN_SHOWN=1"});
  ASSERT_TRUE(program.started());
  ASSERT_EQ(program.waitForEnd(std::chrono::seconds(60)), 0);

  const std::string id = idOfLineWith({"\tSieć\t", "\tNoNetSetup\t", "5 (0x00000005) -> 1 (0x00000001)"});
  ASSERT_FALSE(id.empty()) << reg("history").text;
  EXPECT_FALSE(idOfLineWith({"\tMicrosoft DOS\t", "\tLogo\t"}).empty());  // the other start-up writes
  EXPECT_NE(reg("changes").text.find(std::string(kNetworkKeyLine) + "\"NoNetSetup\"=dword:00000001\r\n"),
            std::string::npos);

  // MsDos.sys goes with the changes when its keys changed.
  const std::string msdos = machine.folder() + "/MSDOS.SYS";
  ASSERT_EQ(reg("changes '" + machine.folder() + "/changes.reg' --msdos '" + msdos + "'").status, 0);
  std::stringstream bootFile;
  bootFile << std::ifstream(msdos, std::ios::binary).rdbuf();
  EXPECT_NE(bootFile.str().find("Logo=1"), std::string::npos);

  EXPECT_EQ(reg("undo " + id).status, 0);
  EXPECT_EQ(machine.dword(reg::kCurrentUser, kNetwork, "NoNetSetup"), 5);
  EXPECT_NE(reg("changes").text.find(std::string(kNetworkKeyLine) + "\"NoNetSetup\"=dword:00000005\r\n"),
            std::string::npos);

  // The same entry again: the value is no longer where it left it.
  EXPECT_EQ(reg("undo " + id).status, 4);
  EXPECT_EQ(machine.dword(reg::kCurrentUser, kNetwork, "NoNetSetup"), 5);

  EXPECT_EQ(reg("undo --all").status, 0);
  EXPECT_EQ(reg("changes").text, "REGEDIT4\r\n\r\n");
}

}  // namespace
}  // namespace morvin
