#include "HostProfileStore.h"

#include "HostProfileStoreFile.h"
#include "HostProfileStoreText.h"

namespace morvin::reg {

HostProfileStore::HostProfileStore(PathMapper toHostPath) : toHostPath_(std::move(toHostPath)) {}

std::string HostProfileStore::readString(const std::string& path, const std::string& section,
                                         const std::string& key, const std::string& def) {
  auto host = toHostPath_(path);
  if (!host) return def;
  auto file = hostfile::readAll(*host);
  if (!file) return def;
  return profile::findValue(*file, section, key).value_or(def);
}

bool HostProfileStore::writeString(const std::string& path, const std::string& section,
                                   const std::string& key, const std::string& value) {
  if (!profile::writable(section, key, value)) return false;
  return rewrite(path,
                 [&](const std::string& file) { return profile::withValue(file, section, key, value); });
}

bool HostProfileStore::removeKey(const std::string& path, const std::string& section,
                                 const std::string& key) {
  if (!profile::writable(section, key, "")) return false;
  return rewrite(path, [&](const std::string& file) { return profile::withoutValue(file, section, key); });
}

bool HostProfileStore::rewrite(const std::string& path,
                               const std::function<std::string(const std::string&)>& change) {
  auto host = toHostPath_(path);
  if (!host) return false;
  hostfile::FolderLock lock(*host);
  hostfile::removeLeftovers(*host);
  if (hostfile::isReadOnly(*host)) return false;
  std::string file;
  bool existed = false;
  if (auto existing = hostfile::readAll(*host)) {
    file = std::move(*existing);
    existed = true;
  } else if (hostfile::exists(*host)) {
    return false;  // there but unreadable: never replace what cannot be kept
  }
  std::string updated = change(file);
  // Rewriting a file to the same bytes would only cost a sync and a rename.
  if (updated == file && (existed || updated.empty())) return true;
  return hostfile::writeAtomically(*host, std::move(updated));
}

}  // namespace morvin::reg
