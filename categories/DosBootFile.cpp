#include "DosBootFile.h"

#include "platform/WindowsFolder.h"

namespace morvin {

std::string drivePart(const std::string& path) {
  if (path.size() >= 2 && path[1] == ':') return path.substr(0, 2);
  if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
    // Server and share: up to (not including) the separator after the share name.
    std::size_t end = 2;
    int separators = 0;
    while (end < path.size()) {
      if (path[end] == '\\' && ++separators == 2) break;
      ++end;
    }
    return path.substr(0, end);
  }
  return {};
}

std::string bootOptionsPath(const std::string& windowsFolder) {
  return drivePart(windowsFolder) + "\\MsDos.sys";
}

std::string bootOptionsPath() {
  return bootOptionsPath(platform::KatalogWindows());
}

}  // namespace morvin
