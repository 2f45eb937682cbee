#include "HostProfileStoreFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <vector>

namespace morvin::reg::hostfile {

namespace {

std::string folderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a path finally names, so a link is written through, not replaced.
std::string resolveLinks(const std::string& path) {
  struct stat st;
  if (lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char buffer[PATH_MAX];
  if (realpath(path.c_str(), buffer)) return buffer;
  return path;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

// Extended attributes (the DOS attributes among them) travel to the new file.
void copyAttributes(const std::string& from, int to) {
  ssize_t size = listxattr(from.c_str(), nullptr, 0);
  if (size <= 0) return;
  std::vector<char> names(static_cast<size_t>(size));
  size = listxattr(from.c_str(), names.data(), names.size());
  for (ssize_t at = 0; at < size;) {
    const char* name = names.data() + at;
    at += static_cast<ssize_t>(std::char_traits<char>::length(name)) + 1;
    ssize_t length = getxattr(from.c_str(), name, nullptr, 0);
    if (length < 0) continue;
    std::vector<char> value(static_cast<size_t>(length));
    length = getxattr(from.c_str(), name, value.data(), value.size());
    if (length >= 0) fsetxattr(to, name, value.data(), static_cast<size_t>(length), 0);
  }
}

mode_t currentUmask() {
  mode_t mask = umask(022);
  umask(mask);
  return mask;
}

}  // namespace

std::optional<std::string> readAll(const std::string& path) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      ::close(fd);
      return std::nullopt;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return bytes;
}

bool exists(const std::string& path) {
  struct stat st;
  return lstat(path.c_str(), &st) == 0;
}

bool isReadOnly(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0 && (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool writeAtomically(const std::string& requestedPath, std::string_view bytes) {
  const std::string path = resolveLinks(requestedPath);
  const std::string folder = folderOf(path);
  std::string name = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  std::string temp = folder + "/." + name + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return false;

  struct stat old;
  bool existed = stat(path.c_str(), &old) == 0;
  bool ok = writeAll(fd, bytes);
  if (ok && existed) {
    ok = fchmod(fd, old.st_mode & 07777) == 0;
    if (fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Only root may give a file away; an ordinary user keeps owning it.
    }
    copyAttributes(path, fd);
  } else if (ok) {
    ok = fchmod(fd, 0666 & ~currentUmask()) == 0;
  }
  ok = ok && fsync(fd) == 0;
  ok = (::close(fd) == 0) && ok;
  if (ok) ok = ::rename(temp.c_str(), path.c_str()) == 0;
  if (!ok) {
    ::unlink(temp.c_str());
    return false;
  }
  // The rename itself must survive a power cut too.
  int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    ::close(dir);
  }
  return true;
}

void removeLeftovers(const std::string& requestedPath) {
  const std::string path = resolveLinks(requestedPath);
  const std::string folder = folderOf(path);
  const std::string prefix =
      "." + path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1) + ".";
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (dirent* entry = readdir(dir)) {
    std::string name = entry->d_name;
    // mkstemp's six characters follow the prefix.
    if (name.size() == prefix.size() + 6 && name.compare(0, prefix.size(), prefix) == 0)
      ::unlink((folder + "/" + name).c_str());
  }
  closedir(dir);
}

FolderLock::FolderLock(const std::string& path) {
  fd_ = ::open(folderOf(resolveLinks(path)).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd_ >= 0) {
    while (flock(fd_, LOCK_EX) != 0 && errno == EINTR) {
    }
  }
}

FolderLock::~FolderLock() {
  if (fd_ >= 0) ::close(fd_);
}

}  // namespace morvin::reg::hostfile
