// The profile store every TIniFile made without an explicit store works on.
#include <mutex>

#include "Errors.h"
#include "ProfileStore.h"

namespace morvin::reg {

namespace {

std::mutex& guard() {
  static std::mutex m;
  return m;
}

std::shared_ptr<ProfileStore>& slot() {
  static std::shared_ptr<ProfileStore> store;
  return store;
}

}  // namespace

ProfileStore& currentProfileStore() {
  std::lock_guard lock(guard());
  if (!slot()) throw Exception("No profile store is open (no machine has been opened)");
  return *slot();
}

void setCurrentProfileStore(std::shared_ptr<ProfileStore> store) {
  std::lock_guard lock(guard());
  slot() = std::move(store);
}

}  // namespace morvin::reg
