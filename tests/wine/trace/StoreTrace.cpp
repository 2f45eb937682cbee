// store_trace SEED STEPS [FOLDER]: runs one random sequence of store calls
// and prints every call with its result. Built natively on the hive store
// (in FOLDER) and for Windows on the system registry (in a key of its own
// below HKEY_CURRENT_USER, the roots pointed at it), the two prints must be
// the same: tests/wine/run compares them. Values are listed by name, the one
// order both registries share (Wine keeps values sorted by name).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "registry/Cp1250.h"
#include "registry/RegistryStore.h"

#ifdef _WIN32
#include <windows.h>

#include "registry/Win32Store.h"
#else
#include "registry/HiveStore.h"
#endif

namespace {

using namespace morvin::reg;

#ifdef _WIN32
std::shared_ptr<RegistryStore> openStore(const char*) {
  const char* base = "Software\\MorvinTrace";
  const struct {
    HKEY root;
    const char* path;
  } roots[] = {{HKEY_LOCAL_MACHINE, "HKLM"},
               {HKEY_CURRENT_USER, "HKCU"},
               {HKEY_CLASSES_ROOT, "HKLM\\Software\\Classes"},
               {HKEY_CURRENT_CONFIG, "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current"}};
  RegDeleteTreeA(HKEY_CURRENT_USER, base);
  std::vector<HKEY> targets;
  for (const auto& r : roots) {
    HKEY target = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, (std::string(base) + "\\" + r.path).c_str(), 0, nullptr, 0,
                    KEY_ALL_ACCESS, nullptr, &target, nullptr);
    targets.push_back(target);
  }
  for (std::size_t i = 0; i < targets.size(); ++i) RegOverridePredefKey(roots[i].root, targets[i]);
  return std::make_shared<Win32Store>();
}
#else
// The keys behind the two views exist from the start, as on Windows.
std::shared_ptr<RegistryStore> openStore(const char* folder) {
  auto store =
      std::make_shared<HiveStore>(std::string(folder) + "/SYSTEM.DAT", std::string(folder) + "/USER.DAT");
  for (const char* view : {"Software\\Classes", "System\\CurrentControlSet\\Hardware Profiles\\Current"}) {
    Key key = 0;
    store->createKey(kLocalMachine, view, access::AllAccess, &key);
    store->closeKey(key);
  }
  return store;
}
#endif

std::string hex(const std::string& bytes) {
  std::string text;
  char digits[4];
  for (unsigned char c : bytes) {
    std::snprintf(digits, sizeof digits, "%02x", c);
    text += digits;
  }
  return text;
}

class Trace {
 public:
  Trace(RegistryStore& store, std::uint32_t seed) : store_(store), random_(seed) {}

  void step() {
    switch (pick(batchDepth_ ? 10 : 11)) {
      case 0:
        create();
        break;
      case 1:
        open();
        break;
      case 2:
        close();
        break;
      case 3:
        set();
        break;
      case 4:
        query();
        break;
      case 5:
        removeValue();
        break;
      case 6:
        removeKey();
        break;
      case 7:
        listKeys();
        break;
      case 8:
        listValues();
        break;
      case 10:
        batch();
        break;
      default:
        info();
        break;
    }
  }

 private:
  std::uint32_t pick(std::uint32_t n) { return random_() % n; }

  // A handle slot: the four roots first, then keys this trace opened.
  std::size_t anyHandle() { return pick(static_cast<std::uint32_t>(4 + handles_.size())); }
  Key handle(std::size_t slot) const {
    static const Key roots[] = {kCurrentUser, kLocalMachine, kClassesRoot, kCurrentConfig};
    return slot < 4 ? roots[slot] : handles_[slot - 4];
  }
  std::string keyName() {
    static const char* names[] = {
        "A", "a", "B", "Łódź", "ŁÓDŹ", "Sub\\Deep", "sub", "Zeta", "Software\\Classes"};
    return morvin::cp1250::fromUtf8(names[pick(std::size(names))]);
  }
  std::string valueName() {
    static const char* names[] = {"", "v", "V", "Ąb", "ąB", "w"};
    return morvin::cp1250::fromUtf8(names[pick(std::size(names))]);
  }
  void keep(Key key) {
    if (handles_.size() < 6) return handles_.push_back(key);
    store_.closeKey(handles_[0]);
    handles_.erase(handles_.begin());
    handles_.push_back(key);
  }

