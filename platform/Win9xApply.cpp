// Handing the changes back: what changed in a machine made from a Windows 9x
// drive, written into that drive.
#include "Win9xApply.h"

#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

#include "HostFileAttributes.h"
#include "HostFiles.h"
#include "Machine.h"
#include "MachineBuild.h"
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

constexpr const char* kChangesFile = "MORVINNG.REG";
constexpr const char* kBatchFile = "MORVINNG.BAT";

const reg::RegKeyEntry* findKey(const reg::RegDocument& document, const reg::RegKeyEntry& key) {
  for (const reg::RegKeyEntry& k : document.keys)
    if (k.root == key.root && cp1250::equalsIgnoreCase(k.path, key.path)) return &k;
  return nullptr;
}

bool mentions(const reg::RegDocument& document, const reg::RegKeyEntry& key, const std::string& value) {
  const reg::RegKeyEntry* k = findKey(document, key);
  if (!k) return false;
  for (const reg::RegValueEntry& v : k->values)
    if (cp1250::equalsIgnoreCase(v.name, value)) return true;
  return false;
}

// The changes since the import, plus whatever an earlier hand-back changed
// and has been taken back since: those values go back to what the machine
// holds now, or the drive would keep the change. Empty when there is nothing.
std::string withTakenBack(const std::string& changes, const std::string& lastHandedBack,
                          reg::RegistryStore& store) {
  reg::RegDocument now = changes.empty() ? reg::RegDocument{} : reg::parseRegText(changes);
  if (!lastHandedBack.empty()) {
    const reg::RegDocument last = reg::parseRegText(lastHandedBack);
    reg::RegDocument restore;
    for (const reg::RegKeyEntry& key : last.keys) {
      if (findKey(now, key) && (key.remove || key.values.empty())) continue;
      reg::Key handle = 0;
      const bool exists = store.openKey(key.root, key.path, reg::access::Read, &handle) == reg::err::Success;
      if (key.remove || key.values.empty()) {
        // A key removed (or made) then: now as it is in the machine.
        if (exists && key.remove) reg::readRegTree(store, key.root, key.path, &restore);
        if (!exists && !key.remove) restore.keys.push_back({key.root, key.path, true, {}});
      } else {
        reg::RegKeyEntry entry{key.root, key.path, false, {}};
        for (const reg::RegValueEntry& value : key.values) {
          if (mentions(now, key, value.name)) continue;
          reg::RegValueEntry current{value.name, true, 0, {}};
          if (exists && reg::readWholeValue(store, handle, value.name, &current.type, &current.data) ==
                            reg::err::Success)
            current.remove = false;
          entry.values.push_back(current);
        }
        if (!entry.values.empty()) restore.keys.push_back(entry);
      }
      if (exists) store.closeKey(handle);
    }
    now.keys.insert(now.keys.end(), restore.keys.begin(), restore.keys.end());
  }
  return now.keys.empty() ? std::string() : reg::writeRegText(now);
}

}  // namespace

std::string startupBatch(const std::string& batchPath) {
  return "@ECHO OFF\r\n"
         "regedit /s C:\\MORVINNG.REG\r\n"
         "del C:\\MORVINNG.REG\r\n"
         "del \"" +
         batchPath + "\"\r\n";
}

