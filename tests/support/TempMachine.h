// A throw-away machine folder for one test: provisioned from the default
// machine, Polish or English (or left empty), opened as the current machine,
// removed afterwards.
#pragma once

#include <cstdint>
#include <string>

#include "platform/Machine.h"
#include "registry/WinReg.h"

namespace morvin::test {

class TempMachine {
 public:
  enum class Content { Default, Empty, English };
  explicit TempMachine(Content content = Content::Default, platform::MachineOptions options = {});
  ~TempMachine();
  TempMachine(const TempMachine&) = delete;
  TempMachine& operator=(const TempMachine&) = delete;

  const std::string& folder() const { return folder_; }
  std::string driveC() const { return folder_ + "/drive_c"; }
  // Reopens the machine (a fresh store), e.g. with other options.
  void reopen(platform::MachineOptions options = {});

  // Direct store helpers; paths and names in UTF-8, root-relative, no leading backslash.
  void setDword(reg::Key root, const std::string& key, const std::string& name, std::uint32_t v);
  void setString(reg::Key root, const std::string& key, const std::string& name, const std::string& v,
                 std::uint32_t type = 1);
  void setBinary(reg::Key root, const std::string& key, const std::string& name, const std::string& bytes);
  void createKey(reg::Key root, const std::string& key);
  void deleteTree(reg::Key root, const std::string& key);
  bool keyExists(reg::Key root, const std::string& key);
  bool valueExists(reg::Key root, const std::string& key, const std::string& name);
  // Raw stored value: type and bytes; false when missing.
  bool value(reg::Key root, const std::string& key, const std::string& name, std::uint32_t* type,
             std::string* bytes);
  // A REG_DWORD value, or -1 when missing or of another type.
  std::int64_t dword(reg::Key root, const std::string& key, const std::string& name);
  // A REG_SZ/REG_EXPAND_SZ value up to its NUL, UTF-8; empty when missing.
  std::string string(reg::Key root, const std::string& key, const std::string& name);

 private:
  std::string folder_;
};

}  // namespace morvin::test
