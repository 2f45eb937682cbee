// Handing the changes back: what changed in a machine made from a Windows 9x
// drive, written into that drive.
#include "Win9xApply.h"

#include <iconv.h>
#include <sys/stat.h>
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
#include "Win9xRefresh.h"
#include "registry/Cp1250.h"
#include "registry/HiveStore.h"
#include "registry/HiveStoreNames.h"
#include "registry/Journal.h"
#include "registry/JournalHistory.h"
#include "registry/RegFile.h"
#include "registry/Win9xHive.h"

namespace morvin::platform::win9x {

namespace fs = std::filesystem;

namespace {

constexpr const char* kChangesFile = "MORVINNG.REG";
constexpr const char* kBatchFile = "MORVINNG.BAT";

constexpr const char* kNlsCodePage = "System\\CurrentControlSet\\Control\\Nls\\CodePage";

[[noreturn]] void refuse(const std::string& what, Fault fault = Fault::BadInput) {
  throw DriveError(cp1250::fromUtf8(what), fault);
}

// A text value of the machine's registry (cp1250, up to its NUL); empty when missing.
std::string textValue(reg::RegistryStore& store, reg::Key root, const std::string& path,
                      const std::string& name) {
  reg::Key key = 0;
  std::string text;
  if (store.openKey(root, path, reg::access::Read, &key) != reg::err::Success) return text;
  std::uint32_t type = 0;
  if (reg::readWholeValue(store, key, name, &type, &text) != reg::err::Success) text.clear();
  store.closeKey(key);
  return text.substr(0, text.find('\0'));
}

// The OEM code page COMMAND.COM reads batch files in: the registry's OEMCP,
// 852 (Polish) when it names none.
int oemCodePage(reg::RegistryStore& store) {
  const std::string text = textValue(store, reg::kLocalMachine, kNlsCodePage, "OEMCP");
  if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
    return 852;
  return std::stoi(text);
}

// The Startup folder as a path of the drive, refused with a clear error when
// no batch file could stand in it or name it.
std::string startupFolder(const std::string& startup) {
  const std::string shown = "The machine's Startup folder (Shell Folders \"Startup\" of HKEY_CURRENT_USER) ";
  for (unsigned char c : startup)
    if (c < 0x20 || c == '"') refuse(shown + "holds a quotation mark or a control character");
  const auto folder = drivePath(startup);
  if (!folder || folder->empty()) refuse(shown + "is not a folder on drive C:", Fault::Failure);
  if (auto problem = fatPathProblem(*folder + "/" + kBatchFile))
    refuse(shown + cp1250::toUtf8(startup) + " cannot hold a file: " + *problem);
  return *folder;
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
      if (!exists && !key.remove) {
        // Made then and gone now: the whole key goes, or regedit would make it again.
        restore.keys.push_back({key.root, key.path, true, {}});
      } else if (key.remove || key.values.empty()) {
        // A key removed then: now as it is in the machine.
        if (exists && key.remove) reg::readRegTree(store, key.root, key.path, &restore);
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

std::string startupBatch(const std::string& batchPath, int oemCodePage) {
  std::string path;
  for (char c : batchPath) path += c == '%' ? std::string("%%") : std::string(1, c);  // % starts a variable
  const std::string text =
      "@ECHO OFF\r\n"
      "regedit /s C:\\MORVINNG.REG\r\n"
      "del C:\\MORVINNG.REG\r\n"
      "del \"" +
      path + "\"\r\n";
  const std::string codePage = "CP" + std::to_string(oemCodePage);
  iconv_t convert = ::iconv_open(codePage.c_str(), "CP1250");
  if (convert == reinterpret_cast<iconv_t>(-1))
    refuse("The drive's OEM code page " + std::to_string(oemCodePage) + " is not known here");
  std::string out(text.size() * 4, '\0');
  char* in = const_cast<char*>(text.data());
  char* to = out.data();
  size_t inLeft = text.size(), outLeft = out.size();
  const size_t done = ::iconv(convert, &in, &inLeft, &to, &outLeft);
  ::iconv_close(convert);
  if (done == static_cast<size_t>(-1))
    refuse("The Startup folder " + cp1250::toUtf8(batchPath) + " holds a character code page " +
           std::to_string(oemCodePage) + " of the drive cannot write");
  out.resize(out.size() - outLeft);
  return out;
}

namespace {

// One write of the plan: a file with its bytes and the attributes it ends
// with, or a folder (no bytes).
struct Write {
  std::string path;
  std::optional<std::string> bytes;
  std::uint32_t attributes = 0x20;
};

// Everything apply will write, every path checked and every byte prepared
// before the first write.
class Planner {
 public:
  Planner(Drive& drive, const ImportRecord& record, const Names& names)
      : drive_(drive), record_(record), names_(names) {}

  std::vector<Write> writes;
  std::vector<std::string> warnings;   // files left out, UTF-8
  std::vector<std::string> conflicts;  // changed on the drive and in the machine, UTF-8

  // A file the plan must write (the registry, MSDOS.SYS, the batch): any
  // problem refuses the whole hand-back.
  void required(const std::string& path, const std::string& bytes, std::uint64_t importHash) {
    if (auto problem = drive_.writeProblem(path, false))
      refuse(drive_.source() + ": will not write " + *problem);
    if (!parentReady(path)) refuse(drive_.source() + ": the folder of " + path + " is missing");
    file(path, bytes, importHash);
  }
  void requiredFolder(const std::string& path) {
    if (auto problem = drive_.writeProblem(path, true))
      refuse(drive_.source() + ": will not create " + *problem);
    folder(path);
  }

  // A file or folder the program made in the machine: one that cannot go onto
  // the drive is left out with a warning naming it, and the rest goes.
  void optional(const FileState& f, const std::string& machineDrive) {
    std::optional<std::string> problem;
    if (f.path.find('\\') != std::string::npos)
      problem = "a backslash in its name";
    else if (auto bad = fatPathProblem(f.path))
      problem = *bad;
    const std::string path = names_.toDrive(f.path);
    if (!problem) problem = drive_.writeProblem(path, f.folder);
    if (!problem && !parentReady(path)) problem = "its folder is left out";
    std::optional<std::string> bytes;
    if (!problem && !f.folder && !(bytes = host::readFile(machineDrive + "/" + f.path)))
      problem = "it cannot be read";
    if (problem) {
      warnings.push_back("Left out " + f.path + ": " + *problem);
      return;
    }
    if (f.folder)
      folder(path);
    else
      file(path, *bytes, importHashOf(f.path));
  }

 private:
  std::uint64_t importHashOf(const std::string& machinePath) const {
    for (const FileState& f : record_.files)
      if (f.path == machinePath) return f.hash;
    return 0;
  }
  bool parentReady(const std::string& path) const {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos || drive_.kindOf(path.substr(0, slash)) == Drive::Kind::Folder ||
           planned_.count(folded(path.substr(0, slash)));
  }
  void folder(const std::string& path) {
    if (drive_.kindOf(path) == Drive::Kind::Folder || planned_.count(folded(path))) return;
    writes.push_back({path, std::nullopt});
    planned_.insert(folded(path));
  }
  // Written unless the drive holds these bytes already; a drive whose file
  // Windows changed since (neither as imported nor as last sent) while the
  // machine changed it too is a conflict.
  void file(const std::string& path, const std::string& bytes, std::uint64_t importHash) {
    std::uint32_t attributes = 0x20;
    if (drive_.kindOf(path) == Drive::Kind::File) {
      const auto now = drive_.bytesToReplace(path);
      if (now == bytes) return;
      const std::uint64_t hash = now ? contentHash(*now) : 0;
      const auto sent = record_.sent.find(folded(path));
      if (now && hash != importHash && (sent == record_.sent.end() || sent->second != hash))
        conflicts.push_back(path + " changed on the drive and in the machine since the import");
      const std::int64_t old = drive_.attributes(path);
      if (old >= 0) attributes = static_cast<std::uint32_t>(old);
    }
    writes.push_back({path, bytes, attributes});
  }

  Drive& drive_;
  const ImportRecord& record_;
  const Names& names_;
  std::set<std::string> planned_;
};

// Gives the drive back to be kept when the run ends before its first write:
// the scratch copy of a virtual machine's disk still matches the disk then.
}  // namespace

KeptDrive::Identity KeptDrive::identityOf(const std::string& source) {
  struct stat st {};
  if (::stat(source.c_str(), &st) != 0) return {};
  return {st.st_dev, st.st_ino, st.st_size,
          static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec};
}

KeptDrive::Run::Run(KeptDrive* kept, const std::string& source, int partition)
    : kept_(kept), drive_(kept ? kept->open(source, partition) : openDrive(source, partition)) {}

KeptDrive::Run::~Run() {
  if (kept_ && !writing_) kept_->keep(std::move(drive_));
}

std::unique_ptr<Drive> KeptDrive::open(const std::string& source, int partition) {
  const Identity now = identityOf(source);
  if (drive_ && source == source_ && partition == partition_ && now == identity_) return std::move(drive_);
  drive_.reset();  // its scratch copy goes before another is made
  auto drive = openDrive(source, partition);
  source_ = source;
  partition_ = partition;
  identity_ = now;  // as before the reading: a change made while it read opens it again next time
  return drive;
}

ApplyResult applyToDrive(const std::string& machineFolder, const ApplyOptions& options,
                         reg::RegistryStore& store) {
  const Machine machine(machineFolder);
  driveMachineRecord(machineFolder);  // any other machine is refused before it is locked
  const MachineLock lock(machine.record());
  ImportRecord record = driveMachineRecord(machineFolder);
  // The partition the machine was read from, unless another is named.
  KeptDrive::Run drive(options.kept, options.target,
                       options.partition ? options.partition : record.partition);
  drive->lockForWriting();
  const Names names{record.windowsFolder};

  // Windows changed its registry since: first its registry becomes the
  // machine's starting point (a dry run only says so).
  for (const HiveState& hive : record.hives) {
    const auto bytes = readDriveFile(*drive, hive.path);
    const bool same = bytes && bytes->size() == hive.size && contentHash(*bytes) == hive.hash;
    if (!same && options.dryRun)
      refuse(options.target + ": " + hive.path + " changed since the machine read it (morvin-reg refresh " +
                 options.target + " reads it first)",
             Fault::Changed);
    if (!same) {
      refreshFromDrive(machine.record(), record, *drive, store, options.force);
      break;
    }
  }
  const std::string changes = withoutRefreshStamp(reg::journal::changesReg(store));

  // The plan: folders and files the program made, MSDOS.SYS, the registry.
  Planner plan(*drive, record, names);
  std::map<std::string, FileState> before;
  for (const FileState& f : record.files) before[f.path] = f;
  for (const FileState& f : machineFiles(machine.driveC())) {
    auto it = before.find(f.path);
    if (it == before.end() || !(it->second == f)) plan.optional(f, machine.driveC());
  }
  // MSDOS.SYS goes back when its text changed, with the attributes it has on
  // the drive (the program lifts them on the machine while it runs).
  const auto msDosNow = host::readFile(machine.driveC() + "/MsDos.sys");
  if (msDosNow && msDosNow != record.msDosSys)
    plan.required("MSDOS.SYS", *msDosNow, record.msDosSys ? contentHash(*record.msDosSys) : 0);

  const std::string lastHandedBack = host::readFile(machine.record() + "/" + kChangesFile).value_or("");
  const std::string handBack = withTakenBack(changes, lastHandedBack, store);
  if (!handBack.empty()) {
    const std::string startup = textValue(store, reg::kCurrentUser, kShellFolders, "Startup");
    const std::string folder = startupFolder(startup);
    std::string batchPath = startup;
    while (batchPath.ends_with('\\')) batchPath.pop_back();
    const std::string batch = startupBatch(batchPath + "\\" + kBatchFile, oemCodePage(store));
    plan.required(kChangesFile, handBack, 0);
    // mtools makes one folder level at a time: each missing level is a write.
    for (size_t cut = folder.find('/'); cut != std::string::npos; cut = folder.find('/', cut + 1))
      plan.requiredFolder(folder.substr(0, cut));
    plan.requiredFolder(folder);
    plan.required(folder + "/" + kBatchFile, batch, 0);
  }
  if (!plan.conflicts.empty() && !options.force) {
    std::string message = options.target + ":";
    for (const std::string& c : plan.conflicts) message += "\n  " + c;
    refuse(message + "\n(hand the machine's state back anyway with --force)", Fault::Changed);
  }

  ApplyResult result;
  result.warnings = plan.warnings;
  for (const Write& w : plan.writes) result.written.push_back(w.bytes ? w.path : w.path + "/");
  if (options.dryRun) return result;

  drive.writing();
  for (const Write& w : plan.writes) {
    if (!w.bytes) {
      drive->makeFolder(w.path);
      continue;
    }
    drive->replaceFile(w.path, *w.bytes, w.attributes);
    record.sent[folded(w.path)] = contentHash(*w.bytes);
  }
  drive->commit();
  if (!handBack.empty()) {
    record.handedBack = contentHash(handBack);
    if (!host::writeFileDurably(machine.record() + "/" + kChangesFile, handBack))
      throw Exception("Cannot write " + cp1250::fromUtf8(machine.record() + "/" + kChangesFile));
  }
  writeRecord(machine.record(), record);
  return result;
}

}  // namespace morvin::platform::win9x
