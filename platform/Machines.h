// The machines the program keeps: its own default one ("Domyślna", in
// programDataFolder()/machine) and any number made from Windows 9x drives,
// each in programDataFolder()/machines/NAME. Names and paths are UTF-8, as
// the host's file names are. Not part of the Windows build.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace morvin::platform {

// The default machine's name.
inline constexpr const char* kDefaultMachineName = "Domyślna";

struct MachineInfo {
  std::string name;
  std::string folder;
  bool fromDrive = false;
  std::string source;  // the drive folder or disk image it was read from; empty for the default one
  std::string format;  // "folder", "raw", "vdi", "vmdk", "qcow2", "vpc"; empty when unknown
  int partition = 0;   // of a disk image, 0 when not named
  std::optional<std::time_t> read, handedBack;
  int waiting = 0;  // changes not handed back yet; -1 when the journal cannot be read
  bool inUse = false;
};

// programDataFolder()/machines
std::string machinesFolder();

// A name a machine can have: a file name of the host and nothing else (no
// '/', no control characters, not "." or ".."), at most 64 bytes.
bool isMachineName(const std::string& name);

// What `--machine` names: a folder when it holds a '/' or names a folder
// that exists, the default machine by its name, else machines/NAME (which
// need not exist yet: init --from makes it).
std::string machineFolderFor(const std::string& nameOrFolder);

// The default machine first, then the others in name order; the one in
// `folderInUse` is marked (and listed last, named by its folder, when it is
// none of them). Each machine's journal is read, never written.
std::vector<MachineInfo> listMachines(const std::string& folderInUse);

// Removes a machine made from a drive (never the default one, never the
// drive). Throws morvin::Exception when it is not such a machine.
void removeMachine(const std::string& name);

}  // namespace morvin::platform
