#include "HiveStore.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <unordered_map>
#include <vector>

#include "Errors.h"
#include "HiveStoreFile.h"
#include "HiveStoreNames.h"
#include "Journal.h"

namespace morvin::reg {
namespace {

using hive::HiveFile;

constexpr std::uint32_t kQueryValue = 0x0001;
constexpr std::uint32_t kSetValue = 0x0002;
constexpr std::uint32_t kCreateSubKey = 0x0004;
constexpr std::uint32_t kEnumerateSubKeys = 0x0008;
constexpr std::uint32_t kCreateLink = 0x0020;
constexpr std::uint32_t kWow64Flags = 0x0300;
constexpr std::uint32_t kDelete = 0x00010000;
constexpr std::uint32_t kWriteDac = 0x00040000;
constexpr std::uint32_t kWriteOwner = 0x00080000;
constexpr std::uint32_t kKeyWrite = 0x00020006;
constexpr std::uint32_t kMaximumAllowed = 0x02000000;
constexpr std::uint32_t kGenericAll = 0x10000000;
constexpr std::uint32_t kGenericExecute = 0x20000000;
constexpr std::uint32_t kGenericWrite = 0x40000000;
constexpr std::uint32_t kGenericRead = 0x80000000;
constexpr std::uint32_t kWriteRights =
    kSetValue | kCreateSubKey | kCreateLink | kDelete | kWriteDac | kWriteOwner;

constexpr std::string_view kClassesPath = "Software\\Classes";
constexpr std::string_view kCurrentConfigPath = "System\\CurrentControlSet\\Hardware Profiles\\Current";

// The key rights a handle gets for `desired`, generic rights mapped as the
// system maps them for keys.
std::uint32_t grantedRights(std::uint32_t desired, bool readOnly) {
  std::uint32_t rights = desired & 0x00FFFFFF & ~kWow64Flags;
  if (desired & (kGenericRead | kGenericExecute)) rights |= access::Read;
  if (desired & kGenericWrite) rights |= kKeyWrite;
  if (desired & kGenericAll) rights |= access::AllAccess;
  if (desired & kMaximumAllowed) rights |= readOnly ? access::Read : access::AllAccess;
  return rights;
}

struct Handle {
  HiveFile* hive = nullptr;
  std::int64_t id = 0;
  std::uint32_t rights = 0;
  bool otherUsers = false;  // below HKEY_USERS, beside .DEFAULT
};

// SQLite failures become the registry's error codes; nothing is thrown out of
// a store call.
template <class Body>
Status guarded(bool write, Body&& body) {
  try {
    return body();
  } catch (const sqlite::Error& e) {
    if (e.corrupt()) return err::BadDb;
    if (e.code() == SQLITE_NOMEM) return err::NotEnoughMemory;
    return write ? err::CantWrite : err::CantRead;
  } catch (const std::bad_alloc&) {
    return err::NotEnoughMemory;
  }
}

// One write, committed before it returns; inside a batch it joins the batch.
template <class Body>
Status inWriteTransaction(HiveFile& hive, Body&& body) {
  if (hive.inTransaction()) return body();
  hive.begin();
  try {
    const Status status = body();
    if (status == err::Success)
      hive.commit();
    else
      hive.rollback();
    return status;
  } catch (...) {
    hive.rollback();
    throw;
  }
}

// A key's journal state: there (keys have no type or data).
const journal::State kKeyThere{true, 0, {}};

// HKEY_USERS holds .DEFAULT: without user profiles it is the same key as
// HKEY_CURRENT_USER, so a path through it is taken there. What a drive's
// USER.DAT holds beside .DEFAULT lives in the user hive under a second root
// row (parent 0) of this name, written only while the journal is suspended
// (the import): the journal knows two roots per hive file, not three.
constexpr std::string_view kDefaultUser = ".DEFAULT";
constexpr std::string_view kOtherUsersRow = "HKEY_USERS";

void takeDefaultUserToCurrentUser(Key& parent, std::string& subKey) {
  if (parent != kUsers) return;
  const std::string_view path = hive::cString(subKey);
  const std::size_t slash = path.find('\\');
  if (hive::fold(path.substr(0, slash)) != hive::fold(kDefaultUser)) return;
  parent = kCurrentUser;
  subKey = slash == std::string_view::npos ? std::string() : std::string(path.substr(slash + 1));
}

}  // namespace

struct HiveStore::Impl {
  std::unique_ptr<HiveFile> machine;
  std::unique_ptr<HiveFile> user;
  std::recursive_mutex mutex;
  std::unordered_map<Key, Handle> handles;
  Key nextHandle = 0x1000;

