// Hives of a given size for the benchmarks: `values` REG_DWORD values, 100 to
// a key, under HKCU\Software\Bench\G<group>\K<key>.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "registry/HiveStore.h"

namespace morvin::bench {

inline constexpr int kValuesPerKey = 100;
inline constexpr int kKeysPerGroup = 100;

// The folder holding SYSTEM.DAT and USER.DAT of a hive of that size, built on
// first use.
std::string benchHive(std::int64_t values);
std::unique_ptr<reg::HiveStore> openBenchHive(const std::string& folder);
// The path and value name of the i-th value.
std::string keyPath(std::int64_t index);
std::string valueName(std::int64_t index);
// A fresh, empty folder below the cache (emptied first).
std::string scratchFolder(const std::string& name);

}  // namespace morvin::bench
