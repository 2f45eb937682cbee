// The second round trip: once Windows 98 has taken a hand-back (or changed
// its registry by itself), the drive's hives are read again and become the
// machine's new starting point, with the changes made in the machine since
// the hand-back kept on top. Not part of the Windows build.
#pragma once

#include <string>
#include <vector>

#include "Win9xDrive.h"
#include "Win9xRecord.h"
#include "registry/HiveStore.h"

namespace morvin::platform::win9x {

struct RefreshOutcome {
  bool read = false;  // the drive's hives had changed and were read
  int fromDrive = 0;  // values (and keys) the machine took from the drive
  int kept = 0;       // the machine's own changes kept on top
};

// Under the machine's lock, with `drive` open and locked: when the drive's
// hives differ from `record`, reads them, writes the drive's values the
// machine did not change as one journaled group (journal::kRefreshSource),
// and updates `record` (written to `recordFolder`). A value changed both in
// Windows and in the machine since the last hand-back is a conflict:
// DriveError (Fault::Changed) naming each with both states, nothing written,
// unless `force` (the machine's state wins).
RefreshOutcome refreshFromDrive(const std::string& recordFolder, ImportRecord& record, Drive& drive,
                                reg::RegistryStore& store, bool force);

// The changes file without the stamp a refresh leaves in the machine's
// registry (HKEY_LOCAL_MACHINE\Software\Morvin\Win98): it marks the refresh
// in the history and is no change for the drive.
std::string withoutRefreshStamp(const std::string& changes);

class KeptDrive;

struct RefreshOptions {
  std::string target;  // empty: the drive the machine was made from
  int partition = 0;
  bool force = false;
  KeptDrive* kept = nullptr;  // the drive comes from and goes back there (a refresh writes none)
};
// refreshFromDrive on the machine in `machineFolder`, taking its lock.
RefreshOutcome refreshMachine(const std::string& machineFolder, const RefreshOptions& options,
                              reg::RegistryStore& store);

}  // namespace morvin::platform::win9x
