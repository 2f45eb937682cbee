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
#include "JournalKeeper.h"
#include "RegistryStore.h"

namespace morvin::reg {

class HiveStore : public RegistryStore, public journal::Keeper {
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
  // the HKLM commit went through, can leave a batch half applied. The changes
  // are one group of the journal, their source fixed before the lock is taken.
  Status atomically(const std::function<Status()>& body) override;

  // The journal (registry/JournalKeeper.h): both hives keep their own
  // entries; keys and values record themselves as they change.
  journal::Keeper* journal() override { return this; }
  journal::Listing newest(std::size_t limit, const journal::Page& from, const std::string& source) override;
  std::vector<std::string> sources() override;
  std::vector<journal::Entry> withGroups(const std::vector<std::int64_t>& ids) override;
  std::vector<std::optional<journal::State>> latestStates(
      const std::vector<journal::Entry>& entries) override;
  std::vector<journal::ChangedItem> changedItems() override;
  std::int64_t addPendingEntry(journal::Entry entry) override;
  void settlePendingEntry(std::int64_t id, bool done) override;
  std::int64_t forget(const journal::ForgetPoint& point) override;

  bool readOnlyLocalMachine() const;
  bool readOnlyCurrentUser() const;
  const std::string& systemDatPath() const;
  const std::string& userDatPath() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace morvin::reg
