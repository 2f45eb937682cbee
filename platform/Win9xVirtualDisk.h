// The disks virtual machines keep (VirtualBox .vdi, VMware .vmdk, QEMU .qcow2,
// Virtual PC / 86Box .vhd), read and written through QEMU's own tools: the
// disk becomes a raw scratch image that mtools reads and writes, and only the
// sectors that changed go back into the disk, in place, so its format, its
// identity and its unchanged data stay. Not part of the Windows build.
#pragma once

#include <sys/types.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Win9xDrive.h"

namespace morvin::platform::win9x {

// A process that has the disk open for writing or holds a lock on it.
struct DiskHolder {
  pid_t pid = 0;
  std::string program;  // its name as the system shows it (/proc/PID/comm)
};

// Every other process holding `image` (found through /proc/*/fd and /proc/locks).
std::vector<DiskHolder> diskHolders(const std::string& image);

// A disk in use by a running program (a virtual machine that is on); the
// message (cp1250, English) names the program. Fault::Failure.
class DiskInUse : public DriveError {
 public:
  DiskInUse(const std::string& image, DiskHolder holder);
  const DiskHolder& holder() const { return holder_; }

 private:
  DiskHolder holder_;
};

// Throws DiskInUse when another process holds `image`.
void refuseIfInUse(const std::string& image);

// The format QEMU names for the disk, told by its content ("raw", "vdi",
// "vmdk", "qcow2", "vpc"). Throws DriveError (Fault::BadInput) for a disk the
// tools cannot write safely: a VirtualBox differencing image, a compressed or
// encrypted one, a backing file reached through a protocol; DiskInUse when
// QEMU's own lock says the disk is in use.
std::string diskFormat(const std::string& image);

// Opens `image` as a drive: nullptr for a raw image (the caller reads it as
// it is), else a drive on a raw scratch copy made by `openRaw`, whose
// Drive::commit() writes the changed sectors back into the disk.
std::unique_ptr<Drive> openVirtualDisk(
    const std::string& image, const std::function<std::unique_ptr<Drive>(const std::string&)>& openRaw);

// How many disks this process has converted into a raw scratch copy so far
// (one hand-back converts its disk once; the tests count).
std::uint64_t diskConversions();

// The byte ranges (offset, length) in which two raw images differ, in
// sectors of 512 bytes, adjacent sectors joined; holes in both count as equal.
std::vector<std::pair<std::uint64_t, std::uint64_t>> changedRanges(const std::string& before,
                                                                   const std::string& after);

}  // namespace morvin::platform::win9x
