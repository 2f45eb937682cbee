#ifdef _WIN32

#include "Win32Store.h"

#include <windows.h>

#include <exception>

namespace morvin::reg {
namespace {

HKEY handle(Key key) {
  return reinterpret_cast<HKEY>(key);
}

Key keyOf(HKEY h) {
  return reinterpret_cast<Key>(h);
}

const char* nameOrEmpty(const std::string& name) {
  return name.c_str();
}

// Opens `place` for a journal replay; the root itself when the path is empty.
HKEY openPlace(Key root, const std::string& path, bool create) {
  if (path.empty()) return handle(root);
  HKEY h = nullptr;
  const LSTATUS status = create
                             ? RegCreateKeyExA(handle(root), path.c_str(), 0, nullptr,
                                               REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &h, nullptr)
                             : RegOpenKeyExA(handle(root), path.c_str(), 0, KEY_ALL_ACCESS, &h);
  return status == ERROR_SUCCESS ? h : nullptr;
}

void closePlace(Key root, HKEY h) {
  if (h && h != handle(root)) RegCloseKey(h);
}

// Deletes `path` below `root` with all its subkeys, deepest first.
void deleteTree(Key root, const std::string& path) {
  if (HKEY h = openPlace(root, path, false)) {
    DWORD count = 0;
    RegQueryInfoKeyA(h, nullptr, nullptr, nullptr, &count, nullptr, nullptr, nullptr, nullptr, nullptr,
                     nullptr, nullptr);
    for (DWORD index = count; index-- > 0;) {
      char name[512];
      DWORD length = sizeof name;
      if (RegEnumKeyExA(h, index, name, &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        deleteTree(root, path + "\\" + std::string(name, length));
    }
    closePlace(root, h);
  }
  RegDeleteKeyA(handle(root), path.c_str());
}

// Names compare as the registry compares them: upper case in the ANSI code page.
std::string upper(std::string text) {
  if (!text.empty()) CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

// `place` with its last name spelled as the registry keeps it, so that an
// undo makes the key again under its own name, not the caller's spelling.
std::string storedSpelling(Key root, const std::string& path) {
  const std::size_t cut = path.rfind('\\');
  const std::string parent = cut == std::string::npos ? std::string() : path.substr(0, cut);
  const std::string leaf = cut == std::string::npos ? path : path.substr(cut + 1);
  HKEY h = handle(root);
  if (!parent.empty() &&
      RegOpenKeyExA(handle(root), parent.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &h) != ERROR_SUCCESS)
    return path;
  const std::string wanted = upper(leaf);
  std::string spelled = leaf;
  char name[512];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(h, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    if (upper(std::string(name, length)) == wanted) {
      spelled.assign(name, length);
      break;
    }
  }
  closePlace(root, h);
  return parent.empty() ? spelled : parent + "\\" + spelled;
}

// The value's name as the registry keeps it.
std::string storedValueName(HKEY h, const std::string& name) {
  const std::string wanted = upper(name);
  std::string buffer(16384, '\0');
  for (DWORD index = 0;; ++index) {
    DWORD length = static_cast<DWORD>(buffer.size());
    if (RegEnumValueA(h, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return name;
    if (upper(buffer.substr(0, length)) == wanted) return buffer.substr(0, length);
  }
}

struct SavedValue {
  std::string name;
  DWORD type = 0;
  std::string data;
};

// Every value of `h`, as the "A" functions show them.
std::vector<SavedValue> valuesOf(HKEY h) {
  std::vector<SavedValue> values;
  for (DWORD index = 0;; ++index) {
    std::string name(16384, '\0');
    DWORD nameLength = static_cast<DWORD>(name.size());
    DWORD type = 0, size = 0;
    if (RegEnumValueA(h, index, name.data(), &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      break;
    SavedValue value{name.substr(0, nameLength), type, std::string(size, '\0')};
    if (RegQueryValueExA(h, value.name.c_str(), nullptr, &value.type,
                         reinterpret_cast<BYTE*>(value.data.data()), &size) == ERROR_SUCCESS)
      value.data.resize(size);
    values.push_back(std::move(value));
  }
  return values;
}

}  // namespace

Win32Store::~Win32Store() {
  std::lock_guard lock(mutex_);
  for (const auto& [key, place] : places_) RegCloseKey(handle(key));
}

// ---- places of handles ------------------------------------------------------

bool Win32Store::placeOf(Key key, Place* place) const {
  if (isPredefinedRoot(key)) {
    *place = {key, ""};
    return true;
  }
  std::lock_guard lock(mutex_);
  const auto found = places_.find(key);
  if (found == places_.end()) return false;
  *place = found->second;
  return true;
}

Win32Store::Place Win32Store::placeBelow(Key parent, const std::string& subKey) const {
  Place place;
  placeOf(parent, &place);
  std::string tail = subKey;
  while (!tail.empty() && tail.back() == '\\') tail.pop_back();
  if (!tail.empty()) place.path = place.path.empty() ? tail : place.path + "\\" + tail;
  return place;
}

void Win32Store::remember(Key key, Place place) {
  if (isPredefinedRoot(key)) return;
  std::lock_guard lock(mutex_);
  places_[key] = std::move(place);
}

// ---- keys -------------------------------------------------------------------

Status Win32Store::openKey(Key parent, const std::string& subKey, std::uint32_t access, Key* result) {
  HKEY h = nullptr;
  const LSTATUS status = RegOpenKeyExA(handle(parent), nameOrEmpty(subKey), 0, access, &h);
  *result = status == ERROR_SUCCESS ? keyOf(h) : 0;
  if (status == ERROR_SUCCESS) remember(*result, placeBelow(parent, subKey));
  return status;
}

Status Win32Store::createKey(Key parent, const std::string& subKey, std::uint32_t access, Key* result,
                             bool* created) {
  *result = 0;
  // The first key of the path that does not exist yet: undoing the creation
  // removes it and everything made below it.
  Place firstNew;
  bool undoable = false;
  if (journaling()) {
    Place base;
    if (!placeOf(parent, &base)) return ERROR_INVALID_HANDLE;
    std::string prefix;
    std::size_t start = 0;
    while (start <= subKey.size()) {
      std::size_t end = subKey.find('\\', start);
      if (end == std::string::npos) end = subKey.size();
      if (end == start) break;
      prefix = subKey.substr(0, end);
      HKEY probe = nullptr;
      const LSTATUS found = RegOpenKeyExA(handle(parent), prefix.c_str(), 0, KEY_READ, &probe);
      if (found == ERROR_SUCCESS) RegCloseKey(probe);
      // Only a key that is surely missing is the batch's to remove again; one
      // this user may not read exists and must never be taken away.
      if (found == ERROR_FILE_NOT_FOUND) {
        firstNew = placeBelow(parent, prefix);
        undoable = true;
        break;
      }
      start = end + 1;
    }
  }
  HKEY h = nullptr;
  DWORD disposition = 0;
  const LSTATUS status = RegCreateKeyExA(handle(parent), nameOrEmpty(subKey), 0, nullptr,
                                         REG_OPTION_NON_VOLATILE, access, nullptr, &h, &disposition);
  if (status != ERROR_SUCCESS) return status;
  *result = keyOf(h);
  if (created) *created = disposition == REG_CREATED_NEW_KEY;
  remember(*result, placeBelow(parent, subKey));
  if (undoable && disposition == REG_CREATED_NEW_KEY)
    note([place = firstNew] { deleteTree(place.root, place.path); });
  return ERROR_SUCCESS;
}

Status Win32Store::closeKey(Key key) {
  const LSTATUS status = RegCloseKey(handle(key));
  if (status == ERROR_SUCCESS && !isPredefinedRoot(key)) {
    std::lock_guard lock(mutex_);
    places_.erase(key);
  }
  return status;
}

Status Win32Store::deleteKey(Key key, const std::string& subKey) {
  Place place;
  std::vector<SavedValue> values;
  if (journaling()) {
    if (!placeOf(key, &place)) return ERROR_INVALID_HANDLE;
    place = placeBelow(key, subKey);
    place.path = storedSpelling(place.root, place.path);
    HKEY h = nullptr;
    if (RegOpenKeyExA(handle(key), nameOrEmpty(subKey), 0, KEY_READ, &h) == ERROR_SUCCESS) {
      values = valuesOf(h);
      RegCloseKey(h);
    }
  }
  const LSTATUS status = RegDeleteKeyA(handle(key), nameOrEmpty(subKey));
  if (status == ERROR_SUCCESS && journaling())
    note([place, values] {
      HKEY h = openPlace(place.root, place.path, true);
      if (!h) return;
      for (const SavedValue& v : values)
        RegSetValueExA(h, v.name.c_str(), 0, v.type, reinterpret_cast<const BYTE*>(v.data.data()),
                       static_cast<DWORD>(v.data.size()));
      closePlace(place.root, h);
    });
  return status;
}

Status Win32Store::enumKey(Key key, std::uint32_t index, std::string* name) {
  std::string buffer(256, '\0');
  for (;;) {
    DWORD length = static_cast<DWORD>(buffer.size());
    const LSTATUS status =
        RegEnumKeyExA(handle(key), index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA && buffer.size() < 65536) {
      buffer.resize(buffer.size() * 4);
      continue;
    }
    if (status == ERROR_SUCCESS) *name = buffer.substr(0, length);
    return status;
  }
}

Status Win32Store::queryInfoKey(Key key, KeyInfo* info) {
  DWORD subKeys = 0, maxSubKeyLen = 0, values = 0, maxValueNameLen = 0, maxValueLen = 0;
  const LSTATUS status = RegQueryInfoKeyA(handle(key), nullptr, nullptr, nullptr, &subKeys, &maxSubKeyLen,
                                          nullptr, &values, &maxValueNameLen, &maxValueLen, nullptr, nullptr);
  if (status == ERROR_SUCCESS) *info = {subKeys, maxSubKeyLen, values, maxValueNameLen, maxValueLen};
  return status;
}

// ---- values -----------------------------------------------------------------

Status Win32Store::queryValue(Key key, const std::string& name, std::uint32_t* type, std::uint8_t* data,
                              std::uint32_t* size) {
  DWORD storedType = 0;
  DWORD length = size ? *size : 0;
  const LSTATUS status =
      RegQueryValueExA(handle(key), nameOrEmpty(name), nullptr, &storedType, data, size ? &length : nullptr);
  if (type && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *type = storedType;
  if (size && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA)) *size = length;
  return status;
}

Status Win32Store::setValue(Key key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                            std::uint32_t size) {
  if (journaling()) {
    Place place;
    if (!placeOf(key, &place)) return ERROR_INVALID_HANDLE;
    noteValueRestore(key, name);
  }
  // Given a text whose last counted byte is no NUL, Windows looks at the byte
  // after the buffer and, when that is a NUL, stores it too. A copy with a
  // byte that is no NUL there keeps the value to exactly the bytes given.
  if (data && size && data[size - 1] != 0 &&
      (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ)) {
    std::vector<std::uint8_t> guarded(data, data + size);
    guarded.push_back(0xFF);
    return RegSetValueExA(handle(key), nameOrEmpty(name), 0, type, guarded.data(), size);
  }
  return RegSetValueExA(handle(key), nameOrEmpty(name), 0, type, data, size);
}

Status Win32Store::deleteValue(Key key, const std::string& name) {
  if (journaling()) {
    Place place;
    if (!placeOf(key, &place)) return ERROR_INVALID_HANDLE;
    noteValueRestore(key, name, true);
  }
  return RegDeleteValueA(handle(key), nameOrEmpty(name));
}

Status Win32Store::enumValue(Key key, std::uint32_t index, std::string* name, std::uint32_t* type,
                             std::string* data) {
  // Longest value name the registry allows, plus its NUL.
  std::string nameBuffer(16384, '\0');
  for (int attempt = 0;; ++attempt) {
    DWORD nameLength = static_cast<DWORD>(nameBuffer.size());
    DWORD storedType = 0, size = 0;
    LSTATUS status = RegEnumValueA(handle(key), index, nameBuffer.data(), &nameLength, nullptr, &storedType,
                                   nullptr, &size);
    if (status != ERROR_SUCCESS) return status;
    std::string bytes;
    if (data) {
      bytes.resize(size);
      nameLength = static_cast<DWORD>(nameBuffer.size());
      status = RegEnumValueA(handle(key), index, nameBuffer.data(), &nameLength, nullptr, &storedType,
                             reinterpret_cast<BYTE*>(bytes.data()), &size);
      // The value grew between the two calls: ask again.
      if (status == ERROR_MORE_DATA && attempt < 8) continue;
      if (status != ERROR_SUCCESS) return status;
      bytes.resize(size);
      *data = std::move(bytes);
    }
    *name = nameBuffer.substr(0, nameLength);
    if (type) *type = storedType;
    return ERROR_SUCCESS;
  }
}

// ---- batches ----------------------------------------------------------------

void Win32Store::note(Undo undo) {
  if (journaling()) journal_.back().push_back(std::move(undo));
}

void Win32Store::noteValueRestore(Key key, const std::string& given, bool spellAsStored) {
  Place place;
  placeOf(key, &place);
  DWORD type = 0, size = 0;
  std::string bytes;
  bool existed =
      RegQueryValueExA(handle(key), nameOrEmpty(given), nullptr, &type, nullptr, &size) == ERROR_SUCCESS;
  // A value that goes away comes back under its own name.
  const std::string name = existed && spellAsStored ? storedValueName(handle(key), given) : given;
  if (existed) {
    bytes.resize(size);
    existed = RegQueryValueExA(handle(key), nameOrEmpty(name), nullptr, &type,
                               reinterpret_cast<BYTE*>(bytes.data()), &size) == ERROR_SUCCESS;
    bytes.resize(size);
  }
  note([place, name, existed, type, bytes] {
    HKEY h = openPlace(place.root, place.path, false);
    if (!h) return;
    if (existed)
      RegSetValueExA(h, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     static_cast<DWORD>(bytes.size()));
    else
      RegDeleteValueA(h, name.c_str());
    closePlace(place.root, h);
  });
}

Status Win32Store::atomically(const std::function<Status()>& body) {
  journal_.emplace_back();
  auto undoFrame = [this] {
    std::vector<Undo> frame = std::move(journal_.back());
    journal_.pop_back();
    for (auto it = frame.rbegin(); it != frame.rend(); ++it) (*it)();
  };
  Status status;
  try {
    status = body();
  } catch (...) {
    undoFrame();
    throw;
  }
  if (status != ERROR_SUCCESS) {
    undoFrame();
    return status;
  }
  // A finished inner batch becomes part of the batch around it.
  std::vector<Undo> frame = std::move(journal_.back());
  journal_.pop_back();
  if (journaling())
    for (Undo& undo : frame) journal_.back().push_back(std::move(undo));
  return status;
}

}  // namespace morvin::reg

#endif
