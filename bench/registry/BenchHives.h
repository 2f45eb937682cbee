// Hives of a given size for the benchmarks: `values` REG_DWORD values, 100 to
// a key, under HKCU\Software\Bench\G<group>\K<key>; and big journals, built
// here only, so a change of the journal's tables changes one function.
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

// Adds `entries` journal entries to the empty journal of the USER.DAT at
// `userDat` (a hive the store made), through the hive file's own writer:
// imports and their undos in turn, twenty entries per item, so the registry
// is back at its start (each item's two ends alike, as the store would
// leave them). Throws when the hive does not take them.
void writeBigJournal(const std::string& userDat, std::int64_t entries);
// A fresh hive folder whose USER.DAT holds such a journal.
std::string bigJournal(std::int64_t entries);

}  // namespace morvin::bench
