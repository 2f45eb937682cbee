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
  bool link = false;  // a symbolic link in a folder drive: listed, never followed
  bool operator==(const DriveEntry&) const = default;
};

// A file of a drive open for reading; closed with the object.
class OpenFile {
 public:
  explicit OpenFile(int fd = -1) : fd_(fd) {}
  OpenFile(OpenFile&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  OpenFile& operator=(OpenFile&& other) noexcept;
  OpenFile(const OpenFile&) = delete;
  OpenFile& operator=(const OpenFile&) = delete;
  ~OpenFile();
  int fd() const { return fd_; }
  explicit operator bool() const { return fd_ >= 0; }

 private:
  int fd_;
};

// The largest file read off a drive: more than any Windows 9x hive holds.
inline constexpr std::uint64_t kLargestDriveFile = 64ull << 20;

class Drive {
 public:
  virtual ~Drive() = default;
  // Every file and folder of the drive, folders before what they hold, each
  // name checked (Win9xNames.h checkListing): a drive with a name that could
  // mean something else on the host is refused whole (bad input).
  virtual std::vector<DriveEntry> list() = 0;
  // Copies a file of the drive to `hostPath`; false when it does not exist.
  // A link or anything but a regular file is refused (bad input).
  virtual bool copyOut(const std::string& path, const std::string& hostPath) = 0;
  // A file of the drive open for reading: on a folder the file itself, opened
  // without following a link or blocking; on an image a copy in the host
  // folder `scratch`, removed from it at once. Closed when the file does not
  // exist. A link, anything but a regular file, or a file larger than
  // `largest` bytes is refused (bad input) before a byte is copied.
  virtual OpenFile open(const std::string& path, const std::string& scratch,
                        std::uint64_t largest = kLargestDriveFile) = 0;
  // DOS attributes (platform/FileAttributes.h); -1 when the file does not exist.
  virtual std::int64_t attributes(const std::string& path) = 0;
  // Makes what was written reach the drive itself: a virtual machine's disk
  // read through a scratch copy takes the changed sectors here.
  virtual void commit() {}
  // How the user named the drive (UTF-8).
  const std::string& source() const { return source_; }

  // ---- Writing. Every write passes writeProblem() first, here and nowhere
  // else: the drive's hives and their backups (by name or by content), a
  // name FAT or mtools would read otherwise, a link or a special file on the
  // way are never written, whatever the caller planned.

  // What is at `path`, links not followed: a link, a FIFO or a device is
  // Other, and so is anything below a component that is not a folder.
  enum class Kind { Missing, File, Folder, Other };
  virtual Kind kindOf(const std::string& path) = 0;
  // Why `path` cannot be written as a file (or made as a folder); nullopt
  // when it can.
  std::optional<std::string> writeProblem(const std::string& path, bool folder);
  // What a file to be replaced holds now, read the way writes reach it (no
  // link followed, no blocking, each name matched as written); nullopt when
  // `path` is not a regular file.
  std::optional<std::string> bytesToReplace(const std::string& path);
  // Creates or replaces the file (its folder exists) through a temporary
  // name in the same folder and a rename, so it is whole before or after;
  // it ends with the DOS `attributes`. Throws DriveError.
  void replaceFile(const std::string& path, const std::string& bytes, std::uint32_t attributes);
  // Makes one folder (its parent exists). Throws DriveError.
  void makeFolder(const std::string& path);
  // Keeps other writers out until the drive is closed: Fault::Failure naming
  // the program's lock that stands in the way. A folder takes none.
  virtual void lockForWriting() {}

 protected:
  explicit Drive(std::string source) : source_(std::move(source)) {}
  [[noreturn]] void fail(const std::string& what, Fault fault = Fault::Failure) const;
  virtual void writeFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) = 0;
  virtual void writeFolder(const std::string& path) = 0;
  // The first `count` bytes of an existing regular file (fewer when shorter).
  virtual std::string head(const std::string& path, std::size_t count) = 0;

 private:
  std::string source_;
};

// The temporary name a file of the drive is written under before it takes
// its place: 8.3, in the same folder, the same for the same name, so a write
// cut short is overwritten by the next.
std::string temporaryName(const std::string& name);

// A folder, or a disk image: with an MBR partition table its first FAT
// partition (or primary partition `partition`, 1-4), else a bare FAT12/16/32
// volume. A virtual machine's disk (Win9xVirtualDisk.h) is read through a raw
// scratch copy. Throws DriveError (badInput) for a missing source, an image
// without a FAT volume, a partition that is not there, or a disk that cannot
// be written safely; DiskInUse when another process holds the image.
std::unique_ptr<Drive> openDrive(const std::string& source, int partition = 0);

// The contents of a file of the drive, or nullopt when it does not exist.
// Refuses what Drive::open refuses.
std::optional<std::string> readDriveFile(Drive& drive, const std::string& path);

}  // namespace morvin::platform::win9x
