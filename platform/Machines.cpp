// The machines the program keeps: their names, where they lie, and what each
// knows of the drive it was made from.
#include "Machines.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <memory>

#include "DriveMapping.h"
#include "HostFiles.h"
#include "Machine.h"
#include "Win9xRecord.h"
#include "Win9xVirtualDisk.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/HiveStore.h"
#include "registry/HostProfileStore.h"
#include "registry/JournalHistory.h"

namespace morvin::platform {

namespace fs = std::filesystem;

namespace {

bool sameFolder(const std::string& a, const std::string& b) {
  std::error_code ec;
  return fs::equivalent(a, b, ec);
}

// When a file or folder came to be (its birth time where the file system
// keeps one), or when it was last written.
std::optional<std::time_t> bornAt(const std::string& path, bool lastWritten) {
  struct statx st {};
  if (::statx(AT_FDCWD, path.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BTIME | STATX_MTIME, &st) != 0)
    return std::nullopt;
  if (!lastWritten && (st.stx_mask & STATX_BTIME)) return st.stx_btime.tv_sec;
  return st.stx_mtime.tv_sec;
}

std::string formatOf(const std::string& source) {
  std::error_code ec;
  if (fs::is_directory(source, ec)) return "folder";
  if (!fs::is_regular_file(source, ec)) return {};
  try {
    return win9x::diskFormat(source);
  } catch (const std::exception&) {
    return {};  // in use, or no longer a disk that can be written
  }
}

// The changes not handed back yet: the registry's are handed back when the
// last hand-back carried its net changes as they are now, MSDOS.SYS's when
// the drive got the file as it is now.
int waitingChanges(const Machine& machine, const std::optional<win9x::ImportRecord>& record) {
  try {
    auto store = std::make_shared<reg::HiveStore>(machine.systemDat(), machine.userDat(), true, true);
    reg::HostProfileStore files(
        [drive = machine.driveC()](const std::string& windowsPath) { return mapToHost(drive, windowsPath); });
    const auto changes = reg::journal::netChanges(*store, files);
    if (!record) return static_cast<int>(changes.size());
    const auto profile = std::count_if(changes.begin(), changes.end(), [](const reg::journal::NetChange& c) {
      return c.first.kind == reg::journal::Kind::Profile;
    });
    const auto registry = static_cast<long>(changes.size()) - profile;
    const bool registryHandedBack =
        record->handedBack != 0 &&
        win9x::contentHash(reg::journal::changesReg(changes)) == record->handedBack;
    const bool msDosHandedBack =
        record->msDosSys && host::readFile(machine.driveC() + "/MsDos.sys") == record->msDosSys;
    return static_cast<int>((registryHandedBack ? 0 : registry) + (msDosHandedBack ? 0 : profile));
  } catch (const std::exception&) {
    return -1;
  }
}

MachineInfo describe(const std::string& name, const std::string& folder) {
  const Machine machine(folder);
  MachineInfo info;
  info.name = name;
  info.folder = folder;
  const auto record = win9x::readRecord(machine.record());
  info.fromDrive = record.has_value();
  if (record) {
    info.source = record->source;
    info.format = formatOf(record->source);
    info.partition = record->partition;
    info.read = bornAt(machine.record(), false);
    if (record->handedBack != 0) info.handedBack = bornAt(machine.record() + "/MORVINNG.REG", true);
  }
  info.waiting = waitingChanges(machine, record);
  return info;
}

}  // namespace

std::string machinesFolder() {
  return programDataFolder() + "/machines";
}

bool isMachineName(const std::string& name) {
  if (name.empty() || name.size() > 64 || name == "." || name == "..") return false;
  return std::none_of(name.begin(), name.end(), [](char c) {
    return c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F;
  });
}

std::string machineFolderFor(const std::string& nameOrFolder) {
  std::error_code ec;
  if (nameOrFolder.find('/') != std::string::npos || fs::is_directory(nameOrFolder, ec)) return nameOrFolder;
  if (nameOrFolder == kDefaultMachineName) return programDataFolder() + "/machine";
  if (!isMachineName(nameOrFolder))
    throw Exception(cp1250::fromUtf8("\"" + nameOrFolder + "\" is neither a folder nor a machine's name"));
  return machinesFolder() + "/" + nameOrFolder;
}

std::vector<MachineInfo> listMachines(const std::string& folderInUse) {
  std::vector<MachineInfo> machines;
  const std::string defaultFolder = programDataFolder() + "/machine";
  if (Machine(defaultFolder).exists()) machines.push_back(describe(kDefaultMachineName, defaultFolder));
  std::vector<std::string> names;
  std::error_code ec;
  for (auto it = fs::directory_iterator(machinesFolder(), ec); !ec && it != fs::end(it); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (isMachineName(name) && !it->is_symlink() && Machine(it->path().string()).exists())
      names.push_back(name);
  }
  std::sort(names.begin(), names.end());
  for (const std::string& name : names) machines.push_back(describe(name, machinesFolder() + "/" + name));
  for (MachineInfo& m : machines) m.inUse = sameFolder(m.folder, folderInUse);
  // A machine chosen for this run by its folder ($MORVIN_MACHINE, --machine DIR) is named by it.
  const bool listed =
      std::any_of(machines.begin(), machines.end(), [](const MachineInfo& m) { return m.inUse; });
  if (!listed && Machine(folderInUse).exists()) {
    machines.push_back(describe(folderInUse, folderInUse));
    machines.back().inUse = true;
  }
  return machines;
}

void removeMachine(const std::string& name) {
  if (!isMachineName(name) || name == kDefaultMachineName)
    throw Exception(
        cp1250::fromUtf8("Only a machine made from a drive can be removed, not \"" + name + "\""));
  const std::string folder = machinesFolder() + "/" + name;
  if (!win9x::readRecord(Machine(folder).record()))
    throw Exception(cp1250::fromUtf8("There is no machine made from a drive called \"" + name + "\""));
  // Out of the list at once (a rename), then gone; the drive is never opened.
  const std::string leaving = machinesFolder() + "/.removing-" + name;
  std::error_code ec;
  fs::rename(folder, leaving, ec);
  if (ec) throw Exception(cp1250::fromUtf8("Cannot remove " + folder + ": " + ec.message()));
  fs::remove_all(leaving, ec);
}

}  // namespace morvin::platform
