// The registry kept in two hive files, each an SQLite database:
// HKEY_LOCAL_MACHINE in SYSTEM.DAT and HKEY_CURRENT_USER in USER.DAT.
// HKEY_CLASSES_ROOT shows HKLM\Software\Classes and HKEY_CURRENT_CONFIG shows
// HKLM\System\CurrentControlSet\Hardware Profiles\Current. Every write is on
// disk before the call returns; several processes may share the hives.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Journal.h"
#include "RegistryStore.h"

namespace morvin::reg {

class HiveStore : public RegistryStore {
 public:
  // Opens both hives, creating a missing (or empty) file as an empty hive.
  // A read-only hive refuses every write and every open asking for write
  // access with AccessDenied. A hive file that cannot be written on disk is
  // opened read-only. Throws morvin::Exception naming the file when a file is
  // not a hive, is damaged or cannot be opened; such a file is left untouched.
  HiveStore(const std::string& systemDatPath, const std::string& userDatPath,
            bool readOnlyLocalMachine = false, bool readOnlyCurrentUser = false);
  ~HiveStore() override;
  HiveStore(const HiveStore&) = delete;
  HiveStore& operator=(const HiveStore&) = delete;

  Status openKey(Key parent, const std::string& subKey, std::uint32_t access, Key* result) override;
  Status createKey(Key parent, const std::string& subKey, std::uint32_t access, Key* result,
                   bool* created = nullptr) override;
  Status closeKey(Key key) override;
  Status queryValue(Key key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
  Status setValue(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                  std::uint32_t size) override;
  Status deleteValue(Key key, const std::string& name) override;
  Status deleteKey(Key key, const std::string& subKey) override;
  Status enumKey(Key key, std::uint32_t index, std::string* name) override;
  Status enumValue(Key key, std::uint32_t index, std::string* name, std::uint32_t* type = nullptr,
                   std::string* data = nullptr) override;
  Status queryInfoKey(Key key, KeyInfo* info) override;

  // One transaction per hive, both begun before `body` runs and committed
  // after it succeeds (HKLM first). A failing status or an exception from
  // `body` rolls both back. Only a failure of the HKCU commit itself, after
  // the HKLM commit went through, can leave a batch half applied.
  Status atomically(const std::function<Status()>& body) override;

  // The journal of changes (registry/Journal.h): every entry of both hives,
  // oldest first. Keys and values record themselves as they change.
  std::vector<journal::Entry> journalEntries();
  // For a writer outside the hives (a profile file): records `entry` as
  // pending, on disk, before the write. 0 while the journal is suspended, -1
  // when no hive can keep it (the write must not go ahead).
  std::int64_t addPendingEntry(journal::Entry entry);
  // After that write: done keeps the entry, not done removes it.
  void settlePendingEntry(std::int64_t id, bool done);

  bool readOnlyLocalMachine() const;
  bool readOnlyCurrentUser() const;
  const std::string& systemDatPath() const;
  const std::string& userDatPath() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace morvin::reg
