#include <mutex>

#include "Errors.h"
#include "RegistryStore.h"

namespace morvin::reg {
namespace {

std::mutex& instanceMutex() {
  static std::mutex m;
  return m;
}

std::shared_ptr<RegistryStore>& instance() {
  static std::shared_ptr<RegistryStore> store;
  return store;
}

}  // namespace

RegistryStore& currentStore() {
  std::lock_guard lock(instanceMutex());
  if (!instance()) throw Exception("No registry is open");
  return *instance();
}

void setCurrentStore(std::shared_ptr<RegistryStore> store) {
  std::lock_guard lock(instanceMutex());
  instance() = std::move(store);
}

std::shared_ptr<RegistryStore> currentStoreShared() {
  std::lock_guard lock(instanceMutex());
  if (!instance()) throw Exception("No registry is open");
  return instance();
}

journal::Keeper* currentJournal() {
  return currentStore().journal();
}

}  // namespace morvin::reg
