// Sections: 1. names on the drive and in the machine, 2. the import,
// 3. handing the changes back.
#include "Win9xImport.h"

#include <unistd.h>

#include <filesystem>
#include <map>
#include <set>

#include "HostFileAttributes.h"
#include "HostFiles.h"
#include "Machine.h"
#include "MachineBuild.h"
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

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kMachineWindows = "WINDOWS";  // the machine's Windows folder (KatalogWindows)
constexpr const char* kChangesFile = "MORVINNG.REG";
constexpr const char* kBatchFile = "MORVINNG.BAT";

[[noreturn]] void badInput(const std::string& source, const std::string& what) {
  throw DriveError(cp1250::fromUtf8(source + ": " + what), Fault::BadInput);
}

// ---- 1. Names --------------------------------------------------------------

// Names compared as Windows compares them (cp1250, without regard to case).
std::string folded(const std::string& utf8) {
  return reg::hive::fold(cp1250::fromUtf8(utf8));
}

bool isUnder(const std::string& path, const std::string& folder) {
  const std::string p = folded(path), f = folded(folder);
  return p == f || (p.size() > f.size() && p.starts_with(f) && path[folder.size()] == '/');
}

// A C:\ path (cp1250) as a path of the drive; nullopt for another drive.
std::optional<std::string> drivePath(const std::string& windowsPath) {
  std::string path = windowsPath.substr(0, windowsPath.find('\0'));
  if (path.size() < 2 || path[1] != ':' || (path[0] != 'C' && path[0] != 'c')) return std::nullopt;
  path = cp1250::toUtf8(path.substr(2));
  for (char& c : path)
    if (c == '\\') c = '/';
  while (path.starts_with('/')) path.erase(0, 1);
  while (path.ends_with('/')) path.pop_back();
  return path;
}

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
std::string windowsFolderOf(const std::optional<std::string>& msDosSys) {
  if (!msDosSys) return kMachineWindows;
  bool paths = false;
  size_t start = 0;
  while (start < msDosSys->size()) {
    size_t end = std::min(msDosSys->find('\n', start), msDosSys->size());
    std::string line = msDosSys->substr(start, end - start);
    start = end + 1;
    while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
    if (line.starts_with('[')) {
      paths = cp1250::equalsIgnoreCase(line, "[Paths]");
      continue;
    }
    const size_t equals = line.find('=');
    if (!paths || equals == std::string::npos) continue;
    std::string key = line.substr(0, equals);
    while (!key.empty() && key.back() == ' ') key.pop_back();
    if (!cp1250::equalsIgnoreCase(key, "WinDir")) continue;
    std::string value = line.substr(equals + 1);
    while (value.starts_with(' ')) value.erase(0, 1);
    if (auto path = drivePath(value); path && !path->empty()) return *path;
  }
  return kMachineWindows;
}

const DriveEntry* find(const std::vector<DriveEntry>& entries, const std::string& path) {
  const std::string wanted = folded(path);
  for (const DriveEntry& e : entries)
    if (folded(e.path) == wanted) return &e;
  return nullptr;
}

std::optional<std::string> shellFolder(const reg::RegDocument& document, const std::string& name) {
  for (const reg::RegKeyEntry& key : document.keys) {
    if (!cp1250::equalsIgnoreCase(key.path, kShellFolders)) continue;
    for (const reg::RegValueEntry& value : key.values)
      if (cp1250::equalsIgnoreCase(value.name, name)) return drivePath(value.data);
  }
  return std::nullopt;
}

// A folder removed when the import is over, for the hives copied off the drive.
struct ScratchFolder {
  std::string path;
  ScratchFolder() {
    std::string pattern = (fs::temp_directory_path() / "morvin-import-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw Exception("Cannot create a temporary folder");
    path = pattern;
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
};

struct Hive {
  std::string path;  // on the drive
  reg::RegDocument document;
  HiveState state;
};

Hive readDriveHive(Drive& drive, const std::string& path, const std::string& subKey, reg::Key root,
                   const std::string& scratch) {
  const std::string copy = scratch + "/" + std::to_string(root);
  if (!drive.copyOut(path, copy)) badInput(drive.source(), path + " is missing");
  const auto bytes = host::readFile(copy);
  if (!bytes) throw Exception("Cannot read " + cp1250::fromUtf8(copy));
  Hive hive{path, reg::win9x::readHive(copy, subKey, root, drive.source() + ": " + path), {}};
  hive.state = {path, bytes->size(), contentHash(*bytes)};
  return hive;
}

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

// ---- 2. The import ---------------------------------------------------------

bool importMachine(const std::string& machineFolder, const ImportOptions& options) {
  const Machine machine(machineFolder);
  if (machine.exists() && !options.replace) return false;

  // Everything is read and checked before anything is built.
  auto drive = openDrive(options.source, options.partition);
  const auto entries = drive->list();
  const DriveEntry* msDosEntry = find(entries, "MSDOS.SYS");
  ImportRecord record;
  record.source = options.source;
  record.user = options.user;
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

  std::string userHive = names.windows + "/USER.DAT", userKey = ".DEFAULT";
  if (!options.user.empty()) {
    userHive = names.windows + "/Profiles/" + options.user + "/USER.DAT";
    userKey.clear();  // a profile's hive holds the user's keys at its root
    if (!find(entries, userHive)) {
      std::string known;
      for (const DriveEntry& e : entries)
        if (!e.folder && isUnder(e.path, names.windows + "/Profiles") &&
            folded(fs::path(e.path).filename().string()) == folded("USER.DAT"))
          known += (known.empty() ? "" : ", ") + fs::path(e.path).parent_path().filename().string();
      badInput(options.source, "there is no user " + options.user + " (no " + userHive +
                                   "; users: " + (known.empty() ? "none" : known) + ")");
    }
  }
  ScratchFolder scratch;
  const DriveEntry* systemEntry = find(entries, names.windows + "/SYSTEM.DAT");
  if (!systemEntry) badInput(options.source, names.windows + "/SYSTEM.DAT is missing");
  const DriveEntry* userEntry = find(entries, userHive);
  if (!userEntry) badInput(options.source, userHive + " is missing");
  Hive system = readDriveHive(*drive, systemEntry->path, "", reg::kLocalMachine, scratch.path);
  Hive user = readDriveHive(*drive, userEntry->path, userKey, reg::kCurrentUser, scratch.path);
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
      if (folded(e.path) == folded(system.path) || folded(e.path) == folded(user.path)) continue;
      const std::string target = building.drive + "/" + names.toMachine(e.path);
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
    record.drive = driveIdentity(building.drive);
    record.files = machineFiles(building.drive);
    writeRecord(building.record, record);
  });
}

// ---- 3. Handing the changes back ---------------------------------------------

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
