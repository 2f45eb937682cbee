// A machine made from a Windows 9x drive, and its changes handed back to that
// drive. Not part of the Windows build.
//
// The import reads the drive's hives into the machine's hive store, copies
// MSDOS.SYS with its attributes, creates the drive's folder tree and copies
// the files the windows read or show (the Windows folder's bitmaps, its
// wallpaper pages, the Start menu). Handing back is in Win9xApply.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Win9xDrive.h"
#include "Win9xRecord.h"
#include "registry/RegFile.h"
#include "registry/RegistryStore.h"

namespace morvin::platform::win9x {

struct ImportOptions {
  std::string source;  // a folder or a disk image (UTF-8)
  int partition = 0;   // of an image; 0 = the first FAT one
  std::string user;    // a user profile (Profiles\NAME\USER.DAT); empty = .DEFAULT
  bool replace = false;
  // The source already open on `partition` (Win9xChoices.h), read instead of
  // opening it again; nullptr opens it.
  std::shared_ptr<Drive> opened = nullptr;
};

// Builds the machine in `machineFolder` from the drive; false when a machine
// is there already and `replace` is not set. A failure leaves the folder as
// it was. Throws DriveError (the drive), reg::win9x::HiveError (a hive that
// cannot be read: bad input) or morvin::Exception (the machine).
bool importMachine(const std::string& machineFolder, const ImportOptions& options);

// A hive of the drive as the import reads it: read in place on a folder
// drive, from one copy in `scratch` off an image, never larger than a
// Windows 9x hive. With `defaultUser` (a USER.DAT that is not a profile's),
// .DEFAULT is HKEY_CURRENT_USER and every other key stays under HKEY_USERS.
// Throws DriveError or reg::win9x::HiveError (bad input).
struct DriveHive {
  std::string path;  // on the drive
  reg::RegDocument document;
  HiveState state;
};
DriveHive readDriveHive(Drive& drive, const std::string& path, reg::Key root, bool defaultUser,
                        const std::string& scratch);

}  // namespace morvin::platform::win9x
