// Provisioning of the default machine, and the build every machine is made
// by. The drive is built in a hidden folder beside its final place and
// renamed into place in one step, so a killed provisioning leaves either no
// machine or a whole one.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "DefaultMachine.h"
#include "DriveMapping.h"
#include "HostFileAttributes.h"
#include "HostFiles.h"
#include "Machine.h"
#include "MachineBuild.h"
#include "SystemLanguage.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/HiveStore.h"
#include "registry/RegFile.h"

namespace morvin::platform {
namespace {

namespace fs = std::filesystem;

constexpr const char* kBuildPrefix = ".drive_c.building-";
constexpr const char* kLockName = ".provisioning.lock";

// Folders a fresh system has besides the shell folders listed in its registry.
constexpr const char* kExtraFolders[] = {
    "C:\\WINDOWS\\SYSTEM",
    "C:\\WINDOWS\\TEMP",
    "C:\\WINDOWS\\INF",
    "C:\\WINDOWS\\MEDIA",
    "C:\\WINDOWS\\Web\\Wallpaper",
    "C:\\Program Files\\Internet Explorer",
    "C:\\Program Files\\Common Files",
};
// ... and those named in the system's language.
constexpr const char* kPolishExtraFolders[] = {
    "C:\\WINDOWS\\Menu Start\\Programy\\Akcesoria",
    "C:\\Program Files\\Akcesoria",
};
constexpr const char* kEnglishExtraFolders[] = {
    "C:\\WINDOWS\\Start Menu\\Programs\\Accessories",
    "C:\\Program Files\\Accessories",
};

std::string ansi(const std::string& utf8) {
  return cp1250::fromUtf8(utf8);
}

[[noreturn]] void fail(const std::string& what, const std::string& path) {
  throw Exception(what + " " + ansi(path) + ": " + ansi(std::strerror(errno)));
}

// Holds an exclusive lock on the machine folder while provisioning, so two
// processes never build at once and leftovers of a killed one can be removed.
class FolderLock {
 public:
  explicit FolderLock(const std::string& folder) {
    const std::string path = folder + "/" + kLockName;
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (fd_ < 0) fail("Cannot create", path);
    while (::flock(fd_, LOCK_EX) != 0)
      if (errno != EINTR) fail("Cannot lock", path);
  }
  ~FolderLock() { ::close(fd_); }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

void removeLeftovers(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec)) {
    if (entry.path().filename().string().starts_with(kBuildPrefix)) fs::remove_all(entry.path(), ec);
  }
}

std::string withoutByteOrderMark(std::string text) {
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  return text;
}

std::string withCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 32);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') continue;
    if (text[i] == '\n') out += '\r';
    out += text[i];
  }
  return out;
}

void createFolder(const std::string& drive, const std::string& windowsPath) {
  const auto hostPath = mapToHost(drive, windowsPath);
  if (!hostPath) return;  // a shell folder on another drive is not ours to create
  std::error_code ec;
  fs::create_directories(*hostPath, ec);
  if (ec) throw Exception("Cannot create " + ansi(*hostPath) + ": " + ansi(ec.message()));
}

// Every path value of a Shell Folders key becomes a folder of the drive.
void createShellFolders(reg::RegistryStore& store, const std::string& drive, reg::Key root,
                        const std::string& key) {
  reg::Key handle = 0;
  if (store.openKey(root, key, reg::access::Read, &handle) != reg::err::Success) return;
  std::string name, data;
  std::uint32_t type = 0;
  for (std::uint32_t i = 0; store.enumValue(handle, i, &name, &type, &data) == reg::err::Success; ++i) {
    if (type != reg::type::Sz && type != reg::type::ExpandSz) continue;
    createFolder(drive, data.substr(0, data.find('\0')));
  }
  store.closeKey(handle);
}

