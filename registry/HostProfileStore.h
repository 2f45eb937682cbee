// Profile files (INI) on the host file system, reached by their Windows paths.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "ProfileStore.h"

namespace morvin::reg {

class HostProfileStore : public ProfileStore {
 public:
  // Maps a Windows path (cp1250, C:\...) to a host path; nullopt when it has none.
  using PathMapper = std::function<std::optional<std::string>(const std::string& windowsPath)>;

  explicit HostProfileStore(PathMapper toHostPath);

  std::string readString(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& def) override;
  // Creates a missing file; fails for a read-only file, a missing folder, a
  // path that maps nowhere and texts that would not read back (line breaks).
  bool writeString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override;
  bool removeKey(const std::string& path, const std::string& section, const std::string& key) override;

 private:
  bool rewrite(const std::string& path, const std::function<std::string(const std::string&)>& change);

  PathMapper toHostPath_;
};

}  // namespace morvin::reg