  // `create`: a missing view key is made (for a write through it), else it is not found.
  Status resolve(Key key, Handle& out, bool create = false) {
    switch (key) {
      case kLocalMachine:
        out = {machine.get(), HiveFile::kRootId, access::AllAccess};
        return err::Success;
      case kCurrentUser:
        out = {user.get(), HiveFile::kRootId, access::AllAccess};
        return err::Success;
      case kClassesRoot:
        return resolveView(kClassesPath, out, create);
      case kCurrentConfig:
        return resolveView(kCurrentConfigPath, out, create);
      case kUsers:
        return resolveOtherUsers(out, create);
      default:
        break;
    }
    const auto it = handles.find(key);
    if (it == handles.end()) return err::InvalidHandle;
    out = it->second;
    return err::Success;
  }

  // HKEY_CLASSES_ROOT and HKEY_CURRENT_CONFIG are keys of HKLM, made when
  // first written through; a plain open or read leaves the hive as it is.
  Status resolveView(std::string_view path, Handle& out, bool create) {
    std::vector<std::string_view> parts;
    hive::splitPath(path, parts);
    HiveFile& hive = *machine;
    out = {&hive, HiveFile::kRootId, access::AllAccess};
    {
      HiveFile::ReadScope scope(hive);
      if (walk(hive, out.id, parts) == err::Success) return err::Success;
    }
    if (!create || hive.readOnly()) return err::FileNotFound;
    return inWriteTransaction(hive, [&] {
      out.id = HiveFile::kRootId;
      createPath(hive, out.id, parts);
      return err::Success;
    });
  }

  // The root row of HKEY_USERS' other keys, made by the first write while the
  // journal is suspended.
  Status resolveOtherUsers(Handle& out, bool create) {
    HiveFile& hive = *user;
    const std::string folded = hive::fold(kOtherUsersRow);
    {
      HiveFile::ReadScope scope(hive);
      if (const auto id = hive.findChild(0, folded)) {
        out = {&hive, *id, access::AllAccess, true};
        return err::Success;
      }
    }
    if (!create) return err::FileNotFound;
    if (hive.readOnly() || recording(hive)) return err::AccessDenied;
    return inWriteTransaction(hive, [&] {
      const auto id = hive.findChild(0, folded);
      out = {&hive, id ? *id : hive.addChild(0, kOtherUsersRow, folded), access::AllAccess, true};
      return err::Success;
    });
  }
  // The other users' keys change only with the journal suspended.
  static bool unrecordable(const HiveFile& hive, const Handle& handle) {
    return handle.otherUsers && recording(hive);
  }
  // The names HKEY_USERS lists: .DEFAULT and the other users' keys, in order.
  std::vector<std::string> userNames() {
    std::vector<std::string> names;
    Handle others;
    if (resolveOtherUsers(others, false) == err::Success) {
      HiveFile::ReadScope scope(*others.hive);
      if (const auto row = others.hive->key(others.id)) {
        std::string name;
        for (std::uint32_t i = 0; others.hive->subkeyAt(others.id, i, row->subKeys, &name); ++i)
          names.push_back(name);
      }
    }
    const std::string defaultFolded = hive::fold(kDefaultUser);
    auto at = std::find_if(names.begin(), names.end(),
                           [&](const std::string& n) { return hive::fold(n) > defaultFolded; });
    names.insert(at, std::string(kDefaultUser));
    return names;
  }

  static Status walk(HiveFile& hive, std::int64_t& id, const std::vector<std::string_view>& parts) {
    for (std::string_view part : parts) {
      const auto child = hive.findChild(id, hive::fold(part));
      if (!child) return err::FileNotFound;
      id = *child;
    }
    return err::Success;
  }

  // Returns whether the last key of the path was made. Each key made is a
  // journal entry of its own.
  bool createPath(HiveFile& hive, std::int64_t& id, const std::vector<std::string_view>& parts) {
    bool made = false;
    for (std::string_view part : parts) {
      const std::string folded = hive::fold(part);
      const auto child = hive.findChild(id, folded);
      made = !child;
      id = child ? *child : hive.addChild(id, part, folded);
      if (made) recordKey(hive, id, {}, kKeyThere);
    }
    return made;
  }

