#include "StoreFixture.h"

#include <cstdlib>
#include <filesystem>

#ifdef _WIN32
#include <random>

// The C library of Windows has no mkdtemp: the same, with a random tail.
static char* mkdtemp(char* pattern) {
  static std::mt19937 random{std::random_device{}()};
  const std::size_t length = std::char_traits<char>::length(pattern);
  for (int attempt = 0; attempt < 100 && length >= 6; ++attempt) {
    for (std::size_t i = length - 6; i < length; ++i)
      pattern[i] = "abcdefghijklmnopqrstuvwxyz0123456789"[random() % 36];
    std::error_code error;
    if (std::filesystem::create_directory(pattern, error)) return pattern;
  }
  return nullptr;
}
#endif

namespace morvin::test {

void StoreTest::SetUp() {
  std::string pattern = (std::filesystem::temp_directory_path() / "morvin-conformance-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  folder_ = pattern;
  store_ = makeStore(folder_, {});
  ASSERT_NE(store_, nullptr);
  reg::setCurrentStore(store_);
}

void StoreTest::TearDown() {
  if (store_)
    for (reg::Key key : handles_) store_->closeKey(key);
  handles_.clear();
  reg::setCurrentStore(nullptr);
  store_.reset();
  retired_.clear();
  std::error_code ignored;
  if (!folder_.empty()) std::filesystem::remove_all(folder_, ignored);
}

bool StoreTest::reopen(const StoreOptions& options) {
  for (reg::Key key : handles_) store_->closeKey(key);
  handles_.clear();
  reg::setCurrentStore(nullptr);
  // Kept until the test ends: objects of the test may still refer to it.
  retired_.push_back(std::move(store_));
  store_ = makeStore(folder_, options);
  const bool honoured = store_ != nullptr;
  if (!store_) store_ = makeStore(folder_, {});
  reg::setCurrentStore(store_);
  return honoured;
}

reg::Key StoreTest::create(reg::Key parent, const std::string& path) {
  reg::Key key = 0;
  EXPECT_EQ(store_->createKey(parent, path, reg::access::AllAccess, &key), reg::err::Success) << path;
  if (key) handles_.push_back(key);
  return key;
}

reg::Key StoreTest::open(reg::Key parent, const std::string& path, std::uint32_t access) {
  reg::Key key = 0;
  EXPECT_EQ(store_->openKey(parent, path, access, &key), reg::err::Success) << path;
  if (key) handles_.push_back(key);
  return key;
}

void StoreTest::set(reg::Key key, const std::string& name, std::uint32_t type, const std::string& data) {
  EXPECT_EQ(store_->setValue(key, name, type, reinterpret_cast<const std::uint8_t*>(data.data()),
                             static_cast<std::uint32_t>(data.size())),
            reg::err::Success)
      << name;
}

void StoreTest::setDword(reg::Key key, const std::string& name, std::uint32_t value) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
  set(key, name, reg::type::Dword, bytes);
}

void StoreTest::setSz(reg::Key key, const std::string& name, const std::string& text) {
  set(key, name, reg::type::Sz, text + '\0');
}

std::optional<StoredValue> StoreTest::get(reg::Key key, const std::string& name) {
  std::uint32_t size = 0;
  std::uint32_t type = 0;
  if (store_->queryValue(key, name, &type, nullptr, &size) != reg::err::Success) return std::nullopt;
  StoredValue value;
  value.data.resize(size);
  if (store_->queryValue(key, name, &value.type, reinterpret_cast<std::uint8_t*>(value.data.data()), &size) !=
      reg::err::Success)
    return std::nullopt;
  value.data.resize(size);
  return value;
}

bool StoreTest::keyExists(reg::Key parent, const std::string& path) {
  reg::Key key = 0;
  if (store_->openKey(parent, path, reg::access::Read, &key) != reg::err::Success) return false;
  store_->closeKey(key);
  return true;
}

}  // namespace morvin::test
