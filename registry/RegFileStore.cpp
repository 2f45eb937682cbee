// .reg files against a registry store: import as one transaction, export of a key tree.
#include <vector>

#include "Cp1250.h"
#include "RegFile.h"

namespace morvin::reg {

namespace {

std::string fullName(Key root, const std::string& path) {
  return path.empty() ? rootName(root) : rootName(root) + "\\" + path;
}

// Opens a key for writing; the root itself when the path is empty.
Status openForWrite(RegistryStore& store, Key root, const std::string& path, bool create, Key* key) {
  if (path.empty() || !create) return store.openKey(root, path, access::AllAccess, key);
  return store.createKey(root, path, access::AllAccess, key);
}

// Deletes `subKey` of `parent` with everything below it.
Status deleteTree(RegistryStore& store, Key parent, const std::string& subKey) {
  Key key = 0;
  Status status = store.openKey(parent, subKey, access::AllAccess, &key);
  if (status != err::Success) return status;
  std::vector<std::string> children;
  std::string name;
  for (std::uint32_t i = 0; store.enumKey(key, i, &name) == err::Success; ++i) children.push_back(name);
  for (const std::string& child : children) {
    status = deleteTree(store, key, child);
    if (status != err::Success) break;
  }
  store.closeKey(key);
  if (status != err::Success) return status;
  return store.deleteKey(parent, subKey);
}

// One key of a document; `failure` tells what went wrong.
Status applyKey(RegistryStore& store, const RegKeyEntry& entry, std::string& failure) {
  std::string where = fullName(entry.root, entry.path);
  if (entry.remove) {
    Status status = deleteTree(store, entry.root, entry.path);
    if (status == err::FileNotFound) return err::Success;  // already gone
    if (status != err::Success) failure = "Cannot delete " + where + ": " + describeStatus(status);
    return status;
  }
  Key key = 0;
  Status status = openForWrite(store, entry.root, entry.path, true, &key);
  if (status != err::Success) {
    failure = "Cannot create " + where + ": " + describeStatus(status);
    return status;
  }
  for (const RegValueEntry& value : entry.values) {
    std::string label = value.name.empty() ? "@" : "\"" + value.name + "\"";
    if (value.remove) {
      status = store.deleteValue(key, value.name);
      if (status == err::FileNotFound) status = err::Success;
      if (status != err::Success)
        failure = "Cannot delete " + label + " in " + where + ": " + describeStatus(status);
    } else {
      status = store.setValue(key, value.name, value.type,
                              reinterpret_cast<const std::uint8_t*>(value.data.data()),
                              static_cast<std::uint32_t>(value.data.size()));
      if (status != err::Success)
        failure = "Cannot set " + label + " in " + where + ": " + describeStatus(status);
    }
    if (status != err::Success) break;
  }
  store.closeKey(key);
  return status;
}

void readTree(RegistryStore& store, Key root, const std::string& path, Key key, RegDocument& document) {
  RegKeyEntry entry;
  entry.root = root;
  entry.path = path;
  std::string name, data;
  std::uint32_t type = 0;
  for (std::uint32_t i = 0; store.enumValue(key, i, &name, &type, &data) == err::Success; ++i)
    entry.values.push_back(RegValueEntry{name, false, type, data});
  document.keys.push_back(std::move(entry));

  std::vector<std::string> children;
  for (std::uint32_t i = 0; store.enumKey(key, i, &name) == err::Success; ++i) children.push_back(name);
  for (const std::string& child : children) {
    Key sub = 0;
    if (store.openKey(key, child, access::Read, &sub) != err::Success) continue;  // deleted meanwhile
    readTree(store, root, path.empty() ? child : path + "\\" + child, sub, document);
    store.closeKey(sub);
  }
}

}  // namespace

void applyRegDocument(RegistryStore& store, const RegDocument& document) {
  std::string failure;
  // One batch: the store's atomically() makes it one group of the journal,
  // taken back as a whole.
  Status status = store.atomically([&]() -> Status {
    for (const RegKeyEntry& entry : document.keys) {
      Status s = applyKey(store, entry, failure);
      if (s != err::Success) return s;
    }
    return err::Success;
  });
  if (status != err::Success) {
    if (failure.empty()) failure = "The import was not saved: " + describeStatus(status);
    throw Exception(failure + "; nothing was imported");
  }
}

void importRegText(RegistryStore& store, std::string_view bytes) {
  applyRegDocument(store, parseRegText(bytes));
}

Status readRegTree(RegistryStore& store, Key root, const std::string& path, RegDocument* document) {
  Key key = 0;
  Status status = store.openKey(root, path, access::Read, &key);
  if (status != err::Success) return status;
  readTree(store, root, path, key, *document);
  store.closeKey(key);
  return err::Success;
}

std::string exportRegText(RegistryStore& store, Key root, const std::string& path) {
  RegDocument document;
  Status status = readRegTree(store, root, path, &document);
  if (status != err::Success)
    throw Exception("Cannot read " + fullName(root, path) + ": " + describeStatus(status));
  return writeRegText(document);
}

}  // namespace morvin::reg
