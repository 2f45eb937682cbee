// Program start-up: the application and its classic look, the machine, the
// eleven windows created once in order, the message loop, and an orderly end.
#pragma once

#include <QString>
#include <optional>

class QApplication;
class QWidget;

namespace morvin {

inline constexpr const char* kApplicationTitle = "Morvin - Next Generation";

// Title, the "Windows" style, the Windows 98 classic palette, Verdana (DejaVu Sans).
void applyClassicLook(QApplication& app);

// Provisions (first start) and opens the machine; false after telling the user why.
bool openDefaultMachine();

// Creates the eleven windows in their order; a failing creation is reported in
// the error box and the next window is still created. Returns the main window.
QWidget* createWindows();
// Destroys every window of the window set, the last created first.
void destroyWindows();

// From now on SIGTERM and SIGINT close the main window as its close button
// does (once the message loop runs; a signal during start-up is handled then).
void closeMainWindowOnTermination();

// --version and --help: the answer on the standard output and the exit
// status, before anything needs a display; nothing for any other arguments.
std::optional<int> answerWithoutDisplay(int argc, char** argv);

// The whole program.
int runProgram(int argc, char** argv);

}  // namespace morvin
