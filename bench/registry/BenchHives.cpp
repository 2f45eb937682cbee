#include "BenchHives.h"

#include <sqlite3.h>

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

void writeBigJournal(const std::string& userDat, std::int64_t entries) {
  sqlite3* db = nullptr;
  const std::string items = std::to_string(entries / 20);
  const std::string sql =
      "BEGIN; WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < " +
      std::to_string(entries - 1) +
      ") INSERT INTO journal(at, grp, source, kind, root, path, section, name, before_present, "
      "before_type, before_data, after_present, after_type, after_data, undoes, pending, item) "
      "SELECT 1700000000000000 + i, 1 + i / " +
      items +
      ", CAST('morvin-reg import' AS BLOB), 0, 'HKEY_CURRENT_USER', "
      "'Software\\Bench\\Key' || ((i % " +
      items +
      ") / 25), '', 'Value' || (i % 25), "
      "(i / " +
      items + ") % 2, 4 * ((i / " + items + ") % 2), substr(x'01000000', 1, 4 * ((i / " + items +
      ") % 2)), 1 - (i / " + items + ") % 2, 4 - 4 * ((i / " + items +
      ") % 2), substr(x'01000000', 1, 4 - 4 * ((i / " + items + ") % 2)), 0, 0, 1 + i % " + items +
      " FROM n; INSERT INTO journal_items SELECT item, min(id), 7, max(id), 7, 0 FROM journal GROUP BY item; "
      "INSERT OR IGNORE INTO journal_sources VALUES(CAST('morvin-reg import' AS BLOB)); COMMIT;";
  // Opened without creating: a missing hive is an error, not a new database.
  char* error = nullptr;
  const bool written = sqlite3_open_v2(userDat.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                       sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) == SQLITE_OK;
  const std::string why = error ? error : db ? sqlite3_errmsg(db) : "out of memory";
  sqlite3_free(error);
  sqlite3_close(db);
  if (!written) throw std::runtime_error("cannot write the big journal into " + userDat + ": " + why);
}

std::string bigJournal(std::int64_t entries) {
  const std::string folder = scratchFolder("journal-" + std::to_string(entries));
  openBenchHive(folder).reset();  // the hive files made
  writeBigJournal(folder + "/USER.DAT", entries);
  return folder;
}

}  // namespace morvin::bench
