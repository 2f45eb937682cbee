// Wine standing in for the registry editor of Windows 98: a throw-away Wine
// prefix whose ANSI code page is 1250 (a Polish locale made with localedef
// beside it, no root needed), where .reg files are applied with `regedit /s`
// and keys exported with `regedit /e`. Tests skip when Wine is missing.
#pragma once

#include <optional>
#include <string>

#include "registry/RegFile.h"

namespace morvin::test {

class WineRegistry {
 public:
  // Whether wine, wineboot and localedef are installed.
  static bool available();
  // A new prefix in `folder` (created); ready() says whether it came up.
  explicit WineRegistry(const std::string& folder);
  ~WineRegistry();  // ends the prefix's wineserver
  WineRegistry(const WineRegistry&) = delete;
  WineRegistry& operator=(const WineRegistry&) = delete;

  bool ready() const { return ready_; }
  const std::string& problem() const { return problem_; }
  // `regedit /s` of a host .reg file; false when regedit failed.
  bool apply(const std::string& regFile);
  // `regedit /e` of a full key name (cp1250) as a document, nullopt when the
  // key does not exist.
  std::optional<reg::RegDocument> exportKey(const std::string& key);
  // Test assertions: under every key of `changes`, the prefix holds what
  // `machine` holds there (each of its values, with type and bytes; Wine's own
  // keys may hold more), none of the values `changes` removes, and a key
  // exactly where the machine has one.
  void expectHoldsMachineState(const reg::RegDocument& changes, reg::RegistryStore& machine);

 private:
  std::string folder_;
  bool ready_ = false;
  std::string problem_;
};

}  // namespace morvin::test