  // Whether changes of `hive` go into its journal now.
  static bool recording(const HiveFile& hive) { return !journal::suspended() && hive.hasJournal(); }
  // Adds a journal entry for a change of `hive`, in the open transaction.
  // One entry is filled again and again: a big import makes no strings anew.
  journal::Entry scratch;
  void record(HiveFile& hive, journal::Kind kind, std::int64_t id, std::string_view name,
              journal::State before, journal::State after) {
    journal::Entry& entry = scratch;
    entry.kind = kind;
    entry.path = hive.keyPath(id);
    entry.name = name;
    entry.before = std::move(before);
    entry.after = std::move(after);
    journal::stamp(entry);
    entry.root = rootName(hive);
    hive.addEntry(entry);
  }
  void recordKey(HiveFile& hive, std::int64_t id, journal::State before, journal::State after) {
    if (recording(hive)) record(hive, journal::Kind::Key, id, {}, std::move(before), std::move(after));
  }
  void recordValue(HiveFile& hive, std::int64_t id, std::string_view name, journal::State before,
                   journal::State after) {
    if (recording(hive)) record(hive, journal::Kind::Value, id, name, std::move(before), std::move(after));
  }
  const char* rootName(const HiveFile& hive) const {
    return &hive == user.get() ? "HKEY_CURRENT_USER" : "HKEY_LOCAL_MACHINE";
  }
  static journal::State storedValue(HiveFile& hive, std::int64_t id, std::string_view folded) {
    journal::State state;
    hive.readValue(id, folded, [&](std::uint32_t type, std::string_view bytes) {
      state = {true, type, std::string(bytes)};
    });
    return state;
  }

  // A handle's key may have been deleted meanwhile, here or by another process.
  static bool alive(HiveFile& hive, Key key, const Handle& handle) {
    return isPredefinedRoot(key) || hive.key(handle.id).has_value();
  }

  // Runs `read` on the key's stored row under a read scope, once the handle
  // resolves, carries `right` and its key still exists.
  template <class Read>
  Status readKeyRow(Key key, std::uint32_t right, Read&& read) {
    Handle handle;
    if (const Status s = resolve(key, handle); s != err::Success) return s;
    if (!(handle.rights & right)) return err::AccessDenied;
    HiveFile::ReadScope scope(*handle.hive);
    const auto row = handle.hive->key(handle.id);
    if (!row) return err::KeyDeleted;
    return read(*handle.hive, handle.id, *row);
  }

  // Runs `write` in a write transaction on the key's values, once the handle
  // resolves, may set values of a writable hive and its key still exists.
  template <class Write>
  Status writeValues(Key key, Write&& write) {
    Handle handle;
    if (const Status s = resolve(key, handle, true); s != err::Success) return s;
    HiveFile& hive = *handle.hive;
    if (!(handle.rights & kSetValue) || hive.readOnly() || unrecordable(hive, handle))
      return err::AccessDenied;
    return inWriteTransaction(hive, [&] {
      if (!alive(hive, key, handle)) return err::KeyDeleted;
      return write(hive, handle.id);
    });
  }

  // A key goes with its values: each value, then the key, one group, so that
  // taking the group back brings all of it back.
  void recordRemoval(HiveFile& hive, std::int64_t id, const HiveFile::KeyRow& row) {
    if (!recording(hive)) return;
    journal::Group group;
    if (row.values > 0)
      hive.forEachValue(id, [&](std::string_view name, std::uint32_t type, std::string_view data) {
        recordValue(hive, id, name, {true, type, std::string(data)}, {});
      });
    recordKey(hive, id, kKeyThere, {});
  }