void buildDrive(const std::string& drive, const std::string& regText, const std::string& msDosSys) {
  const std::string windows = drive + "/WINDOWS";
  std::error_code ec;
  fs::create_directories(windows, ec);
  if (ec) throw Exception("Cannot create " + ansi(windows) + ": " + ansi(ec.message()));
  SystemLanguage language = SystemLanguage::Polish;
  {
    // What a fresh machine holds is where its journal starts, not a change.
    reg::journal::Suspended startingPoint;
    reg::HiveStore store(windows + "/SYSTEM.DAT", windows + "/USER.DAT");
    reg::importRegText(store, regText);
    createShellFolders(store, drive, reg::kCurrentUser,
                       "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders");
    createShellFolders(store, drive, reg::kLocalMachine,
                       "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\explorer\\Shell Folders");
    language = systemLanguage(store);
  }
  for (const char* folder : kExtraFolders) createFolder(drive, folder);
  if (language == SystemLanguage::English)
    for (const char* folder : kEnglishExtraFolders) createFolder(drive, folder);
  else
    for (const char* folder : kPolishExtraFolders) createFolder(drive, folder);

  const std::string bootFile = drive + "/MsDos.sys";
  if (!host::writeFileDurably(bootFile, msDosSys)) fail("Cannot write", bootFile);
  // Without xattrs on this file system only the write bits mark it; the
  // machine works all the same.
  setHostFileAttributes(bootFile, attr::ReadOnly | attr::Hidden | attr::System);
}

}  // namespace

bool buildMachine(const std::string& folder, bool replace,
                  const std::function<void(const MachineBuild&)>& build) {
  const Machine machine(folder);
  if (machine.exists() && !replace) return false;

  std::error_code ec;
  fs::create_directories(folder, ec);
  if (ec) throw Exception("Cannot create " + ansi(folder) + ": " + ansi(ec.message()));

  FolderLock lock(folder);
  if (machine.exists() && !replace) return false;  // another process provisioned it while we waited
  removeLeftovers(folder);                         // of a build that was killed: its owner held the lock

  auto hiddenFolder = [&] {
    std::string pattern = folder + "/" + kBuildPrefix + "XXXXXX";
    if (!::mkdtemp(pattern.data())) fail("Cannot create a folder in", folder);
    ::chmod(pattern.c_str(), 0755);  // mkdtemp made it private; a drive is not
    return pattern;
  };
  const MachineBuild building{hiddenFolder(), hiddenFolder()};
  std::string old;
  try {
    build(building);
    host::syncFolder(building.drive);
    host::syncFolder(building.record);
    // The old machine goes first (a leftover, should this stop here), then
    // the record, then the drive: a record without a drive beside it is no
    // machine, so whatever is in place is whole.
    if (machine.exists()) {
      old = hiddenFolder();
      if (::rename(machine.driveC().c_str(), (old + "/drive_c").c_str()) != 0)
        fail("Cannot replace", machine.driveC());
      ::rename(machine.record().c_str(), (old + "/import").c_str());
    }
    fs::remove_all(machine.record(), ec);
    if (!fs::is_empty(building.record, ec) &&
        ::rename(building.record.c_str(), machine.record().c_str()) != 0)
      fail("Cannot create", machine.record());
    if (::rename(building.drive.c_str(), machine.driveC().c_str()) != 0)
      fail("Cannot create", machine.driveC());
  } catch (...) {
    fs::remove_all(building.drive, ec);
    fs::remove_all(building.record, ec);
    if (!old.empty() && !machine.exists()) {
      fs::remove_all(machine.record(), ec);
      ::rename((old + "/import").c_str(), machine.record().c_str());
      ::rename((old + "/drive_c").c_str(), machine.driveC().c_str());
    }
    if (!old.empty()) fs::remove_all(old, ec);
    throw;
  }
  fs::remove_all(building.record, ec);
  if (!old.empty()) fs::remove_all(old, ec);
  host::syncFolder(folder);
  return true;
}

bool provisionMachine(const std::string& folder, const std::string& defaultRegFile) {
  if (Machine(folder).exists()) return false;

  const auto regFile = host::readFile(defaultRegFile);
  if (!regFile) throw EFOpenError(formatMessage(msg::CannotOpenFile, ansi(defaultRegFile)));
  const std::string msDosPath = defaultMsDosSysFor(defaultRegFile);
  const auto msDosSys = host::readFile(msDosPath);
  if (!msDosSys) throw EFOpenError(formatMessage(msg::CannotOpenFile, ansi(msDosPath)));

  return buildMachine(folder, false, [&](const MachineBuild& building) {
    buildDrive(building.drive, ansi(withoutByteOrderMark(*regFile)), withCrLf(*msDosSys));
  });
}

}  // namespace morvin::platform
