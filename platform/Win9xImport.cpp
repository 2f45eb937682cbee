// The import: a machine made from a Windows 9x drive.
#include "Win9xImport.h"

#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <set>

#include "HostFileAttributes.h"
#include "HostFiles.h"
#include "Machine.h"
#include "MachineBuild.h"
#include "Win9xChoices.h"
#include "Win9xHostPath.h"
#include "Win9xNames.h"
#include "Win9xRecord.h"
#include "registry/Cp1250.h"
#include "registry/HiveStore.h"
#include "registry/HiveStoreNames.h"
#include "registry/Journal.h"
#include "registry/RegFile.h"
#include "registry/Win9xHive.h"

namespace morvin::platform::win9x {

namespace fs = std::filesystem;

namespace {

// A hive read in place on a folder drive, from one copy in `scratch` off an image.
DriveHive readHiveOf(Drive& drive, const std::string& path, reg::Key root, const std::string& scratch) {
  const OpenFile file = drive.open(path, scratch, reg::win9x::kLargestHive);
  if (!file) badInput(drive.source(), path + " is missing");
  DriveHive hive{path, reg::win9x::readHive(file.fd(), "", root, drive.source() + ": " + path), {}};
  std::string bytes;
  char buffer[65536];
  for (off_t at = 0;;) {
    const ssize_t n = ::pread(file.fd(), buffer, sizeof buffer, at);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) badInput(drive.source(), path + " cannot be read");
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
    at += n;
  }
  hive.state = {path, bytes.size(), contentHash(bytes)};
  return hive;
}

// USER.DAT as Windows shows it: .DEFAULT is HKEY_CURRENT_USER, every other
// key (a profile's, Software\... beside it) stays where it is under HKEY_USERS.
void asWindowsShowsUsers(DriveHive& hive, const std::string& source) {
  const std::string defaultUser = ".DEFAULT";
  bool found = false;
  for (reg::RegKeyEntry& key : hive.document.keys) {
    const std::string first = key.path.substr(0, key.path.find('\\'));
    if (!cp1250::equalsIgnoreCase(first, defaultUser)) {
      key.root = reg::kUsers;
      continue;
    }
    found = true;
    key.path = key.path.size() > first.size() ? key.path.substr(first.size() + 1) : std::string();
  }
  if (!found)
    throw reg::win9x::HiveError(cp1250::fromUtf8(source + ": " + hive.path) + ": has no key \".DEFAULT\"");
}

}  // namespace

DriveHive readDriveHive(Drive& drive, const std::string& path, reg::Key root, bool defaultUser,
                        const std::string& scratch) {
  DriveHive hive = readHiveOf(drive, path, root, scratch);
  if (defaultUser) asWindowsShowsUsers(hive, drive.source());
  return hive;
}

bool importMachine(const std::string& machineFolder, const ImportOptions& options) {
  const Machine machine(machineFolder);
  if (machine.exists() && !options.replace) return false;

  // Everything is read and checked before anything is built.
  const std::shared_ptr<Drive> drive =
      options.opened ? options.opened : std::shared_ptr<Drive>(openDrive(options.source, options.partition));
  const auto entries = drive->list();
  const DriveEntry* msDosEntry = find(entries, "MSDOS.SYS");
  ImportRecord record;
  record.source = options.source;
  record.user = options.user;
  record.partition = options.partition;
  if (msDosEntry) {
    record.msDosSys = readDriveFile(*drive, msDosEntry->path);
    const auto attributes = drive->attributes(msDosEntry->path);
    record.msDosAttributes = attributes < 0 ? 0 : static_cast<std::uint32_t>(attributes);
  }
  const std::string windowsPath = windowsFolderOf(record.msDosSys);
  const DriveEntry* windows = find(entries, windowsPath);
  if (!windows || !windows->folder) badInput(options.source, "there is no Windows folder " + windowsPath);
  const Names names{windows->path};
  record.windowsFolder = names.windows;

  std::string userHive = names.windows + "/USER.DAT";
  if (!options.user.empty()) {
    userHive = names.windows + "/Profiles/" + options.user + "/USER.DAT";
    if (!find(entries, userHive)) {
      std::string known;
      for (const std::string& profile : listProfiles(entries, names.windows))
        known += (known.empty() ? "" : ", ") + profile;
      badInput(options.source, "there is no user " + options.user + " (no " + userHive +
                                   "; users: " + (known.empty() ? "none" : known) + ")");
    }
  }
  const ScratchFolder scratch;
  const DriveEntry* systemEntry = find(entries, names.windows + "/SYSTEM.DAT");
  if (!systemEntry) badInput(options.source, names.windows + "/SYSTEM.DAT is missing");
  const DriveEntry* userEntry = find(entries, userHive);
  if (!userEntry) badInput(options.source, userHive + " is missing");
  const DriveHive system =
      readDriveHive(*drive, systemEntry->path, reg::kLocalMachine, false, scratch.path());
  const DriveHive user =
      readDriveHive(*drive, userEntry->path, reg::kCurrentUser, options.user.empty(), scratch.path());
  record.hives = {system.state, user.state};

  // What the windows read or show comes along; documents and programs stay.
  std::vector<std::string> shownFolders = {names.windows + "/Web/Wallpaper"};
  for (const char* name : {"Start Menu", "Common Start Menu"})
    if (auto folder = shellFolder(name[0] == 'S' ? user.document : system.document, name))
      shownFolders.push_back(*folder);
  auto copied = [&](const DriveEntry& e) {
    const fs::path path(e.path);
    if (folded(path.parent_path().generic_string()) == folded(names.windows) &&
        folded(path.extension().string()) == folded(".bmp"))
      return true;
    for (const std::string& folder : shownFolders)
      if (isUnder(e.path, folder)) return true;
    return false;
  };

  return buildMachine(machineFolder, options.replace, [&](const MachineBuild& building) {
    std::error_code ec;
    fs::create_directories(building.drive + "/" + kMachineWindows, ec);
    {
      // The drive's registry is where the machine's journal begins, not a change.
      reg::journal::Suspended startingPoint;
      reg::HiveStore store(building.drive + "/WINDOWS/SYSTEM.DAT", building.drive + "/WINDOWS/USER.DAT");
      reg::applyRegDocument(store, system.document);
      reg::applyRegDocument(store, user.document);
    }
    for (const DriveEntry& e : entries) {
      if (e.link || folded(e.path) == folded(system.path) || folded(e.path) == folded(user.path)) continue;
      const auto place = hostPathBelow(building.drive, names.toMachine(e.path));
      if (!place) badInput(options.source, "refused: " + e.path + " has no place in the machine");
      const std::string& target = *place;
      if (e.folder) {
        fs::create_directories(target, ec);
        if (ec) throw Exception("Cannot create " + cp1250::fromUtf8(target) + ": " + ec.message());
      } else if (copied(e)) {
        drive->copyOut(e.path, target);
      }
    }
    if (record.msDosSys) {
      const std::string bootFile = building.drive + "/MsDos.sys";
      if (!host::writeFileDurably(bootFile, *record.msDosSys))
        throw Exception("Cannot write " + cp1250::fromUtf8(bootFile));
      setHostFileAttributes(bootFile, record.msDosAttributes);
    }
    record.files = machineFiles(building.drive);
    writeRecord(building.record, record);
  });
}

}  // namespace morvin::platform::win9x
