// Child processes for the crash and concurrency tests. A child runs a
// function after fork() and ends with _exit, never returning into the test.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <exception>
#include <functional>

namespace morvin::test {

// Starts `body` in a child; its exit code is body's result. The parent must
// not have a hive open across the fork.
inline pid_t startChild(const std::function<int()>& body) {
  const pid_t pid = fork();
  if (pid == 0) {
    int code = 99;
    try {
      code = body();
    } catch (const std::exception& e) {
      std::fprintf(stderr, "child %d: %s\n", static_cast<int>(getpid()), e.what());
      code = 98;
    } catch (...) {
      code = 98;
    }
    _exit(code);
  }
  return pid;
}

// The child's exit code, or -signal when a signal ended it.
inline int waitChild(pid_t pid) {
  int status = 0;
  if (waitpid(pid, &status, 0) != pid) return -1000;
  if (WIFSIGNALED(status)) return -WTERMSIG(status);
  return WEXITSTATUS(status);
}

}  // namespace morvin::test
