// A private folder for one hive-store test and small helpers around it.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>

#include "registry/HiveStore.h"
#include "registry/HostProfileStore.h"
#include "registry/JournalProfileStore.h"

namespace morvin::test {

class HiveTest : public ::testing::Test {
 public:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "morvin-hive-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string systemDat() const { return folder_ + "/SYSTEM.DAT"; }
  std::string userDat() const { return folder_ + "/USER.DAT"; }
  std::unique_ptr<reg::HiveStore> openStore(bool readOnlyMachine = false, bool readOnlyUser = false) {
    return std::make_unique<reg::HiveStore>(systemDat(), userDat(), readOnlyMachine, readOnlyUser);
  }
  // Profile files of this folder (C:\X is <folder>/X) whose changes go into
  // `store`'s journal.
  std::shared_ptr<reg::ProfileStore> journaledProfiles(std::shared_ptr<reg::HiveStore> store) const {
    auto files = std::make_shared<reg::HostProfileStore>(
        [folder = folder_](const std::string& path) -> std::optional<std::string> {
          return folder + "/" + path.substr(3);
        });
    return std::make_shared<reg::JournalProfileStore>(files, std::move(store));
  }

  static std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
  }

  static std::string dword(std::uint32_t v) {
    return {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF),
            static_cast<char>((v >> 16) & 0xFF), static_cast<char>(v >> 24)};
  }
  static reg::Status setDword(reg::RegistryStore& store, reg::Key key, const std::string& name,
                              std::uint32_t v) {
    const std::string bytes = dword(v);
    return store.setValue(key, name, reg::type::Dword, reinterpret_cast<const std::uint8_t*>(bytes.data()),
                          4);
  }
  // The DWORD stored under `name`, or -1 when it is missing.
  static std::int64_t readDword(reg::RegistryStore& store, reg::Key key, const std::string& name) {
    std::uint8_t bytes[4];
    std::uint32_t size = 4, type = 0;
    if (store.queryValue(key, name, &type, bytes, &size) != reg::err::Success || size != 4) return -1;
    return bytes[0] | (bytes[1] << 8) | (bytes[2] << 16) | (std::int64_t{bytes[3]} << 24);
  }

 protected:
  std::string folder_;
};

}  // namespace morvin::test
