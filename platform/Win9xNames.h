// Names on a Windows 9x drive and in a machine made from it, shared by the
// import and the hand-back. Not part of the Windows build.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Win9xDrive.h"
#include "registry/RegFile.h"

namespace morvin::platform::win9x {

inline constexpr const char* kShellFolders =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* kMachineWindows = "WINDOWS";  // the machine's Windows folder (KatalogWindows)

[[noreturn]] void badInput(const std::string& source, const std::string& what);

// Why `utf8Name` (one name, no separators) cannot stand on a FAT drive as
// Windows 98 reads it: empty, only dots, a control character, one of
// \ / : * ? " < > |, a device name (CON, LPT1.TXT), longer than 255, a
// blank or dot at its end, or a character outside cp1250. nullopt when it can.
std::optional<std::string> fatNameProblem(const std::string& utf8Name);
// Why `path` (a path of the drive, '/'-separated) cannot be written; checks
// each name and the whole length (MAX_PATH with "C:\\").
std::optional<std::string> fatPathProblem(const std::string& path);
// A registry file of Windows 9x or one of its backups, by its name
// (SYSTEM.DAT, USER.DAT, CLASSES.DAT, SYSTEM.DA0, USER.1ST, ...): never a
// write target, wherever it lies.
bool isHiveName(const std::string& utf8Name);

// Names compared as Windows compares them (cp1250, without regard to case).
std::string folded(const std::string& utf8);
bool isUnder(const std::string& path, const std::string& folder);

// A C:\ path (cp1250) as a path of the drive; nullopt for another drive.
std::optional<std::string> drivePath(const std::string& windowsPath);

// The drive's Windows folder and the machine's are the same folder under two
// names: whatever MSDOS.SYS calls it, the machine calls it WINDOWS.
struct Names {
  std::string windows;  // on the drive, as stored

  std::string toMachine(const std::string& path) const {
    return isUnder(path, windows) ? kMachineWindows + path.substr(windows.size()) : path;
  }
  std::string toDrive(const std::string& path) const {
    return isUnder(path, kMachineWindows) ? windows + path.substr(std::string(kMachineWindows).size()) : path;
  }
};

// [Paths] WinDir of MSDOS.SYS, as a path of the drive; "WINDOWS" without one.
std::string windowsFolderOf(const std::optional<std::string>& msDosSys);

const DriveEntry* find(const std::vector<DriveEntry>& entries, const std::string& path);

// Why one name (UTF-8) listed on a drive cannot be taken, empty when it can:
// empty, ".", "..", a character no Windows name holds ('/', '\', ':', the
// wildcards, NUL or another control character), not UTF-8, or longer than
// the 255 UTF-16 units of a FAT long name.
std::string nameFault(const std::string& name);

// A drive's listing checked once, where it is read: every name of every
// path, each in a listed folder (a '/' inside one name shows as a folder
// that is not there), and no two names of one folder the same to Windows.
// Throws DriveError (bad input) naming the path.
void checkListing(const std::string& source, const std::vector<DriveEntry>& entries);

// A Shell Folders value of `document` as a path of the drive.
std::optional<std::string> shellFolder(const reg::RegDocument& document, const std::string& name);

}  // namespace morvin::platform::win9x
