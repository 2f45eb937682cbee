#include "HostFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "registry/HostProfileStoreFile.h"

namespace morvin::platform::host {

std::optional<std::string> readFile(const std::string& path) {
  return reg::hostfile::readAll(path);
}

bool writeFileDurably(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  size_t written = 0;
  while (written < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      ::close(fd);
      return false;
    }
    written += static_cast<size_t>(n);
  }
  const bool synced = ::fsync(fd) == 0;
  return ::close(fd) == 0 && synced;
}

void syncFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace morvin::platform::host
