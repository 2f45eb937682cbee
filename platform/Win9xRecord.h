// What a machine made from a Windows 9x drive keeps about it, in the machine
// folder beside drive_c (Machine::record()): where it came from, the drive's
// hives as they were, MSDOS.SYS as imported (or as last handed back), and the
// machine drive's own files at that moment, so that handing the changes back
// writes only what is new.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvin::platform::win9x {

struct FileState {
  std::string path;  // below drive_c, '/'-separated, UTF-8
  bool folder = false;
  std::uint64_t hash = 0;  // of the content; 0 for a folder
  bool operator==(const FileState&) const = default;
};

struct HiveState {
  std::string path;  // on the Windows 9x drive
  std::uint64_t size = 0, hash = 0;
};

struct ImportRecord {
  std::string source;            // as given to init --from
  std::string windowsFolder;     // on the Windows 9x drive: "WINDOWS"
  std::string user;              // --user, empty without
  int partition = 0;             // of a disk image, as given (0: its first FAT one)
  std::vector<HiveState> hives;  // SYSTEM.DAT, USER.DAT
  std::optional<std::string> msDosSys;
  std::uint32_t msDosAttributes = 0;
  std::uint64_t handedBack = 0;  // hash of the last registry changes written, 0 for none
  // The machine drive's files as the drive held them at the import (or the
  // last refresh): what "changed in the machine" and "changed on the drive"
  // are measured from.
  std::vector<FileState> files;
  // What the hand-backs last wrote, by path on the drive: a drive holding
  // that has not been changed by Windows since.
  std::map<std::string, std::uint64_t> sent;
};

// A 64-bit FNV-1a hash: enough to notice a change, not meant against malice.
std::uint64_t contentHash(std::string_view bytes);

// The files and folders of a machine's drive, without its hives and MsDos.sys
// (those are never copied back as files), in a stable order.
std::vector<FileState> machineFiles(const std::string& driveC);

// One apply or refresh per machine at a time: an flock on a file in the
// record folder, held while the object lives. Throws DriveError
// (Fault::Failure) with a clear message when another holds it.
class MachineLock {
 public:
  explicit MachineLock(const std::string& recordFolder);
  ~MachineLock();
  MachineLock(const MachineLock&) = delete;
  MachineLock& operator=(const MachineLock&) = delete;

 private:
  int fd_ = -1;
};

// The record of the machine in `machineFolder`, which was made from a Windows
// 9x drive; throws DriveError (Fault::Failure) naming the folder for any
// other machine (or a record that cannot be read).
ImportRecord driveMachineRecord(const std::string& machineFolder);

// `folder` is Machine::record() or a hidden folder becoming it. Names are
// kept escaped (\\, \t, \n, \r), so any name fits on its line. Throws
// morvin::Exception when it cannot be written.
void writeRecord(const std::string& folder, const ImportRecord& record);
// nullopt when there is no record or it is unreadable.
std::optional<ImportRecord> readRecord(const std::string& folder);

}  // namespace morvin::platform::win9x
