#ifdef _WIN32

#include "Win32Shell.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

namespace morvin::platform {

bool shellExecute(void* owner, const std::string& verb, const std::string& file, int showCommand) {
  const HINSTANCE result = ShellExecuteA(static_cast<HWND>(owner), verb.empty() ? nullptr : verb.c_str(),
                                         file.c_str(), nullptr, nullptr, showCommand);
  // Values above 32 mean success.
  return reinterpret_cast<INT_PTR>(result) > 32;
}

bool winExec(const std::string& commandLine, int showCommand) {
  return WinExec(commandLine.c_str(), static_cast<UINT>(showCommand)) > 31;
}

}  // namespace morvin::platform

#endif
