// The real program, started on a machine and ended by SIGTERM as a session
// ending would: what the Windows and Folders-and-files windows load is written
// back as their boxes say, and nothing else of theirs changes.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/TempMachine.h"

extern char** environ;

namespace morvin::test {
namespace {

using namespace std::chrono_literals;

const std::string kSystemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
const std::string kDesktopKey = "Control Panel\\Desktop";
const std::string kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";

// Starts the program on `machineFolder`, offscreen; returns its process id.
pid_t startProgram(const std::string& machineFolder) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("MORVIN_MACHINE=", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0)
      env.push_back(entry);
  }
  env.push_back("MORVIN_MACHINE=" + machineFolder);
  env.push_back("QT_QPA_PLATFORM=offscreen");
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = MORVIN_NG_BINARY;
  char* argv[] = {program.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -1;
  return pid;
}

// Waits for the process to end; its exit status, or -1 when it had to be killed.
int waitForEnd(pid_t pid, std::chrono::seconds limit) {
  const auto until = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (std::chrono::steady_clock::now() < until) {
    if (waitpid(pid, &status, WNOHANG) == pid)
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    std::this_thread::sleep_for(50ms);
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return -1;
}

TEST(ProgramStart, LoadedPolicyAndBlinkRateSurviveAStartAndSigtermAndHiddenTwoBecomesOne) {
  TempMachine machine;
  machine.setDword(reg::kCurrentUser, kSystemKey, "NoDispCPL", 1);
  machine.setString(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate", "-1");
  machine.setDword(reg::kCurrentUser, kAdvanced, "Hidden", 2);

  const pid_t pid = startProgram(machine.folder());
  ASSERT_GT(pid, 0);
  // The start-up is over for these windows once the folders window has
  // rewritten Hidden (it is created after the Windows window).
  const auto until = std::chrono::steady_clock::now() + 60s;
  while (machine.dword(reg::kCurrentUser, kAdvanced, "Hidden") != 1 &&
         std::chrono::steady_clock::now() < until)
    std::this_thread::sleep_for(50ms);
  std::this_thread::sleep_for(500ms);
  kill(pid, SIGTERM);
  EXPECT_EQ(waitForEnd(pid, 30s), 0);

  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine.value(reg::kCurrentUser, kSystemKey, "NoDispCPL", &type, &bytes));
  EXPECT_EQ(type, reg::type::Dword);
  EXPECT_EQ(bytes, std::string("\x01\x00\x00\x00", 4));
  ASSERT_TRUE(machine.value(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate", &type, &bytes));
  EXPECT_EQ(type, reg::type::Sz);
  EXPECT_EQ(bytes, std::string("-1", 3));
  EXPECT_EQ(machine.dword(reg::kCurrentUser, kAdvanced, "Hidden"), 1);
  // The other policy boxes loaded unchecked and wrote nothing.
  EXPECT_FALSE(machine.valueExists(reg::kCurrentUser, kSystemKey, "NoDispBackgroundPage"));
  EXPECT_FALSE(machine.valueExists(reg::kCurrentUser, kSystemKey, "NoProfilePage"));
}

}  // namespace
}  // namespace morvin::test
