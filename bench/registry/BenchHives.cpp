#include "BenchHives.h"

#include <filesystem>
#include <stdexcept>

namespace morvin::bench {

namespace fs = std::filesystem;

std::string keyPath(std::int64_t index) {
  const std::int64_t key = index / kValuesPerKey;
  return "Software\\Bench\\G" + std::to_string(key / kKeysPerGroup) + "\\K" + std::to_string(key);
}

std::string valueName(std::int64_t index) {
  return "Flag" + std::to_string(index % kValuesPerKey);
}

std::unique_ptr<reg::HiveStore> openBenchHive(const std::string& folder) {
  return std::make_unique<reg::HiveStore>(folder + "/SYSTEM.DAT", folder + "/USER.DAT");
}

std::string scratchFolder(const std::string& name) {
  const fs::path folder = fs::path(MORVIN_BENCH_CACHE) / "scratch" / name;
  fs::remove_all(folder);
  fs::create_directories(folder);
  return folder.string();
}

std::string benchHive(std::int64_t values) {
  const fs::path folder = fs::path(MORVIN_BENCH_CACHE) / ("hive-" + std::to_string(values));
  if (fs::exists(folder / "USER.DAT")) return folder.string();
  // Built beside and renamed, so an interrupted build is never taken for a hive.
  const fs::path building = folder.string() + ".building";
  fs::remove_all(building);
  fs::create_directories(building);
  {
    auto store = openBenchHive(building.string());
    const reg::Status status = store->atomically([&] {
      reg::Key key = 0;
      for (std::int64_t i = 0; i < values; ++i) {
        if (i % kValuesPerKey == 0) {
          store->closeKey(key);
          if (const auto s = store->createKey(reg::kCurrentUser, keyPath(i), reg::access::AllAccess, &key);
              s != 0)
            return s;
        }
        const std::uint8_t data[4] = {static_cast<std::uint8_t>(i & 1), 0, 0, 0};
        if (const auto s = store->setValue(key, valueName(i), reg::type::Dword, data, 4); s != 0) return s;
      }
      store->closeKey(key);
      return reg::err::Success;
    });
    if (status != reg::err::Success) throw std::runtime_error("cannot build the benchmark hive");
  }
  fs::rename(building, folder);
  return folder.string();
}

}  // namespace morvin::bench
