#ifdef _WIN32

#include "Win32ProfileStore.h"

#include <windows.h>

namespace morvin::reg {
namespace {

bool breaksLines(const std::string& text) {
  return text.find_first_of("\r\n") != std::string::npos || text.find('\0') != std::string::npos;
}

}  // namespace

std::string Win32ProfileStore::readString(const std::string& path, const std::string& section,
                                          const std::string& key, const std::string& def) {
  // 2047 characters and the NUL, the most a value gives.
  char buffer[2048];
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer,
                                                sizeof buffer, path.c_str());
  return std::string(buffer, length);
}

bool Win32ProfileStore::writeString(const std::string& path, const std::string& section,
                                    const std::string& key, const std::string& value) {
  if (breaksLines(section) || breaksLines(key) || breaksLines(value) ||
      section.find(']') != std::string::npos || key.find('=') != std::string::npos ||
      (!key.empty() && (key[0] == '[' || key[0] == ';')))
    return false;
  // Windows refuses a read-only file by itself, but an administrator's
  // process under Wine (root) would write it: the attribute decides here.
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), path.c_str()) != 0;
}

bool Win32ProfileStore::removeKey(const std::string& path, const std::string& section,
                                  const std::string& key) {
  if (breaksLines(section) || breaksLines(key) || key.empty()) return false;
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) return false;
  return WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, path.c_str()) != 0;
}

}  // namespace morvin::reg

#endif