  void create() {
    const std::size_t slot = anyHandle();
    const std::string name = keyName();
    Key key = 0;
    bool created = false;
    const Status s = store_.createKey(handle(slot), name, access::AllAccess, &key, &created);
    std::printf("create %zu %s -> %ld %d\n", slot, hex(name).c_str(), s, s == 0 && created);
    if (s == 0) keep(key);
  }
  void open() {
    const std::size_t slot = anyHandle();
    const std::string name = pick(4) ? keyName() : "";
    const std::uint32_t rights = pick(2) ? access::Read : access::AllAccess;
    Key key = 0;
    const Status s = store_.openKey(handle(slot), name, rights, &key);
    std::printf("open %zu %s %x -> %ld\n", slot, hex(name).c_str(), rights, s);
    if (s == 0) keep(key);
  }
  void close() {
    if (handles_.empty()) return;
    const std::size_t index = pick(static_cast<std::uint32_t>(handles_.size()));
    std::printf("close %zu -> %ld\n", index + 4, store_.closeKey(handles_[index]));
    handles_.erase(handles_.begin() + static_cast<std::ptrdiff_t>(index));
  }
  void set() {
    const std::size_t slot = anyHandle();
    const std::string name = valueName();
    static const std::uint32_t types[] = {type::Sz, type::ExpandSz, type::MultiSz, type::Dword, type::Binary};
    const std::uint32_t kind = types[pick(std::size(types))];
    std::string data;
    for (std::uint32_t n = pick(kind == type::Dword ? 5 : 12); n > 0; --n)
      data += static_cast<char>(kind == type::Binary ? pick(256) : 'a' + pick(26));
    if (kind == type::Sz || kind == type::ExpandSz) data += '\0';
    if (kind == type::MultiSz) data += std::string(2, '\0');
    const Status s =
        store_.setValue(handle(slot), name, kind, reinterpret_cast<const std::uint8_t*>(data.data()),
                        static_cast<std::uint32_t>(data.size()));
    std::printf("set %zu %s %u %s -> %ld\n", slot, hex(name).c_str(), kind, hex(data).c_str(), s);
  }
  void query() {
    const std::size_t slot = anyHandle();
    const std::string name = valueName();
    std::uint32_t kind = 0, size = 0;
    Status s = store_.queryValue(handle(slot), name, &kind, nullptr, &size);
    std::string data(size, '\0');
    if (s == 0)
      s = store_.queryValue(handle(slot), name, &kind, reinterpret_cast<std::uint8_t*>(data.data()), &size);
    std::printf("query %zu %s -> %ld", slot, hex(name).c_str(), s);
    if (s == 0) std::printf(" %u %s", kind, hex(data.substr(0, size)).c_str());
    std::printf("\n");
  }
  void removeValue() {
    const std::size_t slot = anyHandle();
    const std::string name = valueName();
    std::printf("deletevalue %zu %s -> %ld\n", slot, hex(name).c_str(),
                store_.deleteValue(handle(slot), name));
  }
  void removeKey() {
    const std::size_t slot = anyHandle();
    const std::string name = pick(6) ? keyName() : "";
    // Neither the roots nor the key behind a view are for deleting: Windows
    // has them always. Nor keys in a batch: the Win32 store's undo makes a
    // deleted key again, but handles of the old one stay deleted.
    if ((isPredefinedRoot(handle(slot)) && name.empty()) || name == "Software\\Classes" || batchDepth_)
      return;
    std::printf("deletekey %zu %s -> %ld\n", slot, hex(name).c_str(), store_.deleteKey(handle(slot), name));
  }
  void listKeys() {
    const std::size_t slot = anyHandle();
    std::printf("keys %zu ->", slot);
    std::string name;
    Status s;
    for (std::uint32_t i = 0; (s = store_.enumKey(handle(slot), i, &name)) == 0; ++i)
      std::printf(" %s", hex(name).c_str());
    std::printf(" (%ld)\n", s);
  }
  void listValues() {
    const std::size_t slot = anyHandle();
    std::vector<std::string> values;
    std::string name, data;
    std::uint32_t kind = 0;
    Status s;
    for (std::uint32_t i = 0; (s = store_.enumValue(handle(slot), i, &name, &kind, &data)) == 0; ++i)
      values.push_back(hex(name) + ":" + std::to_string(kind) + ":" + hex(data));
    std::sort(values.begin(), values.end());
    std::printf("values %zu ->", slot);
    for (const std::string& v : values) std::printf(" %s", v.c_str());
    std::printf(" (%ld)\n", s);
  }
  // A few calls that land together or, half of the time, not at all.
  void batch() {
    const std::uint32_t calls = 1 + pick(8);
    const bool fail = pick(2);
    std::printf("batch %u %d {\n", calls, fail);
    ++batchDepth_;
    const Status s = store_.atomically([&] {
      for (std::uint32_t i = 0; i < calls; ++i) step();
      return fail ? err::CantWrite : err::Success;
    });
    --batchDepth_;
    std::printf("} -> %ld\n", s);
  }
  void info() {
    const std::size_t slot = anyHandle();
    KeyInfo i;
    const Status s = store_.queryInfoKey(handle(slot), &i);
    std::printf("info %zu -> %ld", slot, s);
    if (s == 0)
      std::printf(" %u %u %u %u %u", i.subKeys, i.maxSubKeyLen, i.values, i.maxValueNameLen, i.maxValueLen);
    std::printf("\n");
  }

  RegistryStore& store_;
  std::mt19937 random_;
  std::vector<Key> handles_;
  int batchDepth_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: store_trace SEED STEPS [FOLDER]\n");
    return 2;
  }
  auto store = openStore(argc > 3 ? argv[3] : ".");
  Trace trace(*store, static_cast<std::uint32_t>(std::stoul(argv[1])));
  for (long i = std::stol(argv[2]); i > 0; --i) trace.step();
  return 0;
}
