// The second round trip: the drive's registry read again and merged. A value
// is compared in three states: W, what the drive would hold had Windows
// changed nothing (the last hand-back when Windows took it, else the
// starting point); D, what the drive holds; M, what the machine holds.
#include "Win9xRefresh.h"

#include <filesystem>
#include <map>

#include "HostFiles.h"
#include "Machine.h"
#include "Win9xApply.h"
#include "Win9xHostPath.h"
#include "Win9xImport.h"
#include "Win9xNames.h"
#include "registry/Cp1250.h"
#include "registry/HiveStoreNames.h"
#include "registry/JournalHistory.h"
#include "registry/RegFile.h"
#include "registry/Win9xHive.h"

namespace morvin::platform::win9x {

namespace fs = std::filesystem;
namespace journal = reg::journal;

namespace {

constexpr const char* kChangesFile = "MORVINNG.REG";
// The drive's states of the values the machine kept its own changes of at
// the last refresh: their starting point, which the journal no longer shows.
constexpr const char* kStartFile = "start.reg";
// Written after the refresh's forget, so that the history shows every
// refresh as one entry, even one that takes nothing from the drive.
constexpr const char* kMarkerKey = "Software\\Morvin\\Win98";

struct Item {
  reg::Key root = 0;
  std::string path, name;
};
using Values = std::map<std::string, std::pair<Item, journal::State>>;

std::string itemKey(reg::Key root, const std::string& path, const std::string& name) {
  return std::to_string(root) + "\\" + reg::hive::fold(path) + "\n" + reg::hive::fold(name);
}

void collect(const reg::RegDocument& document, Values& out) {
  for (const reg::RegKeyEntry& key : document.keys)
    for (const reg::RegValueEntry& v : key.values)
      out[itemKey(key.root, key.path, v.name)] = {{key.root, key.path, v.name},
                                                  {!v.remove, v.remove ? 0 : v.type, v.remove ? "" : v.data}};
}

void add(reg::RegDocument& document, const Item& item, const journal::State& state) {
  for (reg::RegKeyEntry& key : document.keys)
    if (key.root == item.root && cp1250::equalsIgnoreCase(key.path, item.path)) {
      key.values.push_back({item.name, !state.present, state.type, state.data});
      return;
    }
  document.keys.push_back(
      {item.root, item.path, false, {{item.name, !state.present, state.type, state.data}}});
}

std::string describe(const journal::State& state) {
  journal::Entry entry;
  entry.kind = journal::Kind::Value;
  return cp1250::toUtf8(journal::describeState(entry, state));
}

}  // namespace

RefreshOutcome refreshFromDrive(const std::string& recordFolder, ImportRecord& record, Drive& drive,
                                reg::RegistryStore& store, bool force) {
  RefreshOutcome outcome;
  // D: the drive's hives, when they changed.
  const ScratchFolder scratch;
  reg::RegDocument onDrive;
  std::vector<HiveState> hivesNow;
  bool changed = false;
  for (size_t i = 0; i < record.hives.size(); ++i) {
    const HiveState& hive = record.hives[i];
    const bool user = i == 1;
    const DriveHive read = readDriveHive(drive, hive.path, user ? reg::kCurrentUser : reg::kLocalMachine,
                                         user && record.user.empty(), scratch.path());
    hivesNow.push_back(read.state);
    changed = changed || read.state.size != hive.size || read.state.hash != hive.hash;
    // Keys under HKEY_USERS beside .DEFAULT are the import's alone: the
    // machine holds them read-only, and a refresh compares what it writes.
    for (const reg::RegKeyEntry& key : read.document.keys)
      if (key.root != reg::kUsers) onDrive.keys.push_back(key);
  }
  if (!changed) return outcome;
  outcome.read = true;

  // M: the machine now; W: the starting point, or the last hand-back once
  // Windows took it (its MORVINNG.REG is gone from the drive).
  Values driveValues, machine, was;
  collect(onDrive, driveValues);
  reg::RegDocument now;
  reg::readRegTree(store, reg::kLocalMachine, "", &now);
  reg::readRegTree(store, reg::kCurrentUser, "", &now);
  collect(now, machine);
  for (const journal::NetChange& c : journal::netRegistryChanges(store))
    if (c.first.kind == journal::Kind::Value)
      was[itemKey(c.first.root == "HKEY_CURRENT_USER" ? reg::kCurrentUser : reg::kLocalMachine, c.first.path,
                  c.first.name)] = {{}, c.first.before};
  if (const auto start = host::readFile(recordFolder + "/" + kStartFile))
    collect(reg::parseRegText(*start), was);
  const auto lastHandedBack = host::readFile(recordFolder + "/" + kChangesFile);
  if (lastHandedBack && drive.kindOf(kChangesFile) == Drive::Kind::Missing)
    collect(reg::parseRegText(*lastHandedBack), was);

  std::map<std::string, Item> items;
  for (const auto& [key, value] : driveValues) items[key] = value.first;
  for (const auto& [key, value] : machine) items[key] = value.first;
  reg::RegDocument fromDrive, kept, start;
  std::vector<std::string> conflicts;
  for (const auto& named : items) {
    const std::string& key = named.first;  // a name, not a binding: the lambda below captures it
    const Item& item = named.second;
    if (item.root == reg::kLocalMachine && cp1250::equalsIgnoreCase(item.path, kMarkerKey)) continue;
    auto stateIn = [&](const Values& values, const journal::State& otherwise) {
      auto it = values.find(key);
      return it == values.end() ? otherwise : it->second.second;
    };
    const journal::State d = stateIn(driveValues, {}), m = stateIn(machine, {}), w = stateIn(was, m);
    if (journal::sameAsWindowsReads(d, m)) continue;
    const bool windowsChanged = !journal::sameAsWindowsReads(d, w),
               machineChanged = !journal::sameAsWindowsReads(m, w);
    if (windowsChanged && machineChanged)
      conflicts.push_back(reg::rootName(item.root) + "\\" + cp1250::toUtf8(item.path) + " \"" +
                          cp1250::toUtf8(item.name) + "\": in Windows " + describe(d) + ", in the machine " +
                          describe(m));
    if (machineChanged) {
      add(kept, item, m);
      add(start, item, d);
      ++outcome.kept;
    } else {
      add(fromDrive, item, d);
      ++outcome.fromDrive;
    }
  }
  if (!conflicts.empty() && !force) {
    std::string message =
        drive.source() + ": changed both in Windows and in the machine since the last hand-back:";
    for (const std::string& c : conflicts) message += "\n  " + c;
    throw DriveError(cp1250::fromUtf8(message + "\n(keep the machine's state with --force)"), Fault::Changed);
  }

  {
    journal::Source source(journal::kRefreshSource);
    journal::Group group;
    reg::applyRegDocument(store, fromDrive);
  }
  // The drive's registry, with the machine's own changes on top, is the new
  // starting point: what came before can no longer be taken back, and what
  // the machine keeps goes with the next hand-back through the record below.
  journal::forget(store);
  {
    // The history shows the refresh as this one entry.
    journal::Source source(journal::kRefreshSource);
    journal::Group group;
    reg::RegDocument marker;
    marker.keys.push_back({reg::kLocalMachine,
                           kMarkerKey,
                           false,
                           {{"Odczyt", false, 1, std::to_string(journal::nowMicros()) + '\0'}}});
    reg::applyRegDocument(store, marker);
  }
  // What the machine keeps on top goes with the next hand-back, as a value
  // taken back since one would.
  for (const auto& [name, document] : {std::pair{kChangesFile, &kept}, std::pair{kStartFile, &start}}) {
    const std::string file = recordFolder + "/" + name;
    std::error_code ec;
    if (document->keys.empty())
      fs::remove(file, ec);
    else if (!host::writeFileDurably(file, reg::writeRegText(*document)))
      throw Exception("Cannot write " + cp1250::fromUtf8(file));
  }
  record.handedBack = 0;
  record.hives = hivesNow;
  writeRecord(recordFolder, record);
  return outcome;
}

std::string withoutRefreshStamp(const std::string& changes) {
  if (changes.empty()) return changes;
  reg::RegDocument document = reg::parseRegText(changes);
  std::erase_if(document.keys, [](const reg::RegKeyEntry& key) {
    return key.root == reg::kLocalMachine && cp1250::equalsIgnoreCase(key.path, kMarkerKey);
  });
  return document.keys.empty() ? std::string() : reg::writeRegText(document);
}

RefreshOutcome refreshMachine(const std::string& machineFolder, const RefreshOptions& options,
                              reg::RegistryStore& store) {
  const Machine machine(machineFolder);
  driveMachineRecord(machineFolder);  // any other machine is refused before it is locked
  const MachineLock lock(machine.record());
  ImportRecord record = driveMachineRecord(machineFolder);
  // A refresh writes nothing into the drive: it can serve a run after a conflict is answered.
  KeptDrive::Run drive(options.kept, options.target.empty() ? record.source : options.target,
                       options.partition ? options.partition : record.partition);
  drive->lockForWriting();
  return refreshFromDrive(machine.record(), record, *drive, store, options.force);
}

}  // namespace morvin::platform::win9x
