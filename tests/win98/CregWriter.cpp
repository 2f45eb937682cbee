#include "CregWriter.h"

#include <cctype>

namespace morvin::test {
namespace {

constexpr std::uint32_t kNone = 0xFFFFFFFF;
constexpr std::uint32_t kHeaderSize = 32;
constexpr std::uint32_t kNavigationEntrySize = 28;

void put16(std::string& out, std::uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8 & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, v & 0xFFFF);
  put16(out, v >> 16);
}
// The key name hash: the upper-cased ASCII bytes of the name added up.
std::uint32_t nameHash(const std::string& name) {
  std::uint32_t hash = 0;
  for (unsigned char c : name)
    if (c < 0x80) hash += static_cast<unsigned char>(std::toupper(c));
  return hash;
}

struct Flat {
  const CregKey* key;
  std::uint32_t parent = kNone, firstChild = kNone, next = kNone;
};

void flatten(const CregKey& key, std::uint32_t parent, std::vector<Flat>& out) {
  const auto self = static_cast<std::uint32_t>(out.size());
  out.push_back({&key, parent});
  std::uint32_t previous = kNone;
  for (const CregKey& child : key.keys) {
    const auto index = static_cast<std::uint32_t>(out.size());
    if (previous == kNone)
      out[self].firstChild = index;
    else
      out[previous].next = index;
    previous = index;
    flatten(child, self, out);
  }
}

std::string keyNameEntry(const CregKey& key, std::uint32_t index, const CregStyle& style) {
  std::string values;
  for (const CregValue& v : key.values) {
    std::string data = v.data;
    if (!style.textTerminators && (v.type == 1 || v.type == 2) && data.ends_with('\0')) data.pop_back();
    put32(values, v.type);
    put32(values, 0);
    put16(values, static_cast<std::uint32_t>(v.name.size()));
    put16(values, static_cast<std::uint32_t>(data.size()));
    values += v.name + data;
  }
  const auto size = static_cast<std::uint32_t>(20 + key.name.size() + values.size());
  std::string entry;
  put32(entry, size);
  put16(entry, index);
  put16(entry, 0);  // data block number
  put32(entry, size);
  put16(entry, static_cast<std::uint32_t>(key.name.size()));
  put16(entry, static_cast<std::uint32_t>(key.values.size()));
  put32(entry, 0);
  return entry + key.name + values;
}

}  // namespace

CregKey& CregKey::key(const std::string& name) {
  for (CregKey& k : keys)
    if (k.name == name) return k;
  keys.push_back(CregKey{name, {}, {}});
  return keys.back();
}

CregKey& CregKey::path(const std::string& path) {
  CregKey* key = this;
  size_t start = 0;
  while (start < path.size()) {
    size_t end = std::min(path.find('\\', start), path.size());
    key = &key->key(path.substr(start, end - start));
    start = end + 1;
  }
  return *key;
}

std::string writeCreg(const CregKey& root, CregStyle style) {
  std::vector<Flat> keys;
  flatten(root, kNone, keys);
  auto offset = [](std::uint32_t index) {
    return index == kNone ? kNone : kHeaderSize + index * kNavigationEntrySize;
  };

  std::string navigation = "RGKN";
  // Windows keeps the record in whole 4 KB pages; libcreg reads entries only
  // up to the size less the header, so the page is never filled to its end.
  const auto usedSize = static_cast<std::uint32_t>(keys.size() * kNavigationEntrySize);
  const std::uint32_t page = style.wholePages ? 4096 : 4;
  const std::uint32_t navigationSize = (kHeaderSize + usedSize + kHeaderSize + page - 1) / page * page;
  put32(navigation, navigationSize);
  put32(navigation, kHeaderSize);
  put32(navigation, usedSize);
  navigation.append(16, '\0');
  std::string data;
  for (std::uint32_t i = 0; i < keys.size(); ++i) {
    put32(navigation, 0);
    put32(navigation, nameHash(keys[i].key->name));
    put32(navigation, kNone);
    put32(navigation, offset(keys[i].parent));
    put32(navigation, offset(keys[i].firstChild));
    put32(navigation, offset(keys[i].next));
    // The root has no name entry; every other key's entry is the next one
    // of data block 0.
    put16(navigation, i == 0 ? 0xFFFF : i - 1);
    put16(navigation, i == 0 ? 0xFFFF : 0);
    if (i > 0) data += keyNameEntry(*keys[i].key, i - 1, style);
  }
  navigation.resize(navigationSize, '\0');

  std::string block = "RGDB";
  const auto blockSize = static_cast<std::uint32_t>(kHeaderSize + data.size());
  put32(block, blockSize);
  put32(block, 0);  // unused
  put16(block, 0);
  put16(block, 0);  // block index
  put32(block, static_cast<std::uint32_t>(data.size()));
  block.append(12, '\0');
  block += data;

  std::string file = "CREG";
  put16(file, 0);  // minor version
  put16(file, 1);  // major version
  put32(file, kHeaderSize + navigationSize);
  put32(file, 0);
  put16(file, 1);  // one data block
  file.append(kHeaderSize - file.size(), '\0');
  return file + navigation + block;
}

}  // namespace morvin::test
