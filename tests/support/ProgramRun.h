// The real program, run offscreen on a machine folder, for end-to-end tests.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace morvin::test {

class TempMachine;

class ProgramRun {
 public:
  // Starts `binary` with MORVIN_MACHINE=machineFolder and QT_QPA_PLATFORM=offscreen;
  // `extraEnvironment` entries ("NAME=value") are added.
  ProgramRun(const std::string& binary, const std::string& machineFolder,
             const std::vector<std::string>& extraEnvironment = {});
  ~ProgramRun();  // a program still running is killed
  ProgramRun(const ProgramRun&) = delete;
  ProgramRun& operator=(const ProgramRun&) = delete;

  bool started() const { return pid_ > 0; }
  // Sends SIGTERM, as a session ending does.
  void terminate();
  // The exit code (128 + the signal when a signal ended it), or -1 when the
  // program was still running after `limit` and had to be killed.
  int waitForEnd(std::chrono::seconds limit);

 private:
  pid_t pid_ = -1;
};

// Polls `done` every 50 ms until it holds or `limit` has passed; its last answer.
bool waitUntil(const std::function<bool()>& done, std::chrono::seconds limit);

// Waits until the program's windows are being created (the program store's
// last key exists) and then a little longer, so every window has loaded.
bool waitForWindows(TempMachine& machine);

}  // namespace morvin::test
