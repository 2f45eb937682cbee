// A machine made from a Windows 9x drive, and its changes handed back to that
// drive. Not part of the Windows build.
//
// The import reads the drive's hives into the machine's hive store, copies
// MSDOS.SYS with its attributes, creates the drive's folder tree and copies
// the files the windows read or show (the Windows folder's bitmaps, its
// wallpaper pages, the Start menu). Handing back writes what changed since:
// the registry as C:\MORVINNG.REG with a batch file in the Startup folder that
// applies it at the next logon, MSDOS.SYS, and the files the program made. The
// drive's own hives are never written.
#pragma once

#include <string>
#include <vector>

#include "Win9xDrive.h"
#include "registry/RegistryStore.h"

namespace morvin::platform::win9x {

struct ImportOptions {
  std::string source;  // a folder or a disk image (UTF-8)
  int partition = 0;   // of an image; 0 = the first FAT one
  std::string user;    // a user profile (Profiles\NAME\USER.DAT); empty = .DEFAULT
  bool replace = false;
};

// Builds the machine in `machineFolder` from the drive; false when a machine
// is there already and `replace` is not set. A failure leaves the folder as
// it was. Throws DriveError (the drive), reg::win9x::HiveError (a hive that
// cannot be read: bad input) or morvin::Exception (the machine).
bool importMachine(const std::string& machineFolder, const ImportOptions& options);

struct ApplyOptions {
  std::string target;
  int partition = 0;
  bool dryRun = false;
  bool force = false;  // write although the drive's hives changed since the import
};

// Writes what changed into the drive: `changes` is the registry's net change
// since the import as a REGEDIT4 file (empty when there is none), `store` the
// machine's registry (for the Startup folder). Returns the drive paths
// written (or, for a dry run, to be written), in order. Throws DriveError:
// Fault::Changed when the hives differ from the import and `force` is unset,
// Fault::Failure when the machine was not made by importMachine.
std::vector<std::string> applyToDrive(const std::string& machineFolder, const ApplyOptions& options,
                                      reg::RegistryStore& store, const std::string& changes);

// The batch file that applies C:\MORVINNG.REG and then deletes the .reg file
// and itself (`batchPath` is its own C:\ path, cp1250). cp1250, CR LF.
std::string startupBatch(const std::string& batchPath);

}  // namespace morvin::platform::win9x