std::vector<std::string> applyToDrive(const std::string& machineFolder, const ApplyOptions& options,
                                      reg::RegistryStore& store, const std::string& changes) {
  const Machine machine(machineFolder);
  auto record = readRecord(machine.record());
  if (!machine.exists() || !record || record->drive != driveIdentity(machine.driveC()))
    throw DriveError(
        cp1250::fromUtf8("The machine in " + machineFolder +
                         " was not made from a Windows 9x drive (morvin-reg init --from SOURCE)"),
        Fault::Failure);
  auto drive = openDrive(options.target, options.partition);
  const Names names{record->windowsFolder};

  std::vector<HiveState> hivesNow;
  for (const HiveState& hive : record->hives) {
    const auto bytes = readDriveFile(*drive, hive.path);
    HiveState now{hive.path, bytes ? bytes->size() : 0, bytes ? contentHash(*bytes) : 0};
    if ((!bytes || now.size != hive.size || now.hash != hive.hash) && !options.force)
      throw DriveError(cp1250::fromUtf8(options.target + ": " + hive.path +
                                        " changed since the import, so the changes may no longer fit "
                                        "(hand them back anyway with --force)"),
                       Fault::Changed);
    hivesNow.push_back(now);
  }

  // The plan: folders and files the program made, MSDOS.SYS, the registry.
  struct Write {
    std::string drivePath;
    std::optional<std::string> bytes;  // nullopt for a folder
  };
  std::vector<Write> plan;
  const auto files = machineFiles(machine.driveC());
  std::map<std::string, FileState> before;
  for (const FileState& f : record->files) before[f.path] = f;
  for (const FileState& f : files) {
    auto it = before.find(f.path);
    if (it != before.end() && it->second == f) continue;
    if (f.folder)
      plan.push_back({names.toDrive(f.path), std::nullopt});
    else
      plan.push_back({names.toDrive(f.path), host::readFile(machine.driveC() + "/" + f.path)});
  }
  // MSDOS.SYS goes back when its text changed, with the attributes it has on
  // the drive (the program lifts them on the machine while it runs).
  const auto msDosNow = host::readFile(machine.driveC() + "/MsDos.sys");
  if (msDosNow && msDosNow != record->msDosSys) plan.push_back({"MSDOS.SYS", msDosNow});

  const std::string lastHandedBack = host::readFile(machine.record() + "/" + kChangesFile).value_or("");
  const std::string handBack = withTakenBack(changes, lastHandedBack, store);
  const std::uint64_t changesHash = handBack.empty() ? 0 : contentHash(handBack);
  if (!handBack.empty() && changesHash != record->handedBack) {
    reg::Key key = 0;
    std::string startup;
    if (store.openKey(reg::kCurrentUser, kShellFolders, reg::access::Read, &key) == reg::err::Success) {
      std::uint32_t type = 0;
      if (reg::readWholeValue(store, key, "Startup", &type, &startup) == reg::err::Success)
        startup = startup.substr(0, startup.find('\0'));
      store.closeKey(key);
    }
    const auto startupFolder = drivePath(startup);
    if (!startupFolder || startupFolder->empty())
      throw DriveError(cp1250::fromUtf8("The machine's registry names no Startup folder on drive C: "
                                        "(Shell Folders \"Startup\" of HKEY_CURRENT_USER)"),
                       Fault::Failure);
    plan.push_back({kChangesFile, handBack});
    plan.push_back({*startupFolder, std::nullopt});
    std::string batchPath = startup;
    while (batchPath.ends_with('\\')) batchPath.pop_back();
    batchPath += std::string("\\") + kBatchFile;
    plan.push_back({*startupFolder + "/" + kBatchFile, startupBatch(batchPath)});
  }

  std::vector<std::string> written;
  const std::string scratchFile = machine.record() + "/outgoing";
  for (const Write& w : plan) {
    if (!w.bytes) {
      // A folder already there is no write.
      if (drive->attributes(w.drivePath) >= 0) continue;
      written.push_back(w.drivePath + "/");
      if (!options.dryRun) drive->makeFolder(w.drivePath);
      continue;
    }
    written.push_back(w.drivePath);
    if (options.dryRun) continue;
    const std::int64_t old = drive->attributes(w.drivePath);
    if (old > 0 && (old & 0x07))
      drive->setAttributes(w.drivePath, 0x20);  // a read-only file refuses the write
    if (!host::writeFileDurably(scratchFile, *w.bytes))
      throw Exception("Cannot write " + cp1250::fromUtf8(scratchFile));
    drive->copyIn(scratchFile, w.drivePath);
    if (old > 0 && (old & 0x07)) drive->setAttributes(w.drivePath, static_cast<std::uint32_t>(old));
  }
  std::error_code ec;
  fs::remove(scratchFile, ec);
  if (options.dryRun) return written;
  drive->commit();

  record->files = files;
  if (msDosNow) record->msDosSys = msDosNow;
  if (changesHash != 0) {
    record->handedBack = changesHash;
    if (!host::writeFileDurably(machine.record() + "/" + kChangesFile, handBack))
      throw Exception("Cannot write " + cp1250::fromUtf8(machine.record() + "/" + kChangesFile));
  }
  record->hives = hivesNow;
  writeRecord(machine.record(), *record);
  return written;
}

}  // namespace morvin::platform::win9x
