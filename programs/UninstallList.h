// The system's uninstall list as the installed-programs window sees it: one
// subkey per entry below the uninstall key of HKEY_LOCAL_MACHINE, named by
// its DisplayName, else its QuietDisplayName, else the subkey name.
#pragma once

#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "registry/TRegistry.h"

namespace morvin::programs {

inline constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline constexpr const char* kDisplayName = "DisplayName";
inline constexpr const char* kQuietDisplayName = "QuietDisplayName";
inline constexpr const char* kUninstallString = "UninstallString";
inline constexpr const char* kQuietUninstallString = "QuietUninstallString";

// "Software\...\Uninstall\" + subkey.
std::string entryKey(const std::string& subkey);

// The value of the open key that is used for a role: `name` when present,
// else `quietName` when present, else none. Throws "Invalid data type" for a
// used value that is not text.
std::optional<std::string> preferredValueName(TRegistry& reg, const char* name, const char* quietName);
std::optional<std::string> readPreferred(TRegistry& reg, const char* name, const char* quietName);

struct Listing {
  std::vector<std::string> keys;   // subkey names, in enumeration order
  std::vector<std::string> lines;  // what each line shows (cp1250)
  // A name value that is not text ends the load at its entry: the later lines
  // keep their subkey names and the failure is kept here for the caller.
  std::exception_ptr failure;
};

// Reads the whole list with one cursor on HKEY_LOCAL_MACHINE; opens without creation.
Listing loadListing();

}  // namespace morvin::programs
