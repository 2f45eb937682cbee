// The two kinds of drive: a host folder (section 1) and a disk image through
// mtools (section 2, its volume found by section 3), and how a source is told
// apart (section 4). Every name is checked where it is listed; files are read
// without following links or blocking, and never more than kLargestDriveFile.
// Every write of either passes Drive::writeProblem first (section 0).
#include "Win9xDrive.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <utility>

#include "DriveMapping.h"
#include "HostFileAttributes.h"
#include "HostFiles.h"
#include "Win9xHostPath.h"
#include "Win9xNames.h"
#include "Win9xPartitions.h"
#include "Win9xRecord.h"
#include "Win9xTools.h"
#include "Win9xVirtualDisk.h"
#include "registry/Cp1250.h"

namespace morvin::platform::win9x {

namespace fs = std::filesystem;

void Drive::fail(const std::string& what, Fault fault) const {
  throw DriveError(cp1250::fromUtf8(source_ + ": " + what), fault);
}

// ---- 0. The one gate of every write --------------------------------------

std::optional<std::string> Drive::writeProblem(const std::string& path, bool folder) {
  if (auto problem = fatPathProblem(path)) return path + ": " + *problem;
  const std::string name = path.substr(path.rfind('/') + 1);
  if (isHiveName(name)) return path + " is a registry file of Windows";
  for (size_t cut = path.find('/'); cut != std::string::npos; cut = path.find('/', cut + 1)) {
    const Kind above = kindOf(path.substr(0, cut));
    if (above == Kind::Missing) return std::nullopt;  // made on the way, one level at a time
    if (above != Kind::Folder)
      return path.substr(0, cut) + " is not a folder (a file, a link or a special file)";
  }
  switch (kindOf(path)) {
    case Kind::Missing:
      return std::nullopt;
    case Kind::Other:
      return path + " is a link or a special file";
    case Kind::Folder:
      return folder ? std::nullopt : std::optional<std::string>(path + " is a folder");
    case Kind::File:
      if (folder) return path + " is a file";
      if (head(path, 4) == "CREG") return path + " is a registry file of Windows";
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<std::string> Drive::bytesToReplace(const std::string& path) {
  if (kindOf(path) != Kind::File) return std::nullopt;
  return head(path, std::string::npos);
}

void Drive::replaceFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) {
  if (auto problem = writeProblem(path, false)) fail("will not write " + *problem, Fault::BadInput);
  writeFile(path, bytes, attributes);
}

void Drive::makeFolder(const std::string& path) {
  if (auto problem = writeProblem(path, true)) fail("will not create " + *problem, Fault::BadInput);
  if (kindOf(path) != Kind::Folder) writeFolder(path);
}

std::string temporaryName(const std::string& name) {
  static const char digits[] = "0123456789ABCDEF";
  std::uint64_t hash = contentHash(folded(name));
  std::string out = "MNG";
  for (int i = 0; i < 5; ++i, hash >>= 4) out += digits[hash & 0xF];
  return out + ".TMP";
}

OpenFile& OpenFile::operator=(OpenFile&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = other.fd_;
    other.fd_ = -1;
  }
  return *this;
}

OpenFile::~OpenFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::optional<std::string> readDriveFile(Drive& drive, const std::string& path) {
  const ScratchFolder scratch;
  const OpenFile file = drive.open(path, scratch.path());
  if (!file) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(file.fd(), buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0)
      throw DriveError(
          cp1250::fromUtf8(drive.source() + ": cannot read " + path + " (" + std::strerror(errno) + ")"),
          Fault::BadInput);
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  return bytes;
}

namespace {

// A regular file opened for reading: never through a link, never waiting on
// a FIFO or a device; `fail` says why not.
int openRegularFile(int folder, const char* name, const std::function<void(const std::string&)>& fail) {
  const int fd = ::openat(folder, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    fail(errno == ELOOP ? "is a link, which is not followed" : std::strerror(errno));
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    fail("is not a regular file");
    return -1;
  }
  return fd;
}

// ---- 1. A folder holding the drive --------------------------------------

class FolderDrive : public Drive {
 public:
  // The root as the mapping spells it, without a trailing '/'.
  explicit FolderDrive(const std::string& folder) : Drive(folder), root_(folder) {
    while (root_.size() > 1 && root_.back() == '/') root_.pop_back();
  }

