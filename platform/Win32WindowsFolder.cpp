// The Windows folder on Windows: what the system reports.
#ifdef _WIN32

#include <windows.h>

#include "WindowsFolder.h"

namespace morvin::platform {

std::string KatalogWindows() {
  std::string folder(MAX_PATH, '\0');
  UINT length = GetWindowsDirectoryA(folder.data(), static_cast<UINT>(folder.size()));
  if (length >= folder.size()) {
    // A longer folder: the result was the size needed, NUL included.
    folder.resize(length);
    length = GetWindowsDirectoryA(folder.data(), static_cast<UINT>(folder.size()));
  }
  if (length == 0 || length >= folder.size()) return "C:\\WINDOWS";
  folder.resize(length);
  return folder;
}

}  // namespace morvin::platform

#endif