  Key addHandle(const Handle& handle) {
    if (nextHandle >= 0x80000000u && nextHandle <= 0x80000010u) nextHandle = 0x80000100u;
    const Key key = nextHandle;
    nextHandle += 4;
    handles.emplace(key, handle);
    return key;
  }
};

HiveStore::HiveStore(const std::string& systemDatPath, const std::string& userDatPath,
                     bool readOnlyLocalMachine, bool readOnlyCurrentUser)
    : impl_(std::make_unique<Impl>()) {
  impl_->machine = std::make_unique<HiveFile>(systemDatPath, readOnlyLocalMachine);
  impl_->user = std::make_unique<HiveFile>(userDatPath, readOnlyCurrentUser);
}

HiveStore::~HiveStore() = default;

bool HiveStore::readOnlyLocalMachine() const {
  return impl_->machine->readOnly();
}
bool HiveStore::readOnlyCurrentUser() const {
  return impl_->user->readOnly();
}
const std::string& HiveStore::systemDatPath() const {
  return impl_->machine->path();
}
const std::string& HiveStore::userDatPath() const {
  return impl_->user->path();
}

Status HiveStore::openKey(Key parent, const std::string& path, std::uint32_t access, Key* result) {
  std::string subKey = path;
  takeDefaultUserToCurrentUser(parent, subKey);
  if (!result) return err::InvalidParameter;
  *result = 0;
  std::lock_guard lock(impl_->mutex);
  return guarded(false, [&] {
    Handle base;
    const Status resolved = impl_->resolve(parent, base);
    // As on Windows, opening a predefined root itself gives that root back,
    // whatever access was asked for (a view key not made yet too).
    if (isPredefinedRoot(parent) && hive::cString(subKey).empty() &&
        (resolved == err::Success || resolved == err::FileNotFound)) {
      *result = parent;
      return err::Success;
    }
    if (resolved != err::Success) return resolved;
    std::vector<std::string_view> parts;
    if (const Status s = hive::splitPath(hive::cString(subKey), parts); s != err::Success) return s;
    HiveFile& hive = *base.hive;
    HiveFile::ReadScope scope(hive);
    if (!Impl::alive(hive, parent, base)) return err::KeyDeleted;
    if (const Status s = Impl::walk(hive, base.id, parts); s != err::Success) return s;
    const std::uint32_t rights = grantedRights(access, hive.readOnly());
    if (hive.readOnly() && (rights & kWriteRights)) return err::AccessDenied;
    *result = impl_->addHandle({&hive, base.id, rights, base.otherUsers});
    return err::Success;
  });
}

Status HiveStore::createKey(Key parent, const std::string& path, std::uint32_t access, Key* result,
                            bool* created) {
  std::string subKey = path;
  takeDefaultUserToCurrentUser(parent, subKey);
  if (!result) return err::InvalidParameter;
  *result = 0;
  if (created) *created = false;
  const journal::Fixed source;  // asked before the lock: it may ask the windows
  std::lock_guard lock(impl_->mutex);
  return guarded(true, [&] {
    Handle base;
    if (const Status s = impl_->resolve(parent, base, true); s != err::Success) return s;
    std::vector<std::string_view> parts;
    if (const Status s = hive::splitPath(hive::cString(subKey), parts); s != err::Success) return s;
    HiveFile& hive = *base.hive;
    const std::uint32_t rights = grantedRights(access, hive.readOnly());
    if (hive.readOnly() || Impl::unrecordable(hive, base)) {
      // Nothing can be made here; an existing key may still be opened for reading.
      HiveFile::ReadScope scope(hive);
      if (!Impl::alive(hive, parent, base)) return err::KeyDeleted;
      if (Impl::walk(hive, base.id, parts) != err::Success || (rights & kWriteRights))
        return err::AccessDenied;
      *result = impl_->addHandle({&hive, base.id, rights, base.otherUsers});
      return err::Success;
    }
    return inWriteTransaction(hive, [&] {
      if (!Impl::alive(hive, parent, base)) return err::KeyDeleted;
      const bool made = impl_->createPath(hive, base.id, parts);
      if (created) *created = made;
      *result = impl_->addHandle({&hive, base.id, rights, base.otherUsers});
      return err::Success;
    });
  });
}

Status HiveStore::closeKey(Key key) {
  if (isPredefinedRoot(key)) return err::Success;
  std::lock_guard lock(impl_->mutex);
  return impl_->handles.erase(key) ? err::Success : err::InvalidHandle;
}

Status HiveStore::queryValue(Key key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                             std::uint32_t* size) {
  if (data && !size) return err::InvalidParameter;
  std::lock_guard lock(impl_->mutex);
  return guarded(false, [&] {
    Handle handle;
    if (const Status s = impl_->resolve(key, handle); s != err::Success) return s;
    if (!(handle.rights & kQueryValue)) return err::AccessDenied;
    Status status = err::Success;
    const bool found = handle.hive->readValue(handle.id, hive::fold(hive::cString(name)),
                                              [&](std::uint32_t t, std::string_view bytes) {
                                                const auto needed = static_cast<std::uint32_t>(bytes.size());
                                                if (type) *type = t;
                                                if (data) {
                                                  if (*size < needed)
                                                    status = err::MoreData;
                                                  else if (needed)
                                                    std::memcpy(data, bytes.data(), needed);
                                                }
                                                if (size) *size = needed;
                                              });
    if (found) return status;
    return Impl::alive(*handle.hive, key, handle) ? err::FileNotFound : err::KeyDeleted;
  });
}

Status HiveStore::setValue(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                           std::uint32_t size) {
  // Windows reads the missing buffer and fails as on any unreadable memory.
  if (!data && size) return err::NoAccess;
  const std::string_view valueName = hive::cString(name);
  if (valueName.size() > hive::kMaxValueNameLength) return err::InvalidParameter;
  const journal::Fixed source;  // asked before the lock: it may ask the windows
  std::lock_guard lock(impl_->mutex);
  return guarded(true, [&] {
    return impl_->writeValues(key, [&](HiveFile& hive, std::int64_t id) {
      const std::string_view bytes = size ? std::string_view(reinterpret_cast<const char*>(data), size) : "";
      const std::string folded = hive::fold(valueName);
      journal::State before = Impl::storedValue(hive, id, folded);
      journal::State after{true, type, std::string(bytes)};
      // The same type and bytes again change nothing: no write, no entry.
      if (before == after) return err::Success;
      hive.writeValue(id, valueName, folded, type, bytes);
      impl_->recordValue(hive, id, valueName, std::move(before), std::move(after));
      return err::Success;
    });
  });
}

Status HiveStore::deleteValue(Key key, const std::string& name) {
  const journal::Fixed source;  // asked before the lock: it may ask the windows
  std::lock_guard lock(impl_->mutex);
  return guarded(true, [&] {
    return impl_->writeValues(key, [&](HiveFile& hive, std::int64_t id) {
      const std::string folded = hive::fold(hive::cString(name));
      journal::State before = Impl::storedValue(hive, id, folded);
      if (!hive.removeValue(id, folded)) return err::FileNotFound;
      impl_->recordValue(hive, id, hive::cString(name), std::move(before), {});
      return err::Success;
    });
  });
}

Status HiveStore::deleteKey(Key key, const std::string& path) {
  std::string subKey = path;
  takeDefaultUserToCurrentUser(key, subKey);
  const journal::Fixed source;  // asked before the lock: it may ask the windows
  std::lock_guard lock(impl_->mutex);
  return guarded(true, [&] {
    Handle handle;
    if (const Status s = impl_->resolve(key, handle); s != err::Success) return s;
    std::vector<std::string_view> parts;
    if (const Status s = hive::splitPath(hive::cString(subKey), parts); s != err::Success) return s;
    HiveFile& hive = *handle.hive;
    // The predefined keys themselves cannot be deleted.
    if (parts.empty() && isPredefinedRoot(key)) return err::AccessDenied;
    if (hive.readOnly() || Impl::unrecordable(hive, handle)) {
      HiveFile::ReadScope scope(hive);
      if (!Impl::alive(hive, key, handle)) return err::KeyDeleted;
      return Impl::walk(hive, handle.id, parts) == err::Success ? err::AccessDenied : err::FileNotFound;
    }
    return inWriteTransaction(hive, [&] {
      if (!Impl::alive(hive, key, handle)) return err::KeyDeleted;
      if (const Status s = Impl::walk(hive, handle.id, parts); s != err::Success) return s;
      if (handle.id == HiveFile::kRootId) return err::AccessDenied;
      const auto row = hive.key(handle.id);
      if (!row) return err::FileNotFound;
      if (row->subKeys > 0) return err::AccessDenied;
      impl_->recordRemoval(hive, handle.id, *row);
      hive.removeKey(handle.id, row->parent);
      return err::Success;
    });
  });
}

Status HiveStore::enumKey(Key key, std::uint32_t index, std::string* name) {
  if (!name) return err::InvalidParameter;
  std::lock_guard lock(impl_->mutex);
  if (key == kUsers) {
    return guarded(false, [&] {
      const auto names = impl_->userNames();
      if (index >= names.size()) return err::NoMoreItems;
      *name = names[index];
      return err::Success;
    });
  }
  return guarded(false, [&] {
    return impl_->readKeyRow(key, kEnumerateSubKeys, [&](HiveFile& hive, std::int64_t id, const auto& row) {
      return hive.subkeyAt(id, index, row.subKeys, name) ? err::Success : err::NoMoreItems;
    });
  });
}

Status HiveStore::enumValue(Key key, std::uint32_t index, std::string* name, std::uint32_t* type,
                            std::string* data) {
  std::lock_guard lock(impl_->mutex);
  return guarded(false, [&] {
    return impl_->readKeyRow(key, kQueryValue, [&](HiveFile& hive, std::int64_t id, const auto& row) {
      return hive.valueAt(id, index, row.values, name, type, data) ? err::Success : err::NoMoreItems;
    });
  });
}

Status HiveStore::queryInfoKey(Key key, KeyInfo* info) {
  if (!info) return err::InvalidParameter;
  std::lock_guard lock(impl_->mutex);
  if (key == kUsers) {
    return guarded(false, [&] {
      *info = KeyInfo{};
      for (const std::string& name : impl_->userNames()) {
        ++info->subKeys;
        info->maxSubKeyLen = std::max(info->maxSubKeyLen, static_cast<std::uint32_t>(name.size()));
      }
      return err::Success;
    });
  }
  return guarded(false, [&] {
    return impl_->readKeyRow(key, kQueryValue, [&](HiveFile& hive, std::int64_t id, const auto& row) {
      KeyInfo result;
      result.subKeys = row.subKeys;
      result.values = row.values;
      hive.lengths(id, result);
      *info = result;
      return err::Success;
    });
  });
}

Status HiveStore::atomically(const std::function<Status()>& body) {
  const journal::Fixed source;  // asked before the lock: it may ask the windows
  const journal::Group oneChange;
  std::lock_guard lock(impl_->mutex);
  // Both write locks are taken in one fixed order, so two processes running
  // batches cannot wait on each other.
  std::vector<HiveFile*> begun;
  const Key firstHandleOfBatch = impl_->nextHandle;
  auto undo = [&] {
    for (HiveFile* hive : begun) {
      try {
        hive->rollback();
      } catch (const sqlite::Error&) {
      }
    }
    // A key made in the batch is gone again, and a rollback may hand its
    // number to the next new key: a handle opened on it in the batch is
    // marked deleted, as Windows reports a key its undo removed, so it never
    // reaches another key.
    for (auto& [key, handle] : impl_->handles) {
      if (key < firstHandleOfBatch || handle.id <= 0) continue;
      try {
        if (!handle.hive->key(handle.id)) handle.id = -1;
      } catch (const sqlite::Error&) {
        handle.id = -1;
      }
    }
  };
  const Status started = guarded(true, [&] {
    for (HiveFile* hive : {impl_->machine.get(), impl_->user.get()}) {
      if (hive->readOnly()) continue;
      hive->begin();
      begun.push_back(hive);
    }
    return err::Success;
  });
  if (started != err::Success) {
    undo();
    return started;
  }
  Status status;
  try {
    status = body();
  } catch (...) {
    undo();
    throw;
  }
  if (status != err::Success) {
    undo();
    return status;
  }
  for (std::size_t i = 0; i < begun.size(); ++i) {
    const Status committed = guarded(true, [&] {
      begun[i]->commit();
      return err::Success;
    });
    if (committed != err::Success) {
      begun.erase(begun.begin(), begun.begin() + static_cast<std::ptrdiff_t>(i) + 1);
      undo();
      return committed;
    }
  }
  return err::Success;
}

// ---- the journal ------------------------------------------------------------------

namespace {

// Newest first: each hive's own order kept, the clock choosing between the
// two heads (a clock stepped back cannot reorder one hive's entries).
// Moves the entries taken; returns how many of each list were taken.
std::pair<std::size_t, std::size_t> mergeNewest(std::vector<journal::Entry>& machine,
                                                std::vector<journal::Entry>& user, std::size_t limit,
                                                std::vector<journal::Entry>& out) {
  std::size_t m = 0, u = 0;
  while (out.size() < limit && (m < machine.size() || u < user.size())) {
    const bool takeMachine =
        u == user.size() ||
        (m < machine.size() &&
         (machine[m].at != user[u].at ? machine[m].at > user[u].at : machine[m].id > user[u].id));
    out.push_back(std::move(takeMachine ? machine[m++] : user[u++]));
  }
  return {m, u};
}

}  // namespace

journal::Listing HiveStore::newest(std::size_t limit, const journal::Page& from, const std::string& source) {
  std::vector<journal::Entry> machine, user;
  journal::Listing listing;
  {
    std::lock_guard lock(impl_->mutex);
    impl_->machine->readNewest(false, from.machineBelow, source, limit, machine);
    impl_->user->readNewest(true, from.userBelow, source, limit, user);
  }
  const std::size_t machineRead = machine.size(), userRead = user.size();
  // The rows read, remembered before the entries are moved out.
  std::vector<std::int64_t> machineRows, userRows;
  for (const auto& e : machine) machineRows.push_back(journal::rowIdOf(e.id));
  for (const auto& e : user) userRows.push_back(journal::rowIdOf(e.id));
  const auto [m, u] = mergeNewest(machine, user, limit, listing.entries);
  listing.next = from;
  if (m > 0) listing.next.machineBelow = machineRows[m - 1];
  if (u > 0) listing.next.userBelow = userRows[u - 1];
  listing.more =
      m < machineRead || u < userRead || (limit > 0 && (machineRead == limit || userRead == limit));
  return listing;
}

std::vector<std::string> HiveStore::sources() {
  std::vector<std::string> all;
  {
    std::lock_guard lock(impl_->mutex);
    impl_->machine->readSources(all);
    impl_->user->readSources(all);
  }
  std::sort(all.begin(), all.end());
  all.erase(std::unique(all.begin(), all.end()), all.end());
  return all;
}

std::vector<journal::Entry> HiveStore::withGroups(const std::vector<std::int64_t>& ids) {
  std::lock_guard lock(impl_->mutex);
  std::vector<journal::Entry> lists[2];  // machine, user: each oldest first once sorted
  std::set<std::int64_t> groups, alone;
  for (std::int64_t id : ids) {
    if (id <= 0 || alone.count(id)) continue;
    const bool inUser = journal::inUserHive(id);
    auto e = (inUser ? *impl_->user : *impl_->machine).readEntry(inUser, journal::rowIdOf(id));
    if (!e) continue;
    if (e->group != 0) {
      groups.insert(e->group);
    } else {
      alone.insert(id);
      lists[inUser].push_back(std::move(*e));
    }
  }
  for (std::int64_t group : groups) {
    impl_->machine->readGroup(false, group, lists[0]);
    impl_->user->readGroup(true, group, lists[1]);
  }
  auto newerFirst = [](const journal::Entry& a, const journal::Entry& b) { return a.id > b.id; };
  for (auto& list : lists) {
    // A group is read oldest first: most often turning it round is enough.
    std::reverse(list.begin(), list.end());
    if (!std::is_sorted(list.begin(), list.end(), newerFirst))
      std::sort(list.begin(), list.end(), newerFirst);
  }
  if (lists[0].empty()) return std::move(lists[1]);
  if (lists[1].empty()) return std::move(lists[0]);
  std::vector<journal::Entry> out;
  out.reserve(lists[0].size() + lists[1].size());
  mergeNewest(lists[0], lists[1], SIZE_MAX, out);
  return out;
}

std::vector<std::optional<journal::State>> HiveStore::latestStates(
    const std::vector<journal::Entry>& entries) {
  // Taking back the newest action, the newest entry of each item is most
  // often among `entries` already: only the others are read.
  std::unordered_map<std::int64_t, std::size_t> given;  // entry id -> index
  for (std::size_t i = 0; i < entries.size(); ++i) given.emplace(entries[i].id, i);
  std::lock_guard lock(impl_->mutex);
  HiveFile::ReadScope machineScope(*impl_->machine), userScope(*impl_->user);
  std::vector<std::size_t> inHive[2];  // machine, user
  for (std::size_t i = 0; i < entries.size(); ++i)
    if (entries[i].kind != journal::Kind::Profile)
      inHive[entries[i].root == impl_->rootName(*impl_->user)].push_back(i);
  std::vector<std::int64_t> rows(entries.size(), 0);
  impl_->machine->newestRowsOf(entries, inHive[0], rows);
  impl_->user->newestRowsOf(entries, inHive[1], rows);
  std::vector<std::optional<journal::State>> states(entries.size());
  for (const bool inUser : {false, true}) {
    HiveFile& hive = inUser ? *impl_->user : *impl_->machine;
    for (std::size_t i : inHive[inUser]) {
      if (rows[i] == 0) continue;
      std::optional<journal::Entry> newest;
      const journal::Entry* found = nullptr;
      if (const auto known = given.find(journal::entryId(inUser, rows[i])); known != given.end()) {
        found = &entries[known->second];
      } else {
        newest = hive.readEntry(inUser, rows[i]);
        found = newest ? &*newest : nullptr;
      }
      // A pending entry is read from its item.
      if (found && !found->pending) states[i] = found->after;
    }
  }
  return states;
}

std::vector<journal::ChangedItem> HiveStore::changedItems() {
  std::vector<journal::ChangedItem> machine, user;
  {
    std::lock_guard lock(impl_->mutex);
    impl_->machine->readChangedItems(false, machine);
    impl_->user->readChangedItems(true, user);
  }
  // Oldest first, merged the same way as the listings.
  std::vector<journal::ChangedItem> out;
  out.reserve(machine.size() + user.size());
  std::size_t m = 0, u = 0;
  while (m < machine.size() || u < user.size()) {
    const bool takeMachine =
        u == user.size() || (m < machine.size() && machine[m].first.at <= user[u].first.at);
    out.push_back(std::move(takeMachine ? machine[m++] : user[u++]));
  }
  return out;
}

std::int64_t HiveStore::forget(const journal::ForgetPoint& point) {
  std::lock_guard lock(impl_->mutex);
  HiveFile* hives[] = {impl_->machine.get(), impl_->user.get()};
  std::int64_t cut[2] = {0, 0};
  std::optional<journal::Entry> kept;
  if (point.entryId) {
    const bool inUser = *point.entryId > 0 && journal::inUserHive(*point.entryId);
    if (*point.entryId > 0) kept = hives[inUser]->readEntry(inUser, journal::rowIdOf(*point.entryId));
    if (!kept) throw Exception("There is no entry " + std::to_string(*point.entryId) + " in the journal");
  }
  std::vector<HiveFile*> begun;
  std::int64_t dropped = 0;
  auto undo = [&] {
    for (HiveFile* hive : begun) hive->rollback();
  };
  try {
    for (int i = 0; i < 2; ++i) {
      HiveFile& hive = *hives[i];
      if (hive.readOnly() || !hive.hasJournal()) continue;
      hive.begin();
      begun.push_back(&hive);
      if (kept && journal::inUserHive(kept->id) == (i == 1))
        cut[i] = journal::rowIdOf(kept->id);
      else if (kept)
        cut[i] = hive.firstRowFrom(kept->at);
      else if (point.since)
        cut[i] = hive.firstRowFrom(*point.since);
      else
        cut[i] = hive.endRow();
      dropped += hive.dropEntriesBelow(cut[i]);
    }
    for (HiveFile* hive : begun) hive->commit();
  } catch (const sqlite::Error& e) {
    undo();
    throw Exception(std::string("The journal could not be trimmed: ") + e.what());
  }
  // The space goes back once the entries are gone for good; a failure here
  // leaves it for the next time.
  for (HiveFile* hive : begun) {
    try {
      hive->compact();
    } catch (const sqlite::Error&) {
    }
  }
  return dropped;
}

std::int64_t HiveStore::addPendingEntry(journal::Entry entry) {
  if (journal::suspended()) return 0;
  entry.pending = true;
  journal::stamp(entry);  // before the lock: it may ask the windows
  std::lock_guard lock(impl_->mutex);
  // The user's own hive first: it is the one a user can always write.
  for (HiveFile* hive : {impl_->user.get(), impl_->machine.get()}) {
    if (hive->readOnly() || !Impl::recording(*hive)) continue;
    std::int64_t row = 0;
    const Status status = guarded(true, [&] {
      return inWriteTransaction(*hive, [&] {
        row = hive->addEntry(entry);
        return err::Success;
      });
    });
    if (status == err::Success) return journal::entryId(hive == impl_->user.get(), row);
  }
  return -1;
}

void HiveStore::settlePendingEntry(std::int64_t id, bool done) {
  if (id <= 0) return;
  std::lock_guard lock(impl_->mutex);
  HiveFile& hive = journal::inUserHive(id) ? *impl_->user : *impl_->machine;
  guarded(true, [&] {
    if (hive.inTransaction()) return err::Success;  // settled by the next listing
    if (done)
      hive.finishPending(journal::rowIdOf(id), false);
    else
      hive.dropEntry(journal::rowIdOf(id));
    return err::Success;
  });
}

}  // namespace morvin::reg
