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

struct ApplyResult {
  std::vector<std::string> written;   // drive paths, in order; folders end with '/'
  std::vector<std::string> warnings;  // machine files left out, UTF-8, one line each
};

// Writes what changed into the drive: `changes` is the registry's net change
// since the import as a REGEDIT4 file (empty when there is none), `store` the
// machine's registry (for the Startup folder and the OEM code page). The
// whole hand-back is planned and checked before its first write; each file
// is replaced through a temporary name. Throws DriveError: Fault::Changed
// when the hives differ from the import, or a file changed both on the
// drive and in the machine, and `force` is unset; Fault::BadInput for a
// target path that cannot be written (a link, a special file, a hive, a
// Startup folder no batch file can stand in); Fault::Failure when the machine
// was not made by importMachine, another apply holds it, or another program
// holds the image.
ApplyResult applyToDrive(const std::string& machineFolder, const ApplyOptions& options,
                         reg::RegistryStore& store, const std::string& changes);

// The batch file that applies C:\MORVINNG.REG and then deletes the .reg file
// and itself (`batchPath` is its own C:\ path, cp1250), in the OEM code page
// COMMAND.COM reads it in, CR LF, each % doubled. Throws DriveError
// (BadInput) when the path holds a character that code page lacks.
std::string startupBatch(const std::string& batchPath, int oemCodePage);

}  // namespace morvin::platform::win9x
