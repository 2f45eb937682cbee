// A registry cursor: one root, at most one open key. Opens never raise; reads
// of numbers raise ERegistryException, writes raise on any refusal.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "RegistryStore.h"

namespace morvin {

class TRegistry {
 public:
  TRegistry();  // on reg::currentStore(), root HKEY_CURRENT_USER
  explicit TRegistry(reg::RegistryStore& store);
  ~TRegistry();
  TRegistry(const TRegistry&) = delete;
  TRegistry& operator=(const TRegistry&) = delete;

  void SelectRoot(reg::Key root);
  bool OpenPath(const std::string& path, bool create);
  void ClosePath();

  std::int32_t ReadNumber(const std::string& name);
  bool ReadFlag(const std::string& name);
  std::string ReadText(const std::string& name);
  void WriteNumber(const std::string& name, std::int32_t n);
  void WriteFlag(const std::string& name, bool b);
  void WriteText(const std::string& name, const std::string& s);
  bool HasValue(const std::string& name);
  bool RemoveValue(const std::string& name);
  bool RemoveKeyTree(const std::string& path);
  void ListSubkeys(std::vector<std::string>& list);
  void ListValueNames(std::vector<std::string>& list);

  reg::Key root() const { return root_; }
  reg::Key openKey() const { return key_; }  // 0 when none is open
  const std::string& openPath() const { return path_; }
  reg::RegistryStore& store() { return store_; }

 private:
  bool removeTree(const std::string& path);
  reg::Key baseForPath(const std::string& path, std::string& relative) const;

  reg::RegistryStore& store_;
  reg::Key root_ = reg::kCurrentUser;
  reg::Key key_ = 0;
  std::string path_;
};

}  // namespace morvin
