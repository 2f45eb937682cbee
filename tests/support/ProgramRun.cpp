#include "ProgramRun.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <thread>

#include "TempMachine.h"

extern char** environ;

namespace morvin::test {

using namespace std::chrono_literals;

ProgramRun::ProgramRun(const std::string& binary, const std::string& machineFolder,
                       const std::vector<std::string>& extraEnvironment) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    if (entry.rfind("MORVIN_", 0) != 0 && entry.rfind("QT_QPA_PLATFORM=", 0) != 0) env.push_back(entry);
  }
  env.push_back("MORVIN_MACHINE=" + machineFolder);
  env.push_back("QT_QPA_PLATFORM=offscreen");
  env.insert(env.end(), extraEnvironment.begin(), extraEnvironment.end());
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = binary;
  char* argv[] = {program.data(), nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) == 0) pid_ = pid;
}

ProgramRun::~ProgramRun() {
  if (pid_ > 0) {
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
}

void ProgramRun::terminate() {
  if (pid_ > 0) kill(pid_, SIGTERM);
}

int ProgramRun::waitForEnd(std::chrono::seconds limit) {
  if (pid_ <= 0) return -1;
  int status = 0;
  const bool ended = waitUntil([&] { return waitpid(pid_, &status, WNOHANG) == pid_; }, limit);
  if (!ended) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status, 0);
  }
  pid_ = -1;
  if (!ended) return -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

bool waitUntil(const std::function<bool()>& done, std::chrono::seconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return done();
}

bool waitForWindows(TempMachine& machine) {
  // The settings key is the last of the program store; the window set follows.
  if (!waitUntil([&] { return machine.keyExists(reg::kCurrentUser, "Software\\Morvin\\Ustawienia"); }, 60s))
    return false;
  std::this_thread::sleep_for(1500ms);  // the windows after the main one load
  return true;
}

}  // namespace morvin::test
