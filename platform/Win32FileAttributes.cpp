// DOS file attributes on Windows: the system's own.
#ifdef _WIN32

#include <windows.h>
// <windows.h> names the "A"/"W" pair SetFileAttributes and GetFileAttributes.
#undef SetFileAttributes
#undef GetFileAttributes

#include "FileAttributes.h"

namespace morvin::platform {

bool SetFileAttributes(const std::string& windowsPath, std::uint32_t attributes) {
  return SetFileAttributesA(windowsPath.c_str(), attributes) != 0;
}

std::int64_t GetFileAttributes(const std::string& windowsPath) {
  const DWORD attributes = GetFileAttributesA(windowsPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return -1;
  return attributes;
}

}  // namespace morvin::platform

#endif
