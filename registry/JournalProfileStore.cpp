#include "JournalProfileStore.h"

namespace morvin::reg {

journal::State profileState(ProfileStore& files, const std::string& path, const std::string& section,
                            const std::string& key) {
  // Two defaults no file can both give back tell a missing key from any text.
  static const std::string kMissingA("\x01\x02", 2), kMissingB("\x02\x01", 2);
  std::string text = files.readString(path, section, key, kMissingA);
  if (text == kMissingA && files.readString(path, section, key, kMissingB) == kMissingB) return {};
  return {true, type::Sz, std::move(text)};
}

JournalProfileStore::JournalProfileStore(std::shared_ptr<ProfileStore> files,
                                         std::shared_ptr<HiveStore> journal)
    : files_(std::move(files)), journal_(std::move(journal)) {}

std::string JournalProfileStore::readString(const std::string& path, const std::string& section,
                                            const std::string& key, const std::string& def) {
  return files_->readString(path, section, key, def);
}

bool JournalProfileStore::writeString(const std::string& path, const std::string& section,
                                      const std::string& key, const std::string& value) {
  return recorded(path, section, key, {true, type::Sz, value},
                  [&] { return files_->writeString(path, section, key, value); });
}

bool JournalProfileStore::removeKey(const std::string& path, const std::string& section,
                                    const std::string& key) {
  return recorded(path, section, key, {}, [&] { return files_->removeKey(path, section, key); });
}

template <class Write>
bool JournalProfileStore::recorded(const std::string& path, const std::string& section,
                                   const std::string& key, journal::State after, Write&& write) {
  journal::State before = profileState(*files_, path, section, key);
  // Nothing changes: the file store leaves the file alone too.
  if (before == after) return write();
  journal::Entry entry;
  entry.kind = journal::Kind::Profile;
  entry.path = path;
  entry.section = section;
  entry.name = key;
  entry.before = std::move(before);
  entry.after = std::move(after);
  const std::int64_t id = journal_->addPendingEntry(std::move(entry));
  if (id < 0) return false;
  const bool written = write();
  journal_->settlePendingEntry(id, written);
  return written;
}

}  // namespace morvin::reg
