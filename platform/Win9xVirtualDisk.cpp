// Virtual machine disks: who holds one (section 1), what format it is and
// whether it can be written safely (section 2), the sectors two raw images
// differ in (section 3), and the drive on a raw scratch copy that writes
// those sectors back (section 4).
#include "Win9xVirtualDisk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "HostFiles.h"
#include "Win9xTools.h"
#include "registry/Cp1250.h"

namespace morvin::platform::win9x {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void refuse(const std::string& image, const std::string& why) {
  throw DriveError(cp1250::fromUtf8(image + ": " + why), Fault::BadInput);
}

// The last line a tool said, without the trailing newline.
std::string lastLine(std::string said) {
  while (!said.empty() && (said.back() == '\n' || said.back() == ' ')) said.pop_back();
  if (auto cut = said.rfind('\n'); cut != std::string::npos) said.erase(0, cut + 1);
  return said;
}

// Paths handed to QEMU's tools are absolute, so a name with a colon is never
// taken for a protocol ("nbd:", "json:").
std::string absolute(const std::string& path) {
  std::error_code ec;
  const fs::path full = fs::absolute(path, ec);
  return ec ? path : full.lexically_normal().string();
}

}  // namespace

// ---- 1. Who holds a disk ------------------------------------------------

DiskInUse::DiskInUse(const std::string& image, DiskHolder holder)
    : DriveError(
          cp1250::fromUtf8("Turn off the virtual machine: " + image + " is in use by " + holder.program +
                           (holder.pid > 0 ? " (process " + std::to_string(holder.pid) + ")" : "")),
          Fault::Failure),
      holder_(std::move(holder)) {}

std::vector<DiskHolder> diskHolders(const std::string& image) {
  struct stat target {};
  if (::stat(image.c_str(), &target) != 0) return {};
  // Locks on the disk (/proc/locks: "... PID MAJ:MIN:INODE ..."); an open
  // file description lock names no process, so its holder is found by its
  // open file below.
  bool locked = false;
  std::set<pid_t> lockers;
  std::ifstream locks("/proc/locks");
  for (std::string line; std::getline(locks, line);) {
    char kind[16] = {}, mode[16] = {}, access[16] = {};
    long pid = 0;
    unsigned major = 0, minor = 0;
    unsigned long long inode = 0;
    if (std::sscanf(line.c_str(), "%*d: %15s %15s %15s %ld %x:%x:%llu", kind, mode, access, &pid, &major,
                    &minor, &inode) != 7)
      continue;
    if (inode != target.st_ino || makedev(major, minor) != target.st_dev) continue;
    locked = true;
    if (pid > 0) lockers.insert(static_cast<pid_t>(pid));
  }

  std::vector<DiskHolder> holders;
  const pid_t self = ::getpid();
  std::error_code ec;
  for (auto it = fs::directory_iterator("/proc", ec); !ec && it != fs::end(it); it.increment(ec)) {
    const std::string name = it->path().filename();
    if (name.empty() || !std::all_of(name.begin(), name.end(), ::isdigit)) continue;
    const pid_t pid = static_cast<pid_t>(std::atol(name.c_str()));
    if (pid == self) continue;
    bool holds = lockers.count(pid) > 0;
    std::error_code fdError;
    for (auto fd = fs::directory_iterator(it->path() / "fd", fdError);
         !holds && !fdError && fd != fs::end(fd); fd.increment(fdError)) {
      struct stat open {};
      if (::stat(fd->path().c_str(), &open) != 0 || open.st_ino != target.st_ino ||
          open.st_dev != target.st_dev)
        continue;
      // Open for writing (O_WRONLY or O_RDWR in fdinfo's octal flags), or
      // open at all while the disk is locked.
      std::ifstream info(it->path() / "fdinfo" / fd->path().filename());
      unsigned flags = 0;
      for (std::string line; std::getline(info, line);)
        if (line.starts_with("flags:"))
          flags = static_cast<unsigned>(std::strtoul(line.c_str() + 6, nullptr, 8));
      holds = locked || (flags & O_ACCMODE) != O_RDONLY;
    }
    if (!holds) continue;
    std::string program = host::readFile((it->path() / "comm").string()).value_or("");
    while (!program.empty() && program.back() == '\n') program.pop_back();
    holders.push_back({pid, program.empty() ? "process " + name : program});
  }
  return holders;
}

void refuseIfInUse(const std::string& image) {
  const auto holders = diskHolders(image);
  if (!holders.empty()) throw DiskInUse(image, holders.front());
}

// ---- 2. The format, and what cannot be written safely -------------------

