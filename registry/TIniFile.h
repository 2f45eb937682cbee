// One INI file, by path; nothing cached, every call goes to the file.
#pragma once

#include <cstdint>
#include <string>

#include "ProfileStore.h"

namespace morvin {

class TIniFile {
 public:
  explicit TIniFile(std::string path);  // on reg::currentProfileStore()
  TIniFile(reg::ProfileStore& store, std::string path);

  std::string IniReadText(const std::string& section, const std::string& key, const std::string& def);
  std::int32_t IniReadNumber(const std::string& section, const std::string& key, std::int32_t def);
  bool IniReadFlag(const std::string& section, const std::string& key, bool def);
  void IniWriteText(const std::string& section, const std::string& key, const std::string& text);
  void IniWriteNumber(const std::string& section, const std::string& key, std::int32_t n);
  void IniWriteFlag(const std::string& section, const std::string& key, bool b);

  const std::string& path() const { return path_; }

 private:
  reg::ProfileStore& store_;
  std::string path_;
};

}  // namespace morvin
