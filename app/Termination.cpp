// SIGTERM and SIGINT end the program as the main window's close button does,
// so every end-of-program action runs. The signal handler only writes a byte
// into a pipe; the GUI thread reads it and closes the window.
#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <QWidget>
#include <csignal>

#include "Startup.h"
#include "shell/WindowSet.h"

namespace morvin {

namespace {
int selfPipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int) {
  const char byte = 1;
  [[maybe_unused]] ssize_t written = ::write(selfPipe[1], &byte, 1);
}
}  // namespace

void closeMainWindowOnTermination() {
  if (selfPipe[0] >= 0) return;
  if (::pipe(selfPipe) != 0) return;
  for (int fd : selfPipe) ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
  auto* notifier = new QSocketNotifier(selfPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
  QObject::connect(notifier, &QSocketNotifier::activated, [] {
    char buffer[16];
    while (::read(selfPipe[0], buffer, sizeof buffer) > 0) {
    }
    if (QWidget* mainWindow = window(WindowId::MainForm)) mainWindow->close();
  });
  struct sigaction action {};
  action.sa_handler = onTerminationSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  ::sigaction(SIGTERM, &action, nullptr);
  ::sigaction(SIGINT, &action, nullptr);
}

}  // namespace morvin
