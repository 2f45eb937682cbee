// The machine folder: a Windows 98 drive C: image whose hives are SQLite
// databases. Opening one makes it the machine every layer works on.
#pragma once

#include <memory>
#include <string>

namespace morvin::platform {

struct MachineOptions {
  // Forces a hive read-only, as a user without rights over it sees it.
  bool readOnlyLocalMachine = false;
  bool readOnlyCurrentUser = false;
};

class Machine {
 public:
  explicit Machine(std::string folder) : folder_(std::move(folder)) {}
  const std::string& folder() const { return folder_; }  // host path, UTF-8
  std::string driveC() const { return folder_ + "/drive_c"; }
  std::string systemDat() const { return driveC() + "/WINDOWS/SYSTEM.DAT"; }
  std::string userDat() const { return driveC() + "/WINDOWS/USER.DAT"; }
  // What a machine made from a Windows 9x drive keeps about that drive.
  std::string record() const { return folder_ + "/import"; }
  bool exists() const;

 private:
  std::string folder_;
};

// $XDG_DATA_HOME/morvin-ng (~/.local/share when unset): where the program keeps its machines.
std::string programDataFolder();

// $MORVIN_MACHINE, else $XDG_DATA_HOME/morvin-ng/machine (~/.local/share when unset).
std::string defaultMachineFolder();

// Provisions the default machine when `folder` holds none yet (never overwrites
// an existing one). Returns true when it provisioned. Throws morvin::Exception.
bool provisionMachine(const std::string& folder, const std::string& defaultRegFile);

// Opens the machine: installs its hive store and profile store as the current
// ones and makes it the machine the drive mapping uses. Throws morvin::Exception
// (naming the file) when a hive is corrupt.
void openMachine(const std::string& folder, const MachineOptions& options = {});
const Machine& currentMachine();

}  // namespace morvin::platform
