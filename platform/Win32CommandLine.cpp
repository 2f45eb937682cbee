#ifdef _WIN32

#include "Win32CommandLine.h"

#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

namespace morvin::platform {

std::vector<std::string> utf8Arguments() {
  SetConsoleOutputCP(CP_UTF8);
  int count = 0;
  LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::string> result;
  for (int i = 1; arguments && i < count; ++i) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, arguments[i], -1, nullptr, 0, nullptr, nullptr);
    std::string text(length > 0 ? length - 1 : 0, '\0');
    if (length > 1) WideCharToMultiByte(CP_UTF8, 0, arguments[i], -1, text.data(), length, nullptr, nullptr);
    result.push_back(std::move(text));
  }
  LocalFree(arguments);
  return result;
}

}  // namespace morvin::platform

#endif
