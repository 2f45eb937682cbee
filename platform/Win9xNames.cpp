// Names on a Windows 9x drive and in a machine made from it.
#include "Win9xNames.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "registry/Cp1250.h"
#include "registry/HiveStoreNames.h"

namespace morvin::platform::win9x {

[[noreturn]] void badInput(const std::string& source, const std::string& what) {
  throw DriveError(cp1250::fromUtf8(source + ": " + what), Fault::BadInput);
}

std::optional<std::string> fatNameProblem(const std::string& utf8Name) {
  if (utf8Name.empty()) return "an empty name";
  if (utf8Name.find_first_not_of('.') == std::string::npos) return "a name of dots only";
  const std::string name = cp1250::fromUtf8(utf8Name, '\0');
  if (name.find('\0') != std::string::npos || cp1250::toUtf8(name) != utf8Name)
    return "a character outside code page 1250";
  for (unsigned char c : name) {
    if (c < 0x20) return "a control character";
    if (std::strchr("\\/:*?\"<>|", c)) return std::string("the character ") + static_cast<char>(c);
  }
  if (name.size() > 255) return "a name longer than 255 characters";
  if (name.back() == ' ' || name.back() == '.') return "a blank or a dot at its end";
  std::string base = cp1250::toUpper(name.substr(0, name.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  const bool numbered = base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) &&
                        base[3] >= '1' && base[3] <= '9';
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || numbered)
    return "the name of a device (" + base + ")";
  return std::nullopt;
}

std::optional<std::string> fatPathProblem(const std::string& path) {
  size_t start = 0;
  while (true) {
    const size_t end = std::min(path.find('/', start), path.size());
    if (auto problem = fatNameProblem(path.substr(start, end - start))) return problem;
    if (end == path.size()) break;
    start = end + 1;
  }
  // "C:\" before it and the NUL after it within MAX_PATH (260).
  if (cp1250::fromUtf8(path).size() + 4 > 260) return "a path longer than Windows allows";
  return std::nullopt;
}

bool isHiveName(const std::string& utf8Name) {
  const std::string name = folded(utf8Name);
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string stem = name.substr(0, dot), extension = name.substr(dot + 1);
  const bool hiveStem = stem == folded("SYSTEM") || stem == folded("USER") || stem == folded("CLASSES");
  return hiveStem && (extension == folded("DAT") || extension == folded("DA0") || extension == folded("1ST"));
}

// Names compared as Windows compares them (cp1250, without regard to case).
std::string folded(const std::string& utf8) {
  return reg::hive::fold(cp1250::fromUtf8(utf8));
}

bool isUnder(const std::string& path, const std::string& folder) {
  const std::string p = folded(path), f = folded(folder);
  return p == f || (p.size() > f.size() && p.starts_with(f) && path[folder.size()] == '/');
}

// A C:\ path (cp1250) as a path of the drive; nullopt for another drive.
std::optional<std::string> drivePath(const std::string& windowsPath) {
  std::string path = windowsPath.substr(0, windowsPath.find('\0'));
  if (path.size() < 2 || path[1] != ':' || (path[0] != 'C' && path[0] != 'c')) return std::nullopt;
  path = cp1250::toUtf8(path.substr(2));
  for (char& c : path)
    if (c == '\\') c = '/';
  while (path.starts_with('/')) path.erase(0, 1);
  while (path.ends_with('/')) path.pop_back();
  return path;
}

// [Paths] WinDir of MSDOS.SYS, as a path of the drive; "WINDOWS" without one.
std::string windowsFolderOf(const std::optional<std::string>& msDosSys) {
  if (!msDosSys) return kMachineWindows;
  bool paths = false;
  size_t start = 0;
  while (start < msDosSys->size()) {
    size_t end = std::min(msDosSys->find('\n', start), msDosSys->size());
    std::string line = msDosSys->substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.starts_with('[')) {
      paths = cp1250::equalsIgnoreCase(line, "[Paths]");
      continue;
    }
    const size_t equals = line.find('=');
    if (!paths || equals == std::string::npos) continue;
    std::string key = line.substr(0, equals);
    while (!key.empty() && key.back() == ' ') key.pop_back();
    if (!cp1250::equalsIgnoreCase(key, "WinDir")) continue;
    std::string value = line.substr(equals + 1);
    while (value.starts_with(' ')) value.erase(0, 1);
    if (auto path = drivePath(value); path && !path->empty()) return *path;
  }
  return kMachineWindows;
}

