// The profile store of a Windows build: the system's profile-file functions
// (GetPrivateProfileStringA, WritePrivateProfileStringA). Only for Windows.
#pragma once

#ifdef _WIN32

#include "ProfileStore.h"

namespace morvin::reg {

class Win32ProfileStore : public ProfileStore {
 public:
  std::string readString(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& def) override;
  bool removeKey(const std::string& path, const std::string& section, const std::string& key) override;
  // Refuses, as the host store does, a section, key or value that would
  // break the file's lines (a line end, or a key holding '=' or starting a
  // section), which the system function would write as it is, and a file
  // with the read-only attribute.
  bool writeString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override;
};

}  // namespace morvin::reg

#endif
