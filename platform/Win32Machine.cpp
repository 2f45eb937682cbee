// On Windows the machine is the running system: its registry and its profile
// files are the system's own, nothing is provisioned, and the machine folder
// is the Windows drive's root.
#ifdef _WIN32

#include <memory>
#include <mutex>
#include <optional>

#include "DefaultMachine.h"
#include "Machine.h"
#include "WindowsFolder.h"
#include "registry/ProfileStore.h"
#include "registry/RegistryStore.h"
#include "registry/Win32ProfileStore.h"
#include "registry/Win32Store.h"

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

}  // namespace

bool Machine::exists() const {
  return true;
}

std::string defaultMachineFolder() {
  return KatalogWindows().substr(0, 3);  // "C:\"
}

bool provisionMachine(const std::string&, const std::string&) {
  return false;
}

// The system decides who may write where; `options` cannot narrow it.
void openMachine(const std::string& folder, const MachineOptions&) {
  reg::setCurrentStore(std::make_shared<reg::Win32Store>());
  reg::setCurrentProfileStore(std::make_shared<reg::Win32ProfileStore>());
  std::lock_guard lock(machineMutex());
  current().emplace(folder);
}

const Machine& currentMachine() {
  std::lock_guard lock(machineMutex());
  if (!current()) current().emplace(defaultMachineFolder());
  return *current();
}

// Nothing is provisioned on Windows, so there is no default machine file.
std::string defaultMachineRegFile(SystemLanguage) {
  return {};
}

std::string defaultMsDosSysFor(const std::string&) {
  return {};
}

}  // namespace morvin::platform

#endif
