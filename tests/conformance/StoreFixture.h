// A fresh, empty registry store for each test, so the same cases run against
// every store kind. The store is also installed as the current store, so code
// using a default-made TRegistry works on it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/RegistryStore.h"

namespace morvin::test {

struct StoreOptions {
  bool readOnlyLocalMachine = false;
  bool readOnlyCurrentUser = false;
};

// Opens the store kind under test on the data kept in `folder` (empty at
// first). Defined once per store kind (StoreFactory.cpp: the hive store).
// Returns nullptr when that kind cannot honour `options`.
std::shared_ptr<reg::RegistryStore> makeStore(const std::string& folder, const StoreOptions& options);

// Rules of the Windows registry that a store kind cannot show: Wine's
// registry, which the Win32 store meets in the test run, keeps values sorted
// by name, takes key names longer than 255 characters and empty path
// components, and creates and deletes keys whatever their access rights say.
// Cases that check those rules follow these flags.
struct StoreTraits {
  bool valuesInCreationOrder = true;
  bool strictKeyNames = true;
  bool rightsGuardCreationAndDeletion = true;
};
StoreTraits storeTraits();  // defined beside makeStore

struct StoredValue {
  std::uint32_t type = 0;
  std::string data;  // the raw bytes
  bool operator==(const StoredValue&) const = default;
};

class StoreTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  reg::RegistryStore& store() { return *store_; }
  std::shared_ptr<reg::RegistryStore> storeShared() { return store_; }
  // A private scratch folder of this test (the store's data lives in it too).
  const std::string& folder() const { return folder_; }

  // Opens the same data again in a new store, as the next run of the program
  // would; the old store lives on, unused, until the test ends. False when the store kind cannot honour
  // `options`: the caller then skips (GTEST_SKIP).
  bool reopen(const StoreOptions& options = {});

  // Helpers that fail the test on a refusal. Handles from open() and create()
  // are closed in TearDown.
  reg::Key create(reg::Key parent, const std::string& path);
  reg::Key open(reg::Key parent, const std::string& path, std::uint32_t access = reg::access::AllAccess);
  void set(reg::Key key, const std::string& name, std::uint32_t type, const std::string& data);
  void setDword(reg::Key key, const std::string& name, std::uint32_t value);
  void setSz(reg::Key key, const std::string& name, const std::string& text);  // text + NUL
  // The stored value, or nothing when queryValue fails.
  std::optional<StoredValue> get(reg::Key key, const std::string& name);
  bool keyExists(reg::Key parent, const std::string& path);

 private:
  std::string folder_;
  std::shared_ptr<reg::RegistryStore> store_;
  std::vector<std::shared_ptr<reg::RegistryStore>> retired_;
  std::vector<reg::Key> handles_;
};

}  // namespace morvin::test
