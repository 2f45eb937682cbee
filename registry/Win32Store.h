// The registry store of a Windows build: the system registry itself, reached
// through the advapi32 "A" functions. Only compiled for Windows.
#pragma once

#ifdef _WIN32

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "RegistryStore.h"

namespace morvin::reg {

class Win32Store : public RegistryStore {
 public:
  Win32Store() = default;
  ~Win32Store() override;
  Win32Store(const Win32Store&) = delete;
  Win32Store& operator=(const Win32Store&) = delete;

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

  // The system registry has no transactions that reach every root, so a
  // batch keeps an undo journal: before each write the store notes how to
  // put back what the write replaces, and a failing batch replays the notes
  // newest first. Another process writing the same values meanwhile is not
  // guarded against.
  Status atomically(const std::function<Status()>& body) override;

 private:
  // Where a handle this store gave out leads: its root and path from there.
  struct Place {
    Key root = 0;
    std::string path;
  };
  using Undo = std::function<void()>;

  bool journaling() const { return !journal_.empty(); }
  void note(Undo undo);
  bool placeOf(Key key, Place* place) const;
  Place placeBelow(Key parent, const std::string& subKey) const;
  void remember(Key key, Place place);
  void noteValueRestore(Key key, const std::string& name, bool spellAsStored = false);

  mutable std::mutex mutex_;  // guards places_
  std::map<Key, Place> places_;
  // One frame of undo notes per running batch, the innermost last.
  std::vector<std::vector<Undo>> journal_;
};

}  // namespace morvin::reg

#endif
