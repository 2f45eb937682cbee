// The real program, started on a machine whose Run key holds three values and
// whose uninstall list holds two entries of one name, and ended after its full
// start-up: neither key changes.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "RegistrySnapshot.h"
#include "tests/support/TempMachine.h"

extern char** environ;

namespace morvin::test {
namespace {

using namespace std::chrono_literals;

constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// Starts the program offscreen on `machineFolder`; it saves a picture of its
// main window into `shot` once every window is created, then closes itself.
pid_t startProgram(const std::string& machineFolder, const std::string& shot) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("MORVIN_", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0) env.push_back(entry);
  }
  env.push_back("MORVIN_MACHINE=" + machineFolder);
  env.push_back("MORVIN_SCREENSHOT=" + shot);
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

// The exit status, or -1 when the program had to be killed.
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
  const pid_t pid = startProgram(machine.folder(), shot);
  ASSERT_GT(pid, 0);
  EXPECT_EQ(waitForEnd(pid, 90s), 0);
  EXPECT_TRUE(std::filesystem::exists(shot)) << "the program did not finish its start-up";

  EXPECT_EQ(snapshotKey(reg::kLocalMachine, kRun), run);
  EXPECT_EQ(snapshotKey(reg::kLocalMachine, kUninstall), uninstall);
}

}  // namespace
}  // namespace morvin::test
