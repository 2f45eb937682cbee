// The partitions, user profiles and computer names of a Windows 9x drive.
#include "Win9xChoices.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Win9xHostPath.h"
#include "Win9xImport.h"
#include "Win9xNames.h"
#include "Win9xVirtualDisk.h"
#include "registry/Cp1250.h"
#include "registry/Win9xHive.h"

namespace morvin::platform::win9x {

namespace fs = std::filesystem;

namespace {

// The ComputerName value of SYSTEM.DAT read as the import reads it.
std::optional<std::string> computerNameOf(Drive& drive, const std::string& systemPath) {
  try {
    const ScratchFolder scratch;
    const DriveHive hive = readDriveHive(drive, systemPath, reg::kLocalMachine, false, scratch.path());
    for (const reg::RegKeyEntry& key : hive.document.keys) {
      if (!cp1250::equalsIgnoreCase(key.path, kComputerNameKey)) continue;
      for (const reg::RegValueEntry& value : key.values) {
        if (!cp1250::equalsIgnoreCase(value.name, "ComputerName") || value.type != 1) continue;
        return value.data.substr(0, value.data.find('\0'));
      }
    }
  } catch (const reg::win9x::HiveError&) {
  } catch (const DriveError&) {
  }
  return std::nullopt;
}

DriveVolume surveyVolume(Drive& drive, const Partition& partition) {
  DriveVolume volume;
  volume.partition = partition;
  const auto entries = drive.list();
  std::optional<std::string> msDosSys;
  if (const DriveEntry* msDos = find(entries, "MSDOS.SYS"); msDos && !msDos->folder)
    msDosSys = readDriveFile(drive, msDos->path);
  const DriveEntry* windows = find(entries, windowsFolderOf(msDosSys));
  if (!windows || !windows->folder || windows->link) return volume;
  volume.profiles = listProfiles(entries, windows->path);
  const DriveEntry* system = find(entries, windows->path + "/SYSTEM.DAT");
  volume.windows = system && !system->folder && !system->link;
  if (volume.windows) volume.computerName = computerNameOf(drive, system->path);
  return volume;
}

// Every FAT volume of a raw image; returns the drive of the preferred one.
std::unique_ptr<Drive> surveyImage(const std::string& raw, DriveChoices& choices) {
  const auto partitions = listPartitions(raw);
  if (partitions.empty()) {
    auto drive = openDrive(raw, 0);
    choices.volumes.push_back(surveyVolume(*drive, {}));
    return drive;
  }
  std::unique_ptr<Drive> preferred;
  for (const Partition& partition : partitions) {
    auto drive = openDrive(raw, partition.number);
    choices.volumes.push_back(surveyVolume(*drive, partition));
    if (!preferred && choices.volumes.back().windows) {
      preferred = std::move(drive);
      choices.preferred = choices.volumes.size() - 1;
    }
  }
  return preferred ? std::move(preferred) : openDrive(raw, partitions.front().number);
}

}  // namespace

std::vector<std::string> listProfiles(const std::vector<DriveEntry>& entries, const std::string& windows) {
  const std::string profilesFolder = folded(windows + "/Profiles");
  std::vector<std::string> profiles;
  for (const DriveEntry& e : entries) {
    const fs::path path(e.path);
    if (e.folder || e.link || folded(path.filename().string()) != folded("USER.DAT") ||
        folded(path.parent_path().parent_path().generic_string()) != profilesFolder)
      continue;
    profiles.push_back(path.parent_path().filename().string());
  }
  std::sort(profiles.begin(), profiles.end(),
            [](const std::string& a, const std::string& b) { return folded(a) < folded(b); });
  return profiles;
}

DriveChoices surveyDrive(const std::string& source) {
  DriveChoices choices;
  struct stat st {};
  if (::stat(source.c_str(), &st) != 0)
    throw DriveError(cp1250::fromUtf8(source + ": " + std::strerror(errno)), Fault::BadInput);
  if (S_ISDIR(st.st_mode)) {
    auto drive = openDrive(source, 0);
    choices.volumes.push_back(surveyVolume(*drive, {}));
    choices.opened = std::move(drive);
    return choices;
  }
  if (!S_ISREG(st.st_mode) && !S_ISBLK(st.st_mode))
    throw DriveError(cp1250::fromUtf8(source + ": is neither a folder nor a disk image"), Fault::BadInput);
  refuseIfInUse(source);
  // A virtual machine's disk: its one raw copy is surveyed and kept open.
  std::unique_ptr<Drive> disk;
  if (S_ISREG(st.st_mode))
    disk = openVirtualDisk(source, [&](const std::string& raw) { return surveyImage(raw, choices); });
  choices.opened = disk ? std::move(disk) : surveyImage(source, choices);
  return choices;
}

}  // namespace morvin::platform::win9x
