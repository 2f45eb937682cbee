// What the user chooses before a machine is made from a Windows 9x drive:
// the partition of a disk image, the user profile, and the name the drive's
// own registry gives the computer. Read in one pass over the drive (a virtual
// machine's disk is converted once), every name through the drive's checked
// listing and every hive through the import's reader. Not part of the
// Windows build.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Win9xDrive.h"
#include "Win9xPartitions.h"

namespace morvin::platform::win9x {

// Where Windows 9x keeps the computer's name (HKEY_LOCAL_MACHINE).
inline constexpr const char* kComputerNameKey =
    "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName";

struct DriveVolume {
  Partition partition;                      // number 0: a folder or a bare FAT volume
  bool windows = false;                     // holds a Windows folder with SYSTEM.DAT
  std::vector<std::string> profiles;        // Profiles\NAME with a USER.DAT, as stored (UTF-8), in name order
  std::optional<std::string> computerName;  // cp1250, as the registry holds it; nullopt when unreadable
};

struct DriveChoices {
  std::vector<DriveVolume> volumes;  // one per FAT partition, or the one volume
  std::size_t preferred = 0;         // the first volume holding Windows, else the first
  // The source opened on the preferred volume, kept for the import
  // (ImportOptions::opened) so a virtual machine's disk is not read twice.
  std::shared_ptr<Drive> opened;
};

// Reads a folder, a raw disk image or a virtual machine's disk. Throws
// DriveError as openDrive and listPartitions do, and for a listing or an
// MSDOS.SYS that the import would refuse; a SYSTEM.DAT that cannot be read
// only leaves the computer's name out.
DriveChoices surveyDrive(const std::string& source);

// The user profiles of a drive's listing under its Windows folder `windows`.
std::vector<std::string> listProfiles(const std::vector<DriveEntry>& entries, const std::string& windows);

}  // namespace morvin::platform::win9x
