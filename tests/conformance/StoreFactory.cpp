// The conformance suite runs against the hive store here; a build for another
// store kind replaces this one file.
#include "StoreFixture.h"
#include "registry/HiveStore.h"

namespace morvin::test {

std::shared_ptr<reg::RegistryStore> makeStore(const std::string& folder, const StoreOptions& options) {
  return std::make_shared<reg::HiveStore>(folder + "/SYSTEM.DAT", folder + "/USER.DAT",
                                          options.readOnlyLocalMachine, options.readOnlyCurrentUser);
}

StoreTraits storeTraits() {
  return {};
}

}  // namespace morvin::test
