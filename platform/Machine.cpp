#include "Machine.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <optional>

#include "DriveMapping.h"
#include "MachineState.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/HiveStore.h"
#include "registry/HostProfileStore.h"
#include "registry/JournalProfileStore.h"
#include "registry/ProfileStore.h"
#include "registry/RegistryStore.h"

namespace morvin::platform {
namespace {

std::mutex& machineMutex() {
  static std::mutex m;
  return m;
}

std::optional<Machine>& current() {
  static std::optional<Machine> machine;
  return machine;
}

std::string upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// MORVIN_READONLY_HIVES ("HKLM", "HKCU", "HKLM,HKCU") makes hives read-only,
// as a user without rights over them sees them.
MachineOptions withEnvironment(MachineOptions options) {
  const char* value = std::getenv("MORVIN_READONLY_HIVES");
  if (!value) return options;
  const std::string list = value;
  std::size_t pos = 0;
  while (pos <= list.size()) {
    std::size_t end = list.find(',', pos);
    if (end == std::string::npos) end = list.size();
    const std::string name = upper(trimmed(list.substr(pos, end - pos)));
    pos = end + 1;
    if (name.empty()) continue;
    if (name == "HKLM" || name == "HKEY_LOCAL_MACHINE")
      options.readOnlyLocalMachine = true;
    else if (name == "HKCU" || name == "HKEY_CURRENT_USER")
      options.readOnlyCurrentUser = true;
    else
      throw Exception("MORVIN_READONLY_HIVES: unknown hive '" + cp1250::fromUtf8(name) +
                      "' (use HKLM, HKCU or both, separated by a comma)");
  }
  return options;
}

}  // namespace

std::string programDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/morvin-ng";  // relative values are to be ignored
  const char* home = std::getenv("HOME");
  if (!home || !home[0]) {
    const passwd* user = ::getpwuid(::getuid());
    home = user && user->pw_dir ? user->pw_dir : ".";
  }
  return std::string(home) + "/.local/share/morvin-ng";
}

bool Machine::exists() const {
  struct stat st;
  return ::stat(driveC().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string defaultMachineFolder() {
  const char* machine = std::getenv("MORVIN_MACHINE");
  if (machine && machine[0]) return machine;
  return programDataFolder() + "/machine";
}

void openMachine(const std::string& folder, const MachineOptions& options) {
  Machine machine(folder);
  if (!machine.exists())
    throw Exception(formatMessage("There is no machine in %s", cp1250::fromUtf8(folder)));
  const MachineOptions effective = withEnvironment(options);
  std::error_code ec;
  std::filesystem::create_directories(machine.driveC() + "/WINDOWS", ec);
  // Built before anything is switched, so a hive that does not open leaves
  // the previous machine current.
  auto store = std::make_shared<reg::HiveStore>(
      machine.systemDat(), machine.userDat(), effective.readOnlyLocalMachine, effective.readOnlyCurrentUser);
  auto files = std::make_shared<reg::HostProfileStore>(
      [drive = machine.driveC()](const std::string& windowsPath) { return mapToHost(drive, windowsPath); });
  auto profiles = std::make_shared<reg::JournalProfileStore>(std::move(files), store);
  std::lock_guard lock(machineMutex());
  if (current())
    *current() = machine;
  else
    current().emplace(machine);
  reg::setCurrentStore(std::move(store));
  reg::setCurrentProfileStore(std::move(profiles));
}

const Machine& currentMachine() {
  std::lock_guard lock(machineMutex());
  if (!current()) throw Exception("No machine is open");
  return *current();
}

const Machine* currentMachineOrNull() {
  std::lock_guard lock(machineMutex());
  return current() ? &*current() : nullptr;
}

void closeCurrentMachine() {
  std::lock_guard lock(machineMutex());
  current().reset();
  reg::setCurrentStore(nullptr);
  reg::setCurrentProfileStore(nullptr);
}

}  // namespace morvin::platform
