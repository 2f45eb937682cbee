// Root names of registry files and the command line, and store statuses in words.
#include <array>
#include <cstdio>

#include "RegFile.h"

namespace morvin::reg {

namespace {

struct RootNames {
  Key root;
  const char* longName;
  const char* shortName;
};

constexpr std::array<RootNames, 5> kRoots{{
    {kClassesRoot, "HKEY_CLASSES_ROOT", "HKCR"},
    {kCurrentUser, "HKEY_CURRENT_USER", "HKCU"},
    {kLocalMachine, "HKEY_LOCAL_MACHINE", "HKLM"},
    {kUsers, "HKEY_USERS", "HKU"},
    {kCurrentConfig, "HKEY_CURRENT_CONFIG", "HKCC"},
}};

bool asciiEqualsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

RegFileError::RegFileError(int line, const std::string& what)
    : Exception("line " + std::to_string(line) + ": " + what), line_(line) {}

std::optional<Key> rootFromName(std::string_view name, bool allowShortForms) {
  for (const auto& r : kRoots) {
    if (asciiEqualsIgnoreCase(name, r.longName)) return r.root;
    if (allowShortForms && asciiEqualsIgnoreCase(name, r.shortName)) return r.root;
  }
  return std::nullopt;
}

std::string rootName(Key root) {
  for (const auto& r : kRoots)
    if (r.root == root) return r.longName;
  return "HKEY_0x" + [root] {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%lX", static_cast<unsigned long>(root));
    return std::string(buf);
  }();
}

bool splitKeyName(std::string_view fullName, bool allowShortForms, Key* root, std::string* path) {
  size_t slash = fullName.find('\\');
  auto found = rootFromName(fullName.substr(0, slash), allowShortForms);
  if (!found) return false;
  std::string_view rest = slash == std::string_view::npos ? std::string_view{} : fullName.substr(slash + 1);
  // A trailing backslash names the same key, as the registry functions read it.
  while (!rest.empty() && rest.back() == '\\') rest.remove_suffix(1);
  *root = *found;
  *path = std::string(rest);
  return true;
}

std::string describeStatus(Status status) {
  switch (status) {
    case err::Success:
      return "success";
    case err::FileNotFound:
      return "the key or value does not exist";
    case err::AccessDenied:
      return "access denied";
    case err::InvalidHandle:
      return "invalid key handle";
    case err::NotEnoughMemory:
      return "not enough memory";
    case err::InvalidParameter:
      return "invalid name (too long or malformed)";
    case err::BadDb:
    case err::BadKey:
      return "the registry file is corrupt";
    case err::CantOpen:
    case err::CantRead:
      return "the registry file cannot be read";
    case err::CantWrite:
      return "the registry file cannot be written";
    case err::KeyDeleted:
      return "the key has been deleted";
    default:
      return "error " + std::to_string(status);
  }
}

}  // namespace morvin::reg
