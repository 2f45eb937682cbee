// Opening documents and running commands on Windows (ShellExecuteA, WinExec),
// for the shell service of a Windows build. Texts are cp1250.
#pragma once

#ifdef _WIN32

#include <string>

namespace morvin::platform {

// ShellExecuteA(owner, verb, file, no parameters, no folder, showCommand).
// `owner` is the window handle (HWND) or nullptr. True when the system took it.
bool shellExecute(void* owner, const std::string& verb, const std::string& file, int showCommand);
// WinExec(commandLine, showCommand). True when the program started.
bool winExec(const std::string& commandLine, int showCommand);

}  // namespace morvin::platform

#endif
