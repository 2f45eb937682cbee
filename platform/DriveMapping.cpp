#include "DriveMapping.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "MachineState.h"
#include "registry/Cp1250.h"

namespace morvin::platform {
namespace {

bool isSeparator(char c) {
  return c == '\\' || c == '/';
}

// Characters Windows refuses in a file name.
bool isInvalidNameChar(unsigned char c) {
  return c < 32 || std::strchr("<>:\"|?*", c) != nullptr;
}

// CON, PRN, AUX, NUL, COM1..9, LPT1..9 (also with an extension) name devices, not files.
bool isDeviceName(const std::string& component) {
  std::string base = cp1250::toUpper(component.substr(0, component.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL") return true;
  return base.size() == 4 && (base.starts_with("COM") || base.starts_with("LPT")) && base[3] >= '1' &&
         base[3] <= '9';
}

// The components of the path after "C:", with "." and ".." resolved and
// trailing dots and blanks stripped, as Windows normalises a path. Empty
// optional for a malformed path.
std::optional<std::vector<std::string>> normalisedComponents(const std::string& rest) {
  std::vector<std::string> components;
  std::size_t pos = 0;
  while (pos <= rest.size()) {
    std::size_t end = pos;
    while (end < rest.size() && !isSeparator(rest[end])) ++end;
    std::string component = rest.substr(pos, end - pos);
    pos = end + 1;
    if (component.empty() || component == ".") continue;
    if (component == "..") {
      if (!components.empty()) components.pop_back();  // ".." at the root stays at the root
      continue;
    }
    while (!component.empty() && (component.back() == '.' || component.back() == ' ')) component.pop_back();
    if (component.empty()) continue;
    for (unsigned char c : component)
      if (isInvalidNameChar(c)) return std::nullopt;
    if (component.size() > 255 || isDeviceName(component)) return std::nullopt;
    components.push_back(component);
  }
  return components;
}

std::optional<std::string> canonical(const std::string& hostPath) {
  char* resolved = ::realpath(hostPath.c_str(), nullptr);
  if (!resolved) return std::nullopt;
  std::string result(resolved);
  std::free(resolved);
  return result;
}

bool isWithin(const std::string& path, const std::string& root) {
  if (root == "/") return true;
  return path == root || (path.starts_with(root) && path[root.size()] == '/');
}

// The entry of `folder` whose name equals `component` ignoring case (cp1250
// folding); an exact match wins, otherwise the first in name order.
std::optional<std::string> findEntry(const std::string& folder, const std::string& component,
                                     const std::string& componentUtf8) {
  struct stat st;
  if (::lstat((folder + "/" + componentUtf8).c_str(), &st) == 0) return componentUtf8;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return std::nullopt;
  std::optional<std::string> best;
  while (dirent* entry = ::readdir(dir)) {
    std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    // Host names without a cp1250 spelling get '?' and so never match.
    if (!cp1250::equalsIgnoreCase(cp1250::fromUtf8(name, '?'), component)) continue;
    if (!best || name < *best) best = name;
  }
  ::closedir(dir);
  return best;
}

}  // namespace

std::optional<std::string> mapToHost(const std::string& driveRoot, const std::string& windowsPath) {
  if (windowsPath.size() < 2 || windowsPath[1] != ':' || (windowsPath[0] != 'C' && windowsPath[0] != 'c'))
    return std::nullopt;
  if (windowsPath.find('\0') != std::string::npos) return std::nullopt;
  auto components = normalisedComponents(windowsPath.substr(2));
  if (!components) return std::nullopt;

  std::string host = driveRoot;
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  const std::optional<std::string> root = canonical(host);
  bool onDisk = root.has_value();  // once a component is new, the rest are new too

  for (const std::string& component : *components) {
    const std::string utf8 = cp1250::toUtf8(component);
    std::optional<std::string> entry = onDisk ? findEntry(host, component, utf8) : std::nullopt;
    host += "/" + entry.value_or(utf8);
    if (!entry) {
      onDisk = false;
      continue;
    }
    struct stat st;
    if (::lstat(host.c_str(), &st) != 0) {
      onDisk = false;
      continue;
    }
    if (S_ISLNK(st.st_mode)) {
      // A link may point anywhere: follow it only while it stays on the drive.
      std::optional<std::string> target = canonical(host);
      if (!target || !isWithin(*target, *root)) return std::nullopt;
      if (::stat(host.c_str(), &st) != 0) return std::nullopt;
    }
    onDisk = S_ISDIR(st.st_mode);
  }
  return host;
}

std::optional<std::string> toHostPath(const std::string& windowsPath) {
  const Machine* machine = currentMachineOrNull();
  if (!machine) return std::nullopt;
  return mapToHost(machine->driveC(), windowsPath);
}

std::optional<std::string> toWindowsPath(const std::string& hostPath) {
  namespace fs = std::filesystem;
  const Machine* machine = currentMachineOrNull();
  if (!machine || hostPath.empty()) return std::nullopt;
  std::error_code ec;
  std::string trimmed = hostPath;
  while (trimmed.size() > 1 && trimmed.back() == '/') trimmed.pop_back();
  const fs::path path = fs::absolute(fs::path(trimmed), ec).lexically_normal();
  if (ec) return std::nullopt;
  std::string driveText = machine->driveC();
  while (driveText.size() > 1 && driveText.back() == '/') driveText.pop_back();
  const fs::path drive = fs::absolute(fs::path(driveText), ec).lexically_normal();
  if (ec) return std::nullopt;
  const fs::path relative = path.lexically_relative(drive);
  if (relative.empty() || *relative.begin() == "..") return std::nullopt;

  std::string result = "C:";
  for (const fs::path& part : relative) {
    const std::string name = part.string();
    if (name == "." || name.empty()) continue;
    const std::string ansi = cp1250::fromUtf8(name, '?');
    if (cp1250::toUtf8(ansi) != name) return std::nullopt;  // no cp1250 spelling
    result += "\\" + ansi;
  }
  if (result == "C:") result += "\\";
  return result;
}

}  // namespace morvin::platform
