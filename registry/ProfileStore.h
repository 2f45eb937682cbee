// The seam below TIniFile, shaped like GetPrivateProfileStringA and
// WritePrivateProfileStringA. Paths are Windows paths (C:\MsDos.sys) in cp1250.
#pragma once

#include <memory>
#include <string>

namespace morvin::reg {

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The key's value (blanks trimmed, one pair of quotes removed, at most
  // 2047 bytes), or `def` when the section or key is missing.
  virtual std::string readString(const std::string& path, const std::string& section, const std::string& key,
                                 const std::string& def) = 0;
  // False when the file cannot be written.
  virtual bool writeString(const std::string& path, const std::string& section, const std::string& key,
                           const std::string& value) = 0;
  // Removes the key's line (WritePrivateProfileStringA with no value); true
  // also when there was none. False when the file cannot be written.
  virtual bool removeKey(const std::string& path, const std::string& section, const std::string& key) = 0;
};

ProfileStore& currentProfileStore();
void setCurrentProfileStore(std::shared_ptr<ProfileStore> store);

}  // namespace morvin::reg
