// A profile store whose changes go into the journal: each real change is
// recorded as pending on disk before the file is written and settled after,
// so a write cut short by a kill leaves an entry that says what may have
// happened (listings settle it against the file).
#pragma once

#include <memory>

#include "HiveStore.h"
#include "ProfileStore.h"

namespace morvin::reg {

class JournalProfileStore : public ProfileStore {
 public:
  JournalProfileStore(std::shared_ptr<ProfileStore> files, std::shared_ptr<HiveStore> journal);

  std::string readString(const std::string& path, const std::string& section, const std::string& key,
                         const std::string& def) override;
  // A write that cannot be journaled is refused (false), so a change never
  // goes unrecorded.
  bool writeString(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override;
  bool removeKey(const std::string& path, const std::string& section, const std::string& key) override;

 private:
  template <class Write>
  bool recorded(const std::string& path, const std::string& section, const std::string& key,
                journal::State after, Write&& write);

  std::shared_ptr<ProfileStore> files_;
  std::shared_ptr<HiveStore> journal_;
};

// The key's state in a profile file: absent, or present with its text (type REG_SZ, no NUL).
journal::State profileState(ProfileStore& files, const std::string& path, const std::string& section,
                            const std::string& key);

}  // namespace morvin::reg
