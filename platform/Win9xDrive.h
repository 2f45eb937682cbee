// A Windows 9x drive C: outside the machine: a folder holding one (a mounted
// disk image, a copied drive) or a raw disk image read and written through
// mtools, without mounting and without root. Not part of the Windows build.
//
// Paths are relative to the drive's root, '/'-separated, UTF-8; existing
// names are matched without regard to letter case, as Windows does.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "registry/Errors.h"

namespace morvin::platform::win9x {

// What went wrong with a drive: bad input (a source that is not a usable
// drive), a failure to read or write it, or a drive changed behind our back.
enum class Fault { BadInput, Failure, Changed };

// The message (cp1250) names the source.
class DriveError : public Exception {
 public:
  DriveError(std::string message, Fault fault) : Exception(std::move(message)), fault_(fault) {}
  Fault fault() const noexcept { return fault_; }

 private:
  Fault fault_;
};

struct DriveEntry {
  std::string path;  // as stored on the drive
  bool folder = false;
  bool operator==(const DriveEntry&) const = default;
};

class Drive {
 public:
  virtual ~Drive() = default;
  // Every file and folder of the drive, folders before what they hold.
  virtual std::vector<DriveEntry> list() = 0;
  // Copies a file of the drive to `hostPath`; false when it does not exist.
  virtual bool copyOut(const std::string& path, const std::string& hostPath) = 0;
  // Creates or replaces a file (its folder exists) with the bytes of `hostPath`.
  virtual void copyIn(const std::string& hostPath, const std::string& path) = 0;
  virtual void makeFolder(const std::string& path) = 0;
  // DOS attributes (platform/FileAttributes.h); -1 when the file does not exist.
  virtual std::int64_t attributes(const std::string& path) = 0;
  virtual void setAttributes(const std::string& path, std::uint32_t attributes) = 0;
  // Makes what was written reach the drive itself: a virtual machine's disk
  // read through a scratch copy takes the changed sectors here.
  virtual void commit() {}
  // How the user named the drive (UTF-8).
  const std::string& source() const { return source_; }

 protected:
  explicit Drive(std::string source) : source_(std::move(source)) {}
  [[noreturn]] void fail(const std::string& what, Fault fault = Fault::Failure) const;

 private:
  std::string source_;
};

// A folder, or a disk image: with an MBR partition table its first FAT
// partition (or primary partition `partition`, 1-4), else a bare FAT12/16/32
// volume. A virtual machine's disk (Win9xVirtualDisk.h) is read through a raw
// scratch copy. Throws DriveError (badInput) for a missing source, an image
// without a FAT volume, a partition that is not there, or a disk that cannot
// be written safely; DiskInUse when another process holds the image.
std::unique_ptr<Drive> openDrive(const std::string& source, int partition = 0);

// The contents of a file of the drive, or nullopt when it does not exist.
std::optional<std::string> readDriveFile(Drive& drive, const std::string& path);

}  // namespace morvin::platform::win9x
