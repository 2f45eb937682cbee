#include "UninstallList.h"

namespace morvin::programs {

std::string entryKey(const std::string& subkey) {
  return std::string(kUninstallKey) + "\\" + subkey;
}

std::optional<std::string> preferredValueName(TRegistry& reg, const char* name, const char* quietName) {
  if (reg.HasValue(name)) return std::string(name);
  if (reg.HasValue(quietName)) return std::string(quietName);
  return std::nullopt;
}

std::optional<std::string> readPreferred(TRegistry& reg, const char* name, const char* quietName) {
  auto used = preferredValueName(reg, name, quietName);
  if (!used) return std::nullopt;
  return reg.ReadText(*used);
}

Listing loadListing() {
  Listing listing;
  TRegistry reg;
  reg.SelectRoot(reg::kLocalMachine);
  if (reg.OpenPath(kUninstallKey, false)) reg.ListSubkeys(listing.keys);
  reg.ClosePath();
  listing.lines = listing.keys;
  try {
    for (std::size_t i = 0; i < listing.keys.size(); ++i) {
      if (reg.OpenPath(entryKey(listing.keys[i]), false)) {
        if (auto name = readPreferred(reg, kDisplayName, kQuietDisplayName)) listing.lines[i] = *name;
      }
      reg.ClosePath();
    }
  } catch (...) {
    listing.failure = std::current_exception();
  }
  return listing;
}

}  // namespace morvin::programs
