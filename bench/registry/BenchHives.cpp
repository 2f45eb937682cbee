#include "BenchHives.h"

#include <filesystem>
#include <stdexcept>

#include "registry/HiveStoreFile.h"
#include "registry/Journal.h"

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

void writeBigJournal(const std::string& userDat, std::int64_t entries) {
  reg::hive::HiveFile hive(userDat, false);
  const std::int64_t items = entries / 20;
  const std::string present("\x01\0\0\0", 4);
  hive.begin();
  try {
    for (std::int64_t i = 0; i < entries; ++i) {
      const std::int64_t item = i % items, pass = i / items;
      reg::journal::Entry e;
      e.at = 1700000000000000 + i;
      e.group = 1 + pass;
      e.source = "morvin-reg import";
      e.root = "HKEY_CURRENT_USER";
      e.path = "Software\\Bench\\Key" + std::to_string(item / 25);
      e.name = "Value" + std::to_string(item % 25);
      const bool wasThere = pass % 2 == 1;
      e.before = wasThere ? reg::journal::State{true, 4, present} : reg::journal::State{};
      e.after = wasThere ? reg::journal::State{} : reg::journal::State{true, 4, present};
      hive.addEntry(e);
    }
    hive.commit();
  } catch (...) {
    hive.rollback();
    throw;
  }
}

std::string bigJournal(std::int64_t entries) {
  const std::string folder = scratchFolder("journal-" + std::to_string(entries));
  openBenchHive(folder).reset();  // the hive files made
  writeBigJournal(folder + "/USER.DAT", entries);
  return folder;
}

}  // namespace morvin::bench
