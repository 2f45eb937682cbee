// Handing a machine's changes back to the Windows 9x drive it was made from:
// the registry as C:\MORVINNG.REG with a batch file in the Startup folder that
// applies it at the next logon, MSDOS.SYS, and the files the program made. The
// drive's own hives are never written. Not part of the Windows build.
#pragma once

#include <string>
#include <vector>

#include "Win9xDrive.h"
#include "registry/RegistryStore.h"

namespace morvin::platform::win9x {

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