const DriveEntry* find(const std::vector<DriveEntry>& entries, const std::string& path) {
  const std::string wanted = folded(path);
  for (const DriveEntry& e : entries)
    if (folded(e.path) == wanted) return &e;
  return nullptr;
}

std::string nameFault(const std::string& name) {
  if (name.empty()) return "an empty name";
  if (name == "." || name == "..") return "the name \"" + name + "\"";
  size_t units = 0;
  for (size_t i = 0; i < name.size();) {
    const auto c = static_cast<unsigned char>(name[i]);
    if (c < 0x20 || c == 0x7F) return "a name holding a control character";
    if (std::string_view("/\\:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos)
      return std::string("a name holding '") + static_cast<char>(c) + "'";
    // UTF-8: a lead byte and its continuation bytes; four bytes are two UTF-16 units.
    const size_t length = c < 0x80             ? 1
                          : (c & 0xE0) == 0xC0 ? 2
                          : (c & 0xF0) == 0xE0 ? 3
                          : (c & 0xF8) == 0xF0 ? 4
                                               : 0;
    if (length == 0 || i + length > name.size()) return "a name that is not UTF-8";
    for (size_t k = 1; k < length; ++k)
      if ((static_cast<unsigned char>(name[i + k]) & 0xC0) != 0x80) return "a name that is not UTF-8";
    units += length == 4 ? 2 : 1;
    i += length;
  }
  if (units > 255) return "a name longer than 255 characters";
  return {};
}

void checkListing(const std::string& source, const std::vector<DriveEntry>& entries) {
  std::set<std::string> folders = {""}, seen;
  for (const DriveEntry& e : entries)
    if (e.folder) folders.insert(e.path);
  // Names outside cp1250 are compared as they are, so two of them never
  // become the same "?" to the comparison.
  auto sameTo = [](const std::string& name) {
    return cp1250::toUtf8(cp1250::fromUtf8(name)) == name ? folded(name) : name;
  };
  for (const DriveEntry& e : entries) {
    const size_t slash = e.path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : e.path.substr(0, slash);
    const std::string name = slash == std::string::npos ? e.path : e.path.substr(slash + 1);
    for (size_t start = 0; start <= e.path.size();) {
      const size_t end = std::min(e.path.find('/', start), e.path.size());
      if (const std::string fault = nameFault(e.path.substr(start, end - start)); !fault.empty())
        badInput(source, "refused: " + fault + " (" + e.path + ")");
      start = end + 1;
    }
    if (!folders.count(folder))
      badInput(source, "refused: a name holding '/' or a folder that is not listed (" + e.path + ")");
    if (!seen.insert(sameTo(folder) + "/" + sameTo(name)).second)
      badInput(source,
               "refused as ambiguous: two names of one folder are the same to Windows (" + e.path + ")");
  }
}

std::optional<std::string> shellFolder(const reg::RegDocument& document, const std::string& name) {
  for (const reg::RegKeyEntry& key : document.keys) {
    if (!cp1250::equalsIgnoreCase(key.path, kShellFolders)) continue;
    for (const reg::RegValueEntry& value : key.values)
      if (cp1250::equalsIgnoreCase(value.name, name)) return drivePath(value.data);
  }
  return std::nullopt;
}

}  // namespace morvin::platform::win9x
