// The registry cursor. Every step is one or two store calls; the rules for
// paths, failures and raised messages are what the windows rely on.
#include "TRegistry.h"

#include "Errors.h"

namespace morvin {

namespace {

void raise(const char* pattern, const std::string& name) {
  throw ERegistryException(formatMessage(pattern, name));
}

}  // namespace

TRegistry::TRegistry() : store_(reg::currentStore()) {}

TRegistry::TRegistry(reg::RegistryStore& store) : store_(store) {}

TRegistry::~TRegistry() {
  ClosePath();
}

void TRegistry::SelectRoot(reg::Key root) {
  if (root == root_) return;
  ClosePath();
  root_ = root;
}

// A leading backslash makes a path absolute (from the root); any other path is
// taken from the open key, or from the root when none is open.
reg::Key TRegistry::baseForPath(const std::string& path, std::string& relative) const {
  if (!path.empty() && path.front() == '\\') {
    relative = path.substr(1);
    return root_;
  }
  relative = path;
  return key_ != 0 ? key_ : root_;
}

bool TRegistry::OpenPath(const std::string& path, bool create) {
  std::string relative;
  reg::Key base = baseForPath(path, relative);
  reg::Key opened = 0;
  reg::Status status = (create && !path.empty())
                           ? store_.createKey(base, relative, reg::access::AllAccess, &opened)
                           : store_.openKey(base, relative, reg::access::AllAccess, &opened);
  if (status != reg::err::Success) return false;

  std::string newPath;
  if (base == root_ || path_.empty())
    newPath = relative;
  else
    newPath = relative.empty() ? path_ : path_ + "\\" + relative;
  ClosePath();
  key_ = opened;
  path_ = std::move(newPath);
  return true;
}

void TRegistry::ClosePath() {
  if (key_ != 0) store_.closeKey(key_);
  key_ = 0;
  path_.clear();
}

std::int32_t TRegistry::ReadNumber(const std::string& name) {
  std::uint8_t buffer[4] = {0, 0, 0, 0};
  std::uint32_t size = sizeof buffer;
  std::uint32_t type = reg::type::None;
  if (key_ == 0 || store_.queryValue(key_, name, &type, buffer, &size) != reg::err::Success)
    raise(msg::GetDataFailed, name);
  if (type != reg::type::Dword) raise(msg::InvalidDataType, name);
  std::uint32_t n =
      buffer[0] | buffer[1] << 8 | buffer[2] << 16 | static_cast<std::uint32_t>(buffer[3]) << 24;
  return static_cast<std::int32_t>(n);
}

bool TRegistry::ReadFlag(const std::string& name) {
  return ReadNumber(name) != 0;
}

std::string TRegistry::ReadText(const std::string& name) {
  if (key_ == 0) return {};
  std::uint32_t type = reg::type::None;
  std::uint32_t size = 0;
  if (store_.queryValue(key_, name, &type, nullptr, &size) != reg::err::Success || size == 0) return {};
  std::string data(size, '\0');
  if (store_.queryValue(key_, name, &type, reinterpret_cast<std::uint8_t*>(data.data()), &size) !=
      reg::err::Success)
    raise(msg::GetDataFailed, name);
  if (type != reg::type::Sz && type != reg::type::ExpandSz) raise(msg::InvalidDataType, name);
  data.resize(size);
  if (auto nul = data.find('\0'); nul != std::string::npos) data.resize(nul);
  return data;
}

void TRegistry::WriteNumber(const std::string& name, std::int32_t n) {
  auto u = static_cast<std::uint32_t>(n);
  const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(u), static_cast<std::uint8_t>(u >> 8),
                                 static_cast<std::uint8_t>(u >> 16), static_cast<std::uint8_t>(u >> 24)};
  if (key_ == 0 || store_.setValue(key_, name, reg::type::Dword, bytes, sizeof bytes) != reg::err::Success)
    raise(msg::SetDataFailed, name);
}

void TRegistry::WriteFlag(const std::string& name, bool b) {
  WriteNumber(name, b ? 1 : 0);
}

void TRegistry::WriteText(const std::string& name, const std::string& s) {
  // The text's bytes and one terminating NUL.
  if (key_ == 0 ||
      store_.setValue(key_, name, reg::type::Sz, reinterpret_cast<const std::uint8_t*>(s.c_str()),
                      static_cast<std::uint32_t>(s.size() + 1)) != reg::err::Success)
    raise(msg::SetDataFailed, name);
}

bool TRegistry::HasValue(const std::string& name) {
  if (key_ == 0) return false;
  std::uint32_t type = 0, size = 0;
  return store_.queryValue(key_, name, &type, nullptr, &size) == reg::err::Success;
}

bool TRegistry::RemoveValue(const std::string& name) {
  return key_ != 0 && store_.deleteValue(key_, name) == reg::err::Success;
}

// One batch for the whole tree: a store pays one durable commit instead of one
// per key, and its journal takes the tree back as one.
bool TRegistry::RemoveKeyTree(const std::string& path) {
  bool removed = false;
  reg::Status committed = store_.atomically([&] {
    removed = removeTree(path);
    return reg::err::Success;
  });
  return committed == reg::err::Success && removed;
}

// Subkeys go first, from the last index down, so the indexes still to visit
// stay valid while keys disappear; a subkey that cannot be named is skipped.
bool TRegistry::removeTree(const std::string& path) {
  std::string relative;
  reg::Key base = baseForPath(path, relative);
  // An empty name would mean the open key or the root itself: never removed.
  if (relative.empty()) return false;

  reg::Key key = 0;
  if (store_.openKey(base, relative, reg::access::AllAccess, &key) == reg::err::Success) {
    reg::Key savedKey = key_;
    std::string savedPath = path_;
    key_ = key;  // children are removed by names relative to this key
    reg::KeyInfo info;
    if (store_.queryInfoKey(key, &info) == reg::err::Success) {
      for (std::uint32_t i = info.subKeys; i-- > 0;) {
        std::string child;
        if (store_.enumKey(key, i, &child) != reg::err::Success) continue;
        removeTree(child);
      }
    }
    store_.closeKey(key);
    key_ = savedKey;
    path_ = std::move(savedPath);
  }
  return store_.deleteKey(base, relative) == reg::err::Success;
}

void TRegistry::ListSubkeys(std::vector<std::string>& list) {
  list.clear();
  reg::KeyInfo info;
  if (key_ == 0 || store_.queryInfoKey(key_, &info) != reg::err::Success) return;
  std::string name;
  for (std::uint32_t i = 0; store_.enumKey(key_, i, &name) == reg::err::Success; ++i) list.push_back(name);
}

void TRegistry::ListValueNames(std::vector<std::string>& list) {
  list.clear();
  reg::KeyInfo info;
  if (key_ == 0 || store_.queryInfoKey(key_, &info) != reg::err::Success) return;
  std::string name;
  for (std::uint32_t i = 0; store_.enumValue(key_, i, &name) == reg::err::Success; ++i) list.push_back(name);
}

}  // namespace morvin
