// The one seam below TRegistry, shaped like the advapi32 "A" calls. Names and
// data are cp1250 bytes; an empty value name is the key's default value.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "WinReg.h"

namespace morvin::reg {

namespace journal {
class Keeper;
}

struct KeyInfo {
  std::uint32_t subKeys = 0;
  std::uint32_t maxSubKeyLen = 0;  // in bytes, without the NUL
  std::uint32_t values = 0;
  std::uint32_t maxValueNameLen = 0;
  std::uint32_t maxValueLen = 0;
};

class RegistryStore {
 public:
  virtual ~RegistryStore() = default;

  // RegOpenKeyExA: an empty subKey opens a new handle to `parent` itself.
  virtual Status openKey(Key parent, const std::string& subKey, std::uint32_t access, Key* result) = 0;
  // RegCreateKeyExA (non-volatile): creates every missing key along the path.
  virtual Status createKey(Key parent, const std::string& subKey, std::uint32_t access, Key* result,
                           bool* created = nullptr) = 0;
  virtual Status closeKey(Key key) = 0;

  // RegQueryValueExA: data == nullptr asks for the size only; a buffer that is
  // too small gives MoreData with *size set to what is needed.
  virtual Status queryValue(Key key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                            std::uint32_t* size) = 0;
  virtual Status setValue(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                          std::uint32_t size) = 0;
  virtual Status deleteValue(Key key, const std::string& name) = 0;
  // RegDeleteKeyA: fails with AccessDenied when the key has subkeys.
  virtual Status deleteKey(Key key, const std::string& subKey) = 0;

  // RegEnumKeyExA / RegEnumValueA: NoMoreItems past the end.
  virtual Status enumKey(Key key, std::uint32_t index, std::string* name) = 0;
  virtual Status enumValue(Key key, std::uint32_t index, std::string* name, std::uint32_t* type = nullptr,
                           std::string* data = nullptr) = 0;
  virtual Status queryInfoKey(Key key, KeyInfo* info) = 0;

  // Runs `body` so that its writes land all together or not at all (a .reg
  // import); a failing status from `body` undoes them. Stores without
  // transactions just run it.
  virtual Status atomically(const std::function<Status()>& body) { return body(); }

  // The journal of changes this store keeps (registry/JournalKeeper.h);
  // nullptr when it keeps none.
  virtual journal::Keeper* journal() { return nullptr; }
};

// A whole value: its type and every byte, asked for its size first and read
// again should it grow in between. The store's status otherwise.
Status readWholeValue(RegistryStore& store, Key key, const std::string& name, std::uint32_t* type,
                      std::string* data);

// The store every TRegistry made without an explicit store works on.
RegistryStore& currentStore();
void setCurrentStore(std::shared_ptr<RegistryStore> store);
std::shared_ptr<RegistryStore> currentStoreShared();
// The journal of the current store; nullptr when it keeps none.
journal::Keeper* currentJournal();

}  // namespace morvin::reg
