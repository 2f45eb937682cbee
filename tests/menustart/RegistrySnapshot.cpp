#include "RegistrySnapshot.h"

#include "registry/RegistryStore.h"

namespace morvin::test {

namespace {

void walk(reg::RegistryStore& store, reg::Key key, const std::string& path, Snapshot& out) {
  out["K" + path] = "";
  std::string name, data;
  std::uint32_t type = 0;
  for (std::uint32_t i = 0; store.enumValue(key, i, &name, &type, &data) == reg::err::Success; ++i)
    out["V" + path + "|" + name] = std::to_string(type) + ":" + data;
  for (std::uint32_t i = 0; store.enumKey(key, i, &name) == reg::err::Success; ++i) {
    reg::Key child = 0;
    if (store.openKey(key, name, reg::access::Read, &child) != reg::err::Success) continue;
    walk(store, child, path + "\\" + name, out);
    store.closeKey(child);
  }
}

}  // namespace

Snapshot snapshotKey(reg::Key root, const std::string& cp1250Key) {
  Snapshot out;
  reg::RegistryStore& store = reg::currentStore();
  reg::Key key = 0;
  if (store.openKey(root, cp1250Key, reg::access::Read, &key) != reg::err::Success) return out;
  walk(store, key, "", out);
  store.closeKey(key);
  return out;
}

}  // namespace morvin::test
