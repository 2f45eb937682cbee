// The two kinds of drive: a host folder (section 1) and a disk image through
// mtools (section 2, its volume found by section 3), and how a source is told
// apart (section 4). Every name is checked where it is listed; files are read
// without following links or blocking, and never more than kLargestDriveFile.
#include "Win9xDrive.h"

#include <dirent.h>
#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "DriveMapping.h"
#include "HostFileAttributes.h"
#include "HostFiles.h"
#include "Win9xHostPath.h"
#include "Win9xNames.h"
#include "Win9xTools.h"
#include "registry/Cp1250.h"

namespace morvin::platform::win9x {

namespace fs = std::filesystem;

void Drive::fail(const std::string& what, Fault fault) const {
  throw DriveError(cp1250::fromUtf8(source_ + ": " + what), fault);
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

  void copyIn(const std::string& hostPath, const std::string& path) override {
    const auto bytes = host::readFile(hostPath);
    const std::string to = place(path);
    if (!bytes || !host::writeFileDurably(to, *bytes))
      fail("cannot write " + path + " (" + std::strerror(errno) + ")");
  }

  void makeFolder(const std::string& path) override {
    std::error_code ec;
    fs::create_directories(place(path), ec);
    if (ec) fail("cannot create " + path + " (" + ec.message() + ")");
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

  void setAttributes(const std::string& path, std::uint32_t attributes) override {
    const auto file = existing(path);
    if (!file) fail(path + " does not exist");
    const int fd = ::open(file->c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
      std::uint32_t value = 0;
      if (::ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &value) == 0) {
        value = (value & ~0x27u) | (attributes & 0x27u);
        const bool set = ::ioctl(fd, FAT_IOCTL_SET_ATTRIBUTES, &value) == 0;
        const int error = errno;
        ::close(fd);
        if (!set) fail("cannot set the attributes of " + path + " (" + std::strerror(error) + ")");
        return;
      }
      ::close(fd);
    }
    if (!setHostFileAttributes(*file, attributes)) fail("cannot set the attributes of " + path);
  }

 private:
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
    const ToolRun run = mtools({"mcopy", "-n", "-o", "-i", target_, "::/" + path, hostPath});
    if (run.status != 0) failWith("cannot read " + path, run);
    return true;
  }

  OpenFile open(const std::string& path, const std::string& scratch, std::uint64_t largest) override {
    if (attributes(path) < 0) return OpenFile();
    // The size the volume lists ("1 file  12 345 bytes") decides before a byte is copied.
    const ToolRun listed = mtools({"mdir", "-a", "-i", target_, "::/" + path});
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
    const ToolRun run = mtools({"mcopy", "-n", "-o", "-i", target_, "::/" + path, copy});
    if (run.status != 0) failWith("cannot read " + path, run, Fault::BadInput);
    OpenFile file(::open(copy.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    const int error = errno;
    ::unlink(copy.c_str());
    if (!file) fail("cannot read the copy of " + path + " (" + std::strerror(error) + ")");
    return file;
  }

  void copyIn(const std::string& hostPath, const std::string& path) override {
    const ToolRun run = mtools({"mcopy", "-o", "-D", "o", "-i", target_, hostPath, "::/" + path});
    if (run.status != 0) failWith("cannot write " + path, run);
  }

  void makeFolder(const std::string& path) override {
    const ToolRun run = mtools({"mmd", "-D", "s", "-i", target_, "::/" + path});
    // mmd refuses a folder that exists ("s": skip); that is what was wanted.
    if (run.status != 0 && attributes(path) < 0) failWith("cannot create " + path, run);
  }

  std::int64_t attributes(const std::string& path) override {
    const ToolRun run = mtools({"mattrib", "-i", target_, "::/" + path});
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

  void setAttributes(const std::string& path, std::uint32_t attributes) override {
    auto flag = [&](std::uint32_t bit, const char* letter) {
      return std::string(attributes & bit ? "+" : "-") + letter;
    };
    const ToolRun run = mtools({"mattrib", "-i", target_, flag(0x20, "a"), flag(0x04, "s"), flag(0x02, "h"),
                                flag(0x01, "r"), "::/" + path});
    if (run.status != 0) failWith("cannot set the attributes of " + path, run);
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
};

// ---- 3. Where the FAT volume of an image begins -------------------------

std::uint32_t le16(const unsigned char* p) {
  return p[0] | p[1] << 8;
}
std::uint32_t le32(const unsigned char* p) {
  return le16(p) | le16(p + 2) << 16;
}

// A FAT boot sector: a jump, a sane BIOS parameter block, the signature.
bool isFatBootSector(const unsigned char* s) {
  const std::uint32_t bytesPerSector = le16(s + 11), sectorsPerCluster = s[13];
  return (s[0] == 0xEB || s[0] == 0xE9) && s[510] == 0x55 && s[511] == 0xAA &&
         (bytesPerSector == 512 || bytesPerSector == 1024 || bytesPerSector == 2048 ||
          bytesPerSector == 4096) &&
         sectorsPerCluster != 0 && (sectorsPerCluster & (sectorsPerCluster - 1)) == 0 && le16(s + 14) >= 1 &&
         (s[16] == 1 || s[16] == 2);
}

bool isFatPartitionType(unsigned type) {
  switch (type & ~0x10u) {  // 0x1X: the same types hidden
    case 0x01:
    case 0x04:
    case 0x06:
    case 0x0B:
    case 0x0C:
    case 0x0E:
      return true;
    default:
      return false;
  }
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
  return std::make_unique<ImageDrive>(source, volumeOffset(source, partition));
}

}  // namespace morvin::platform::win9x