namespace {

std::uint32_t le32(const unsigned char* p) {
  return p[0] | p[1] << 8 | p[2] << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
std::uint32_t be32(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// A string field of qemu-img's JSON: the first `"name": "..."`, unescaped
// enough for a message; nullopt when absent.
std::optional<std::string> jsonString(const std::string& json, const std::string& name) {
  const std::string key = "\"" + name + "\": \"";
  const size_t at = json.find(key);
  if (at == std::string::npos) return std::nullopt;
  std::string value;
  for (size_t i = at + key.size(); i < json.size() && json[i] != '"'; ++i) {
    if (json[i] == '\\' && i + 1 < json.size()) ++i;
    value += json[i];
  }
  return value;
}

bool jsonHas(const std::string& json, const std::string& field) {
  return json.find(field) != std::string::npos;
}

// What the disk's own first and last sectors say before QEMU is asked: a
// VirtualBox image that QEMU would refuse without saying why, and a fixed
// VHD, which is raw data with a footer QEMU does not look for unless told.
std::string formatHint(const std::string& image) {
  const int fd = ::open(image.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
  if (fd < 0) return {};
  unsigned char head[512] = {}, tail[512] = {};
  struct stat st {};
  const bool read = ::fstat(fd, &st) == 0 && ::pread(fd, head, sizeof head, 0) == sizeof head &&
                    st.st_size >= 1024 && ::pread(fd, tail, sizeof tail, st.st_size - 512) == sizeof tail;
  ::close(fd);
  if (!read) return {};
  if (le32(head + 0x40) == 0xBEDA107F) {
    const std::uint32_t type = le32(head + 0x4C);  // 1 dynamic, 2 fixed, 3 undo, 4 differencing
    if (type == 3 || type == 4)
      refuse(image,
             "is a VirtualBox differencing image (a snapshot); merge or delete the snapshot in VirtualBox "
             "first, or use the base disk with no snapshots");
  }
  if (std::memcmp(tail, "conectix", 8) == 0 && be32(tail + 0x3C) == 2) return "vpc";
  return {};
}

}  // namespace

std::string diskFormat(const std::string& image) {
  const std::string path = absolute(image);
  const std::string hint = formatHint(path);
  std::vector<std::string> info = {"qemu-img", "info", "--output=json"};
  if (!hint.empty()) info.insert(info.end(), {"-f", hint});
  info.push_back(path);
  const ToolRun run = runTool(info);
  if (run.status < 0 && run.out.empty()) return "raw";  // without QEMU's tools only raw images are read
  if (run.status != 0) {
    // Without -U, QEMU's tools fail on a disk a running QEMU holds.
    if (run.err.find("lock") != std::string::npos) {
      refuseIfInUse(path);
      throw DiskInUse(image, {0, "QEMU"});
    }
    refuse(image, "cannot be read as a disk image (" + lastLine(run.err) + ")");
  }
  const std::string format = jsonString(run.out, "format").value_or("");
  static const std::set<std::string> writable = {"raw", "vdi", "vmdk", "qcow2", "vpc"};
  if (!writable.count(format))
    refuse(image, "is a disk image in a format this program does not write (" + format + ")");
  if (jsonHas(run.out, "\"encrypted\": true")) refuse(image, "is an encrypted disk image");
  if (jsonHas(run.out, "\"compressed\": true") || jsonHas(run.out, "streamOptimized"))
    refuse(image, "is a compressed VMware disk (streamOptimized), which cannot be written in place");
  if (const auto backing = jsonString(run.out, "backing-filename")) {
    if (format != "qcow2") refuse(image, "is a differencing image (a snapshot layer)");
    const size_t colon = backing->find(':'), slash = backing->find('/');
    if (colon != std::string::npos && (slash == std::string::npos || colon < slash))
      refuse(image, "has a backing file reached through a protocol (" + *backing + ")");
  }
  if (format == "vmdk" &&
      jsonString(run.out, "create-type").value_or("").find("monolithic") == std::string::npos)
    refuse(image, "is a VMware disk split over several files; join it into one (monolithic) file first");
  if (format == "qcow2") {
    const ToolRun check = runTool({"qemu-img", "check", "--output=json", "-f", "qcow2", path});
    const size_t at = check.out.find("\"compressed-clusters\": ");
    if (at != std::string::npos && std::atoll(check.out.c_str() + at + 23) > 0)
      refuse(image, "is a compressed qcow2 image, which cannot be written in place");
  }
  return format;
}

// ---- 3. The sectors two raw images differ in ----------------------------

namespace {

// The ranges of a file that hold data (the rest are holes), as [begin, end).
std::vector<std::pair<off_t, off_t>> dataExtents(int fd, off_t size) {
  std::vector<std::pair<off_t, off_t>> extents;
  for (off_t at = 0; at < size;) {
    const off_t data = ::lseek(fd, at, SEEK_DATA);
    if (data < 0) {
      if (errno == ENXIO) break;  // only a hole is left
      return {{0, size}};         // no hole reporting: all of it is data
    }
    off_t hole = ::lseek(fd, data, SEEK_HOLE);
    if (hole < 0) hole = size;
    extents.emplace_back(data, hole);
    at = hole;
  }
  return extents;
}

class Fd {
 public:
  explicit Fd(const std::string& path, int flags = O_RDONLY)
      : fd_(::open(path.c_str(), flags | O_CLOEXEC | O_NOFOLLOW)) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }

 private:
  int fd_;
};

// Reads what is there; past the end of the file it is zeros.
void readAt(int fd, char* buffer, size_t length, off_t at) {
  std::memset(buffer, 0, length);
  size_t done = 0;
  while (done < length) {
    const ssize_t n = ::pread(fd, buffer + done, length - done, at + static_cast<off_t>(done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    done += static_cast<size_t>(n);
  }
}

}  // namespace

std::vector<std::pair<std::uint64_t, std::uint64_t>> changedRanges(const std::string& before,
                                                                   const std::string& after) {
  constexpr off_t kSector = 512, kChunk = 1 << 20;
  const Fd a(before), b(after);
  struct stat sa {
  }, sb{};
  if (a.get() < 0 || b.get() < 0 || ::fstat(a.get(), &sa) != 0 || ::fstat(b.get(), &sb) != 0)
    throw Exception("Cannot compare " + cp1250::fromUtf8(before) + " with " + cp1250::fromUtf8(after));
  const off_t size = std::max(sa.st_size, sb.st_size);
  // Where either file holds data, in sectors; a hole in both is equal.
  auto extents = dataExtents(a.get(), size);
  const auto more = dataExtents(b.get(), size);
  extents.insert(extents.end(), more.begin(), more.end());
  std::sort(extents.begin(), extents.end());

  std::vector<std::pair<std::uint64_t, std::uint64_t>> ranges;
  std::vector<char> x(kChunk), y(kChunk);
  off_t done = 0;  // everything before this was compared
  for (auto [begin, end] : extents) {
    begin = std::max(begin / kSector * kSector, done);
    end = std::min((end + kSector - 1) / kSector * kSector, size);
    for (off_t at = begin; at < end; at += kChunk) {
      const size_t length = static_cast<size_t>(std::min(kChunk, end - at));
      readAt(a.get(), x.data(), length, at);
      readAt(b.get(), y.data(), length, at);
      for (size_t s = 0; s < length; s += kSector) {
        const size_t n = std::min<size_t>(kSector, length - s);
        if (std::memcmp(x.data() + s, y.data() + s, n) == 0) continue;
        const std::uint64_t offset = static_cast<std::uint64_t>(at) + s;
        if (!ranges.empty() && ranges.back().first + ranges.back().second == offset)
          ranges.back().second += n;
        else
          ranges.emplace_back(offset, n);
      }
    }
    done = std::max(done, end);
  }
  return ranges;
}

// ---- 4. The drive on a raw scratch copy ---------------------------------

namespace {

std::atomic<std::uint64_t> conversions{0};

// A folder for the scratch images; QEMU's command words are split at blanks,
// so its path has none.
std::string makeScratchFolder() {
  std::string base = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  if (base.empty() || base.find_first_of(" \t\n") != std::string::npos) base = "/tmp";
  std::string pattern = base + "/morvin-disk-XXXXXX";
  if (!::mkdtemp(pattern.data()))
    throw Exception("Cannot make a scratch folder in " + cp1250::fromUtf8(base) + ": " +
                    std::strerror(errno));
  return pattern;
}

// Copies the data of a sparse file, keeping its holes.
bool copySparse(const std::string& from, const std::string& to) {
  const Fd in(from), out(to, O_WRONLY | O_CREAT | O_TRUNC);
  struct stat st {};
  if (in.get() < 0 || out.get() < 0 || ::fstat(in.get(), &st) != 0) return false;
  std::vector<char> buffer(1 << 20);
  for (auto [begin, end] : dataExtents(in.get(), st.st_size))
    for (off_t at = begin; at < end;) {
      const ssize_t n =
          ::pread(in.get(), buffer.data(), static_cast<size_t>(std::min<off_t>(end - at, 1 << 20)), at);
      if (n <= 0 || ::pwrite(out.get(), buffer.data(), static_cast<size_t>(n), at) != n) return false;
      at += n;
    }
  return ::ftruncate(out.get(), st.st_size) == 0;
}

class VirtualDiskDrive : public Drive {
 public:
  VirtualDiskDrive(const std::string& image, std::string format, std::string scratch)
      : Drive(image), format_(std::move(format)), scratch_(std::move(scratch)) {}
  ~VirtualDiskDrive() override {
    std::error_code ec;
    fs::remove_all(scratch_, ec);
  }

  // Reads the disk into the scratch image and opens that as a drive.
  void read(const std::function<std::unique_ptr<Drive>(const std::string&)>& openRaw) {
    ++conversions;
    const ToolRun run =
        runTool({"qemu-img", "convert", "-f", format_, "-O", "raw", absolute(source()), raw()});
    if (run.status != 0) fail("cannot be read (" + lastLine(run.err) + ")");
    if (!copySparse(raw(), pristine())) fail("cannot be copied into " + scratch_);
    inner_ = renamed([&] { return openRaw(raw()); });
  }

  std::vector<DriveEntry> list() override {
    return renamed([&] { return inner_->list(); });
  }
  bool copyOut(const std::string& path, const std::string& hostPath) override {
    return renamed([&] { return inner_->copyOut(path, hostPath); });
  }
  OpenFile open(const std::string& path, const std::string& scratch, std::uint64_t largest) override {
    return renamed([&] { return inner_->open(path, scratch, largest); });
  }
  std::int64_t attributes(const std::string& path) override {
    return renamed([&] { return inner_->attributes(path); });
  }
  Kind kindOf(const std::string& path) override {
    return renamed([&] { return inner_->kindOf(path); });
  }
  void lockForWriting() override {
    refuseIfInUse(source());
    renamed([&] { inner_->lockForWriting(); });
  }

  // The sectors mtools changed, each written into the disk by qemu-io: the
  // plan (every range's bytes in a file) first, then the writes.
  void commit() override {
    refuseIfInUse(source());
    const auto ranges = changedRanges(pristine(), raw());
    if (ranges.empty()) return;
    const Fd scratch(raw());
    std::vector<std::string> commands;
    for (size_t i = 0; i < ranges.size(); ++i) {
      const auto [offset, length] = ranges[i];
      std::string bytes(length, '\0');
      readAt(scratch.get(), bytes.data(), length, static_cast<off_t>(offset));
      const std::string file = scratch_ + "/range" + std::to_string(i);
      if (!host::writeFileDurably(file, bytes)) fail("cannot prepare the write (" + file + ")");
      commands.push_back("write -q -s " + file + " " + std::to_string(offset) + " " + std::to_string(length));
    }
    // One qemu-io run for many writes; its command line stays short enough.
    constexpr size_t kBatch = 256;
    for (size_t first = 0; first < commands.size(); first += kBatch) {
      std::vector<std::string> argv = {"qemu-io", "-f", format_};
      for (size_t i = first; i < std::min(commands.size(), first + kBatch); ++i)
        argv.insert(argv.end(), {"-c", commands[i]});
      argv.insert(argv.end(), {"-c", "flush", absolute(source())});
      const ToolRun run = runTool(argv);
      if (run.status != 0 || run.out.find("write failed") != std::string::npos)
        fail("cannot write the changes into the disk (" + lastLine(run.err + run.out) + ")");
    }
    if (!copySparse(raw(), pristine())) fail("cannot be copied into " + scratch_);
  }

 private:
  // Writes go to the scratch drive, through its own checks.
  void writeFile(const std::string& path, const std::string& bytes, std::uint32_t attributes) override {
    renamed([&] { inner_->replaceFile(path, bytes, attributes); });
  }
  void writeFolder(const std::string& path) override {
    renamed([&] { inner_->makeFolder(path); });
  }
  std::string head(const std::string& path, std::size_t count) override {
    return renamed([&] { return inner_->bytesToReplace(path).value_or("").substr(0, count); });
  }

  std::string raw() const { return scratch_ + "/disk.raw"; }
  std::string pristine() const { return scratch_ + "/disk.pristine"; }

  // Messages of the scratch drive name the disk instead.
  template <class F>
  auto renamed(F&& f) -> decltype(f()) {
    try {
      return f();
    } catch (const DiskInUse&) {
      throw;
    } catch (const DriveError& e) {
      std::string message = e.message();
      const std::string scratch = cp1250::fromUtf8(raw());
      if (message.starts_with(scratch)) message.replace(0, scratch.size(), cp1250::fromUtf8(source()));
      throw DriveError(message, e.fault());
    }
  }

  std::string format_, scratch_;
  std::unique_ptr<Drive> inner_;
};

}  // namespace

std::uint64_t diskConversions() {
  return conversions;
}

std::unique_ptr<Drive> openVirtualDisk(
    const std::string& image, const std::function<std::unique_ptr<Drive>(const std::string&)>& openRaw) {
  std::string format = diskFormat(image);
  if (format == "raw") return nullptr;
  auto drive = std::make_unique<VirtualDiskDrive>(image, std::move(format), makeScratchFolder());
  drive->read(openRaw);
  return drive;
}

}  // namespace morvin::platform::win9x
