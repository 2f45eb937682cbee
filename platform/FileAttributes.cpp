#include "FileAttributes.h"

#include <sys/stat.h>
#include <sys/xattr.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include "DriveMapping.h"
#include "HostFileAttributes.h"

namespace morvin::platform {
namespace {

constexpr std::uint32_t kRecorded = attr::ReadOnly | attr::Hidden | attr::System | attr::Archive;
constexpr mode_t kWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

// The recorded attributes, or -1 when the file has no (readable) record.
std::int64_t readRecord(const std::string& hostPath) {
  char text[65];
  const ssize_t length = ::getxattr(hostPath.c_str(), kDosAttribXattr, text, sizeof text - 1);
  if (length <= 2 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return -1;
  text[length] = 0;
  char* end = nullptr;
  const unsigned long value = std::strtoul(text + 2, &end, 16);
  if (end == text + 2 || *end != 0) return -1;  // a NUL written by other tools ends the text too
  return static_cast<std::int64_t>(value & kRecorded);
}

}  // namespace

bool setHostFileAttributes(const std::string& hostPath, std::uint32_t attributes) {
  struct stat st;
  if (::stat(hostPath.c_str(), &st) != 0) return false;
  const bool isFolder = S_ISDIR(st.st_mode);
  const mode_t mode = st.st_mode & 07777;
  // Folders keep their write bits: their read-only mark does not stop Windows
  // from creating files in them.
  const mode_t finalMode =
      isFolder ? mode : ((attributes & attr::ReadOnly) ? (mode & ~kWriteBits) : (mode | S_IWUSR));

  bool ok = true;
  // A user.* xattr can only be written with write access to the file.
  if (!isFolder && !(mode & S_IWUSR) && ::chmod(hostPath.c_str(), mode | S_IWUSR) != 0) ok = false;

  char text[16];
  const int length = std::snprintf(text, sizeof text, "0x%x", attributes & kRecorded);
  if (::setxattr(hostPath.c_str(), kDosAttribXattr, text, static_cast<size_t>(length), 0) != 0) {
    // Without xattrs nothing is lost when there is nothing to record.
    const bool unsupported = errno == ENOTSUP || errno == EOPNOTSUPP;
    if (!unsupported || (attributes & kRecorded) != 0) ok = false;
  }
  if (::chmod(hostPath.c_str(), finalMode) != 0) ok = false;
  return ok;
}

std::int64_t getHostFileAttributes(const std::string& hostPath) {
  struct stat st;
  if (::stat(hostPath.c_str(), &st) != 0) return -1;
  const bool isFolder = S_ISDIR(st.st_mode);
  std::uint32_t result = isFolder ? attr::Directory : 0;
  const std::int64_t record = readRecord(hostPath);
  if (record >= 0) {
    result |= static_cast<std::uint32_t>(record) & (attr::Hidden | attr::System | attr::Archive);
    if (isFolder) result |= static_cast<std::uint32_t>(record) & attr::ReadOnly;
  } else if (!isFolder) {
    result |= attr::Archive;  // a file nobody marked, as Samba and Wine report it
  }
  if (!isFolder && (st.st_mode & kWriteBits) == 0) result |= attr::ReadOnly;
  return result == 0 ? attr::Normal : result;
}

bool SetFileAttributes(const std::string& windowsPath, std::uint32_t attributes) {
  const auto hostPath = toHostPath(windowsPath);
  return hostPath && setHostFileAttributes(*hostPath, attributes);
}

std::int64_t GetFileAttributes(const std::string& windowsPath) {
  const auto hostPath = toHostPath(windowsPath);
  return hostPath ? getHostFileAttributes(*hostPath) : -1;
}

}  // namespace morvin::platform