  // Folder by folder without following a link (a link is listed as one);
  // FIFOs, devices and sockets are not part of a drive.
  std::vector<DriveEntry> list() override {
    std::vector<DriveEntry> entries;
    std::vector<std::string> pending = {""};
    while (!pending.empty()) {
      const std::string folder = pending.back();
      pending.pop_back();
      const std::string host = folder.empty() ? root_ : root_ + "/" + folder;
      const int fd = ::open(host.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
      DIR* dir = fd >= 0 ? ::fdopendir(fd) : nullptr;
      if (!dir) {
        const int error = errno;
        if (fd >= 0) ::close(fd);
        fail((folder.empty() ? std::string("cannot be read") : "the folder " + folder + " cannot be read") +
                 " (" + std::strerror(error) + ")",
             Fault::BadInput);
      }
      std::vector<DriveEntry> here;
      while (const dirent* d = ::readdir(dir)) {
        const std::string name = d->d_name;
        if (name == "." || name == "..") continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), d->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        const std::string path = folder.empty() ? name : folder + "/" + name;
        if (S_ISLNK(st.st_mode) || S_ISDIR(st.st_mode) || S_ISREG(st.st_mode))
          here.push_back({path, S_ISDIR(st.st_mode), S_ISLNK(st.st_mode)});
      }
      ::closedir(dir);
      std::sort(here.begin(), here.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
      for (auto it = here.rbegin(); it != here.rend(); ++it)
        if (it->folder) pending.push_back(it->path);
      entries.insert(entries.end(), here.begin(), here.end());
    }
    checkListing(source(), entries);
    return entries;
  }

  bool copyOut(const std::string& path, const std::string& hostPath) override {
    const OpenFile from = open(path, {}, ~0ull);
    if (!from) return false;
    const int to = ::open(hostPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (to < 0) fail("cannot copy " + path + " to " + hostPath + " (" + std::strerror(errno) + ")");
    const OpenFile closing(to);
    char buffer[65536];
    for (;;) {
      const ssize_t n = ::read(from.fd(), buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) fail("cannot read " + path + " (" + std::strerror(errno) + ")", Fault::BadInput);
      if (n == 0) break;
      for (ssize_t done = 0; done < n;) {
        const ssize_t w = ::write(to, buffer + done, static_cast<size_t>(n - done));
        if (w < 0 && errno == EINTR) continue;
        if (w < 0) fail("cannot copy " + path + " to " + hostPath + " (" + std::strerror(errno) + ")");
        done += w;
      }
    }
    return true;
  }

  OpenFile open(const std::string& path, const std::string&, std::uint64_t largest) override {
    const auto host = existing(path);
    if (!host) return OpenFile();
    // Folder by folder from the drive's root, so no link on the way is followed.
    const std::string relative = host->substr(std::min(host->size(), root_.size() + 1));
    OpenFile folder(::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    size_t start = 0;
    auto refuse = [&](const std::string& why) { fail(path + ": " + why, Fault::BadInput); };
    for (size_t slash; folder && (slash = relative.find('/', start)) != std::string::npos;
         start = slash + 1) {
      const std::string name = relative.substr(start, slash - start);
      folder = OpenFile(::openat(folder.fd(), name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (!folder)
        refuse(errno == ELOOP || errno == ENOTDIR ? "lies behind a link, which is not followed"
                                                  : std::strerror(errno));
    }
    if (!folder) refuse(std::strerror(errno));
    OpenFile file(openRegularFile(folder.fd(), relative.substr(start).c_str(), refuse));
    struct stat st {};
    if (::fstat(file.fd(), &st) != 0 || static_cast<std::uint64_t>(st.st_size) > largest)
      refuse("is larger than " + std::to_string(largest >> 20) +
             " MB, more than a Windows 9x drive holds there");
    return file;
  }

  // On a mounted FAT volume the attributes are the volume's own (the FAT
  // ioctls); elsewhere they are kept as Samba and Wine keep them.
  std::int64_t attributes(const std::string& path) override {
    const auto file = existing(path);
    if (!file) return -1;
    const int fd = ::open(file->c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd >= 0) {
      std::uint32_t value = 0;
      const bool fat = ::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &value) == 0;
      ::close(fd);
      if (fat) return value & 0x3F;
    }
    return getHostFileAttributes(*file);
  }

  Kind kindOf(const std::string& path) override { return locate(path).kind; }

 protected:
  std::string head(const std::string& path, std::size_t count) override {
    const Located at = locate(path);
    if (at.kind != Kind::File) return {};
    const Fd fd(::openat(at.parent.fd, at.name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat st {};
    if (fd.fd < 0 || ::fstat(fd.fd, &st) != 0 || !S_ISREG(st.st_mode)) return {};
    std::string bytes;
    char buffer[65536];
    while (bytes.size() < count) {
      const ssize_t n = ::read(fd.fd, buffer, std::min(sizeof buffer, count - bytes.size()));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) fail("cannot read " + path + " (" + std::strerror(errno) + ")");
      if (n == 0) break;
      bytes.append(buffer, static_cast<size_t>(n));
    }
    return bytes;
  }

  void writeFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) override {
    const Located at = locate(path);
    if (at.parent.fd < 0) fail("cannot write " + path + " (its folder is missing)");
    const std::string temporary = temporaryName(at.name);
    ::unlinkat(at.parent.fd, temporary.c_str(), 0);  // left by a write cut short
    auto failWith = [&](int error) {
      ::unlinkat(at.parent.fd, temporary.c_str(), 0);
      fail("cannot write " + path + " (" + std::strerror(error) + ")");
    };
    {
      const Fd fd(::openat(at.parent.fd, temporary.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644));
      if (fd.fd < 0) failWith(errno);
      for (size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::write(fd.fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) failWith(n < 0 ? errno : ENOSPC);
        done += static_cast<size_t>(n);
      }
      if (::fsync(fd.fd) != 0) failWith(errno);
      // On a mounted FAT volume the volume's own attributes, else as Samba keeps them.
      std::uint32_t value = attributes & 0x27u;
      if (::ioctl(fd.fd, FAT_IOCTL_SET_ATTRIBUTES, &value) != 0 &&
          !setHostFileAttributes(at.hostParent + "/" + temporary, attributes))
        failWith(errno ? errno : EIO);
    }
    if (::renameat(at.parent.fd, temporary.c_str(), at.parent.fd, at.name.c_str()) != 0) failWith(errno);
    ::fsync(at.parent.fd);
  }

  void writeFolder(const std::string& path) override {
    const Located at = locate(path);
    if (at.parent.fd < 0) fail("cannot create " + path + " (its folder is missing)");
    if (::mkdirat(at.parent.fd, at.name.c_str(), 0755) != 0 && errno != EEXIST)
      fail("cannot create " + path + " (" + std::strerror(errno) + ")");
    ::fsync(at.parent.fd);
  }

 private:
  // A file descriptor closed with its owner.
  struct Fd {
    int fd = -1;
    explicit Fd(int f = -1) : fd(f) {}
    Fd(Fd&& other) noexcept : fd(std::exchange(other.fd, -1)) {}
    Fd& operator=(Fd&& other) noexcept {
      std::swap(fd, other.fd);
      return *this;
    }
    ~Fd() {
      if (fd >= 0) ::close(fd);
    }
  };
  struct Located {
    Fd parent;               // the folder holding it; -1 when that is missing or not a folder
    std::string hostParent;  // that folder's host path
    std::string name;        // as stored when it exists, else as asked
    Kind kind = Kind::Missing;
  };

  // The entry of the open folder `dir` named `name` without regard to case;
  // an exact match wins, else the first in name order; `name` when none.
  static std::string matchIn(int dir, const std::string& name) {
    const int copy = ::dup(dir);
    DIR* listing = copy < 0 ? nullptr : ::fdopendir(copy);
    if (!listing) {
      if (copy >= 0) ::close(copy);
      return name;
    }
    ::rewinddir(listing);
    std::string best;
    const std::string wanted = folded(name);
    while (const dirent* entry = ::readdir(listing)) {
      const std::string found = entry->d_name;
      if (found == name) {
        best = found;
        break;
      }
      if (folded(found) == wanted && (best.empty() || found < best)) best = found;
    }
    ::closedir(listing);
    return best.empty() ? name : best;
  }

  // Walks `path` from the drive's root one name at a time, never following
  // a link, so no write can leave the drive or land on what a link names.
  Located locate(const std::string& path) {
    Located at;
    Fd dir(::open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.fd < 0) fail(std::string("cannot be opened (") + std::strerror(errno) + ")");
    at.hostParent = root_;
    if (path.empty()) {
      at.kind = Kind::Folder;
      return at;
    }
    size_t start = 0;
    while (true) {
      const size_t end = std::min(path.find('/', start), path.size());
      const std::string name = matchIn(dir.fd, path.substr(start, end - start));
      struct stat st {};
      Kind kind = Kind::Missing;
      if (::fstatat(dir.fd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0)
        kind = S_ISDIR(st.st_mode) ? Kind::Folder : S_ISREG(st.st_mode) ? Kind::File : Kind::Other;
      if (end == path.size()) {
        at.parent = std::move(dir);
        at.name = name;
        at.kind = kind;
        return at;
      }
      if (kind != Kind::Folder) {
        at.kind = kind == Kind::Missing ? Kind::Missing : Kind::Other;
        return at;
      }
      Fd next(::openat(dir.fd, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
      if (next.fd < 0) {
        at.kind = Kind::Other;
        return at;
      }
      dir = std::move(next);
      at.hostParent += "/" + name;
      start = end + 1;
    }
  }

  // The host path of `path`, each name matched without regard to case; the
  // names that do not exist yet are kept as written.
  std::string place(const std::string& path) {
    std::string windows = "C:\\" + cp1250::fromUtf8(path);
    for (char& c : windows)
      if (c == '/') c = '\\';
    const auto host = mapToHost(root_, windows);
    struct stat st {};
    if (!host && ::lstat((root_ + "/" + path).c_str(), &st) == 0 && S_ISLNK(st.st_mode))
      fail(path + ": is a link, which is not followed", Fault::BadInput);
    if (!host) fail("has no place for " + path, Fault::BadInput);
    return *host;
  }
  std::optional<std::string> existing(const std::string& path) {
    std::string host = place(path);
    std::error_code ec;
    if (!fs::exists(host, ec)) return std::nullopt;
    return host;
  }

  std::string root_;
};

// ---- 2. A disk image through mtools -------------------------------------

class ImageDrive : public Drive {
 public:
  ImageDrive(const std::string& image, std::uint64_t offset)
      : Drive(image), target_(image + "@@" + std::to_string(offset)) {}

  std::vector<DriveEntry> list() override {
    const ToolRun run = mtools({"mdir", "-/", "-b", "-a", "-i", target_, "::/"});
    // A freshly formatted volume: mdir finds nothing in its root and says so as a failure.
    if (run.status == 1 && run.out.empty() && run.err.starts_with("mdir: File \"::/\" not found")) return {};
    if (run.status != 0) failWith("cannot be read", run, Fault::BadInput);
    std::vector<DriveEntry> entries;
    size_t start = 0;
    while (start < run.out.size()) {
      size_t end = run.out.find('\n', start);
      if (end == std::string::npos) end = run.out.size();
      std::string line = run.out.substr(start, end - start);
      start = end + 1;
      if (line.empty()) continue;
      // Anything else is the rest of a name holding a line break.
      if (!line.starts_with("::/") || line.size() <= 3)
        fail("refused: a name holding a control character (" + line + ")", Fault::BadInput);
      line.erase(0, 3);
      const bool folder = line.ends_with('/');
      if (folder) line.pop_back();
      entries.push_back({line, folder});
    }
    // mdir lists a folder's files before its subfolders; a folder is always
    // listed before what it holds, which is all that is promised.
    checkListing(source(), entries);
    return entries;
  }

  bool copyOut(const std::string& path, const std::string& hostPath) override {
    if (attributes(path) < 0) return false;
    const ToolRun run = mtools({"mcopy", "-n", "-o", "-i", target_, pattern(path), hostPath});
    if (run.status != 0) failWith("cannot read " + path, run);
    return true;
  }

  OpenFile open(const std::string& path, const std::string& scratch, std::uint64_t largest) override {
    if (attributes(path) < 0) return OpenFile();
    // The size the volume lists ("1 file  12 345 bytes") decides before a byte is copied.
    const ToolRun listed = mtools({"mdir", "-a", "-i", target_, pattern(path)});
    const size_t summary = listed.out.find("\n        1 file ");
    if (listed.status != 0 || summary == std::string::npos)
      fail(path + ": is not a regular file", Fault::BadInput);
    std::uint64_t size = 0;
    for (size_t i = summary + 17; i < listed.out.size() && listed.out[i] != '\n'; ++i)
      if (listed.out[i] >= '0' && listed.out[i] <= '9') size = size * 10 + (listed.out[i] - '0');
    if (size > largest)
      fail(path + ": is larger than " + std::to_string(largest >> 20) +
               " MB, more than a Windows 9x drive holds there",
           Fault::BadInput);
    const std::string copy = scratch + "/copy-" + std::to_string(++copies_);
    const ToolRun run = mtools({"mcopy", "-n", "-o", "-i", target_, pattern(path), copy});
    if (run.status != 0) failWith("cannot read " + path, run, Fault::BadInput);
    OpenFile file(::open(copy.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    const int error = errno;
    ::unlink(copy.c_str());
    if (!file) fail("cannot read the copy of " + path + " (" + std::strerror(error) + ")");
    return file;
  }

  std::int64_t attributes(const std::string& path) override {
    const ToolRun run = mtools({"mattrib", "-i", target_, pattern(path)});
    if (run.status != 0) return -1;
    const size_t name = run.out.find("::/");
    if (name == std::string::npos) return -1;
    std::int64_t value = 0;
    for (char c : run.out.substr(0, name)) {
      if (c == 'A') value |= 0x20;
      if (c == 'S') value |= 0x04;
      if (c == 'H') value |= 0x02;
      if (c == 'R') value |= 0x01;
    }
    return value;
  }

  Kind kindOf(const std::string& path) override {
    if (path.empty()) return Kind::Folder;
    const auto& known = entries();
    size_t cut = 0;
    while (true) {
      cut = std::min(path.find('/', cut), path.size());
      auto it = known.find(folded(path.substr(0, cut)));
      if (it == known.end()) return Kind::Missing;
      if (cut == path.size()) return it->second.folder ? Kind::Folder : Kind::File;
      if (!it->second.folder) return Kind::Other;
      ++cut;
    }
  }

  // flock for programs that take it; for QEMU the byte locks it takes on an
  // image it opens (docs/LAYOUT.md): another holder is refused, and ours keep
  // a QEMU started meanwhile from writing.
  void lockForWriting() override {
    if (lock_ >= 0) return;
    const std::string image = source();
    lock_ = ::open(image.c_str(), O_RDWR | O_CLOEXEC);
    if (lock_ < 0) fail(std::string("cannot be opened for writing (") + std::strerror(errno) + ")");
    if (::flock(lock_, LOCK_EX | LOCK_NB) != 0)
      fail("is in use by another program (it holds a lock on the image); close it first");
    for (const off_t base : {kQemuPermissionBase, kQemuSharedBase})
      for (off_t bit = 0; bit < kQemuBits; ++bit) {
        struct flock probe {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        probe.l_start = base + bit;
        probe.l_len = 1;
        if (::fcntl(lock_, F_OFD_GETLK, &probe) == 0 && probe.l_type != F_UNLCK)
          fail(
              "is in use by a virtual machine or a disk tool (QEMU's lock on the image); switch it off "
              "first");
      }
    // Ours: reading and writing wanted (100, 101), writing and resizing not shared (201, 203).
    for (const off_t byte :
         {kQemuPermissionBase, kQemuPermissionBase + 1, kQemuSharedBase + 1, kQemuSharedBase + 3}) {
      struct flock hold {};
      hold.l_type = F_RDLCK;
      hold.l_whence = SEEK_SET;
      hold.l_start = byte;
      hold.l_len = 1;
      ::fcntl(lock_, F_OFD_SETLK, &hold);
    }
  }

  ~ImageDrive() override {
    if (lock_ >= 0) ::close(lock_);
  }

 protected:
  std::string head(const std::string& path, std::size_t count) override {
    const ToolRun run = mtools({"mtype", "-i", target_, pattern(path)});
    if (run.status != 0) failWith("cannot read " + path, run);
    return run.out.substr(0, count);
  }

  // mcopy to the temporary name, its attributes, then mren over the old file.
  void writeFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) override {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash);
    std::string name = stored(path);
    name.erase(0, name.rfind('/') + 1);
    const std::string temporary = (folder.empty() ? "::/" : pattern(folder) + "/") + temporaryName(name);
    const std::string host = scratch() + "/outgoing";
    if (!host::writeFileDurably(host, bytes)) fail("cannot write " + host);
    auto flag = [&](std::uint32_t bit, const char* letter) {
      return std::string(attributes & bit ? "+" : "-") + letter;
    };
    ToolRun run = mtools({"mcopy", "-o", "-D", "o", "-i", target_, host, temporary});
    if (run.status == 0)
      run = mtools({"mattrib", "-i", target_, flag(0x20, "a"), flag(0x04, "s"), flag(0x02, "h"),
                    flag(0x01, "r"), temporary});
    if (run.status == 0) run = mtools({"mren", "-D", "o", "-i", target_, temporary, name});
    ::unlink(host.c_str());
    if (run.status != 0) {
      mtools({"mdel", "-i", target_, temporary});
      failWith("cannot write " + path, run);
    }
    known(path, false);
  }

  void writeFolder(const std::string& path) override {
    const ToolRun run = mtools({"mmd", "-D", "s", "-i", target_, literalLast(path)});
    if (run.status != 0) failWith("cannot create " + path, run);
    known(path, true);
  }

 private:
  // Names travel as UTF-8; the checks mtools makes of a volume's geometry are
  // for floppies, not for a partition of a disk image.
  ToolRun mtools(std::vector<std::string> argv) {
    return runTool(argv, {"LC_ALL=C.UTF-8", "MTOOLS_SKIP_CHECK=1", "MTOOLSRC=/dev/null"});
  }
  [[noreturn]] void failWith(const std::string& what, const ToolRun& run,
                             Fault fault = Fault::Failure) const {
    std::string said = run.err;
    while (!said.empty() && (said.back() == '\n' || said.back() == ' ')) said.pop_back();
    if (auto cut = said.rfind('\n'); cut != std::string::npos) said.erase(0, cut + 1);
    if (run.signal != 0)
      said = "mtools stopped on signal " + std::to_string(run.signal) + " (" + ::strsignal(run.signal) + ")";
    else if (run.status < 0 && said.empty())
      said = "mtools could not be started";
    fail(what + (said.empty() ? std::string() : " (" + said + ")"), fault);
  }

  std::string target_;
  unsigned copies_ = 0;
  static constexpr off_t kQemuPermissionBase = 100, kQemuSharedBase = 200, kQemuBits = 8;

  // The drive's entries by folded path, read once and kept up to date by our writes.
  struct Known {
    std::string path;
    bool folder = false;
  };
  const std::map<std::string, Known>& entries() {
    if (!listed_) {
      for (const DriveEntry& e : list()) known_[folded(e.path)] = {e.path, e.folder};
      listed_ = true;
    }
    return known_;
  }
  void known(const std::string& path, bool folder) {
    if (listed_) known_[folded(path)] = {stored(path), folder};
  }
  // `path` spelled as the drive stores what exists of it.
  std::string stored(const std::string& path) {
    const auto& known = entries();
    std::string out;
    size_t start = 0;
    while (start <= path.size()) {
      const size_t end = std::min(path.find('/', start), path.size());
      auto it = known.find(folded(path.substr(0, end)));
      out = it != known.end() ? it->second.path
                              : (out.empty() ? "" : out + "/") + path.substr(start, end - start);
      start = end + 1;
    }
    return out;
  }
  // mtools matches an existing name as a pattern (*, ?, [...]): '*' and '?'
  // cannot stand in a FAT name (writeProblem refuses them) and '[' becomes
  // "[[]", the set of just '['.
  std::string pattern(const std::string& path) {
    std::string out = "::/";
    for (char c : stored(path)) out += c == '[' ? std::string("[[]") : std::string(1, c);
    return out;
  }
  // A name to create: its folder as a pattern, itself as written.
  std::string literalLast(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return "::/" + path;
    return pattern(path.substr(0, slash)) + "/" + path.substr(slash + 1);
  }
  // This drive's own scratch folder, made when first needed; removed with the drive.
  const std::string& scratch() {
    if (!scratch_) scratch_.emplace();
    return scratch_->path();
  }

  std::map<std::string, Known> known_;
  bool listed_ = false;
  int lock_ = -1;
  std::optional<ScratchFolder> scratch_;
};

// ---- 3. Where the FAT volume of an image begins -------------------------

std::uint32_t le16(const unsigned char* p) {
  return p[0] | p[1] << 8;
}
std::uint32_t le32(const unsigned char* p) {
  return le16(p) | le16(p + 2) << 16;
}

std::uint64_t volumeOffset(const std::string& image, int partition) {
  auto fail = [&](const std::string& what) -> std::uint64_t {
    throw DriveError(cp1250::fromUtf8(image + ": " + what), Fault::BadInput);
  };
  std::ifstream in(image, std::ios::binary);
  unsigned char sector[512] = {};
  if (!in.read(reinterpret_cast<char*>(sector), sizeof sector))
    return fail("is not a disk image (too short)");
  if (isFatBootSector(sector)) {
    if (partition > 0) return fail("is a bare FAT volume without partitions; leave out --partition");
    return 0;
  }
  if (sector[510] != 0x55 || sector[511] != 0xAA) return fail("holds no FAT volume");
  for (int i = 1; i <= 4; ++i) {
    const unsigned char* entry = sector + 446 + (i - 1) * 16;
    if (partition > 0 && i != partition) continue;
    const unsigned type = entry[4];
    const std::uint64_t start = le32(entry + 8);
    if (type == 0 || start == 0) {
      if (partition > 0) return fail("has no partition " + std::to_string(i));
      continue;
    }
    if (!isFatPartitionType(type)) {
      if (partition > 0) return fail("partition " + std::to_string(i) + " is not a FAT volume");
      continue;
    }
    unsigned char boot[512] = {};
    in.clear();
    in.seekg(static_cast<std::streamoff>(start * 512));
    if (!in.read(reinterpret_cast<char*>(boot), sizeof boot) || !isFatBootSector(boot))
      return fail("partition " + std::to_string(i) + " holds no FAT volume");
    return start * 512;
  }
  return fail("holds no FAT volume");
}

}  // namespace

// ---- 4. A folder or an image --------------------------------------------

std::unique_ptr<Drive> openDrive(const std::string& source, int partition) {
  struct stat st {};
  if (::stat(source.c_str(), &st) != 0)
    throw DriveError(cp1250::fromUtf8(source + ": " + std::strerror(errno)), Fault::BadInput);
  if (S_ISDIR(st.st_mode)) {
    if (partition > 0)
      throw DriveError(cp1250::fromUtf8(source + ": --partition is for disk images, not folders"),
                       Fault::BadInput);
    return std::make_unique<FolderDrive>(source);
  }
  if (!S_ISREG(st.st_mode) && !S_ISBLK(st.st_mode))
    throw DriveError(cp1250::fromUtf8(source + ": is neither a folder nor a disk image"), Fault::BadInput);
  auto openRaw = [partition](const std::string& raw) -> std::unique_ptr<Drive> {
    return std::make_unique<ImageDrive>(raw, volumeOffset(raw, partition));
  };
  refuseIfInUse(source);
  if (S_ISREG(st.st_mode))
    if (auto disk = openVirtualDisk(source, openRaw)) return disk;
  return openRaw(source);
}

}  // namespace morvin::platform::win9x
