// The two kinds of drive: a host folder (section 1) and a disk image through
// mtools (section 2, its volume found by section 3), and how a source is told
// apart (section 4).
#include "Win9xDrive.h"

#include <fcntl.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "DriveMapping.h"
#include "HostFileAttributes.h"
#include "HostFiles.h"
#include "Win9xTools.h"
#include "Win9xVirtualDisk.h"
#include "registry/Cp1250.h"

namespace morvin::platform::win9x {

namespace fs = std::filesystem;

void Drive::fail(const std::string& what, Fault fault) const {
  throw DriveError(cp1250::fromUtf8(source_ + ": " + what), fault);
}

std::optional<std::string> readDriveFile(Drive& drive, const std::string& path) {
  char pattern[] = "/tmp/morvin-drive-XXXXXX";
  const int fd = ::mkstemp(pattern);
  if (fd < 0) return std::nullopt;
  ::close(fd);
  std::optional<std::string> bytes;
  if (drive.copyOut(path, pattern)) bytes = host::readFile(pattern);
  ::unlink(pattern);
  return bytes;
}

namespace {

// ---- 1. A folder holding the drive --------------------------------------

class FolderDrive : public Drive {
 public:
  explicit FolderDrive(const std::string& folder) : Drive(folder), root_(folder) {}

  std::vector<DriveEntry> list() override {
    std::vector<DriveEntry> entries;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(root_, ec); !ec && it != fs::end(it); it.increment(ec)) {
      if (it->is_symlink()) continue;  // a link may lead off the drive
      const bool folder = it->is_directory();
      if (!folder && !it->is_regular_file()) continue;
      entries.push_back({fs::relative(it->path(), root_).generic_string(), folder});
    }
    if (ec) fail("cannot be read (" + ec.message() + ")");
    return entries;
  }

  bool copyOut(const std::string& path, const std::string& hostPath) override {
    const auto from = existing(path);
    if (!from || !fs::is_regular_file(*from)) return false;
    std::error_code ec;
    fs::copy_file(*from, hostPath, fs::copy_options::overwrite_existing, ec);
    if (ec) fail("cannot read " + path + " (" + ec.message() + ")");
    return true;
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
    const int fd = ::open(file->c_str(), O_RDONLY | O_CLOEXEC);
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
    if (run.status != 0) failWith("cannot be read", run);
    std::vector<DriveEntry> entries;
    size_t start = 0;
    while (start < run.out.size()) {
      size_t end = run.out.find('\n', start);
      if (end == std::string::npos) end = run.out.size();
      std::string line = run.out.substr(start, end - start);
      start = end + 1;
      if (!line.starts_with("::/") || line.size() <= 3) continue;
      line.erase(0, 3);
      const bool folder = line.ends_with('/');
      if (folder) line.pop_back();
      entries.push_back({line, folder});
    }
    // mdir lists a folder's files before its subfolders; a folder is always
    // listed before what it holds, which is all that is promised.
    return entries;
  }

  bool copyOut(const std::string& path, const std::string& hostPath) override {
    if (attributes(path) < 0) return false;
    const ToolRun run = mtools({"mcopy", "-n", "-o", "-i", target_, "::/" + path, hostPath});
    if (run.status != 0) failWith("cannot read " + path, run);
    return true;
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
  [[noreturn]] void failWith(const std::string& what, const ToolRun& run) const {
    std::string said = run.err;
    while (!said.empty() && (said.back() == '\n' || said.back() == ' ')) said.pop_back();
    if (auto cut = said.rfind('\n'); cut != std::string::npos) said.erase(0, cut + 1);
    if (run.status < 0 && said.empty()) said = "mtools could not be started";
    fail(what + (said.empty() ? std::string() : " (" + said + ")"));
  }

  std::string target_;
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
  auto openRaw = [partition](const std::string& raw) -> std::unique_ptr<Drive> {
    return std::make_unique<ImageDrive>(raw, volumeOffset(raw, partition));
  };
  refuseIfInUse(source);
  if (S_ISREG(st.st_mode))
    if (auto disk = openVirtualDisk(source, openRaw)) return disk;
  return openRaw(source);
}

}  // namespace morvin::platform::win9x
