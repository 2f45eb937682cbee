// The writer on the host (POSIX); Win32TextFileWriter.cpp is the one of Windows.
#ifndef _WIN32

#include "TextFileWriter.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <random>

#include "InOutError.h"
#include "platform/HostFileAttributes.h"

namespace morvin::wallpaper {

namespace {

std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// A name beside the target that the display properties never offer (not .htm*).
std::string temporaryName(const std::string& folder) {
  static std::mt19937 generator{std::random_device{}()};
  static const char digits[] = "0123456789abcdef";
  std::string name = folder + "/~mrv";
  for (int i = 0; i < 8; ++i) name += digits[generator() % 16];
  return name + ".tmp";
}

// Creates the temporary file; the mode (umask applied) is what a plain create would give.
int createTemporary(const std::string& folder, std::string& tempPath) {
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = temporaryName(folder);
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) return fd;
    if (errno != EEXIST) raiseInOutErrorFromErrno(errno);
  }
  raiseInOutError(io::AccessDenied);
}

bool writeAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// Removes the temporary file when the write is abandoned.
class TemporaryFile {
 public:
  TemporaryFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~TemporaryFile() {
    if (fd_ >= 0) ::close(fd_);
    if (!kept_) ::unlink(path_.c_str());
  }
  int fd() const { return fd_; }
  const std::string& path() const { return path_; }
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }
  void keep() { kept_ = true; }

 private:
  int fd_;
  std::string path_;
  bool kept_ = false;
};

void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;  // best effort: the page itself is complete
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

void writeTextFileReplacing(const std::string& hostPath, const std::vector<std::string>& lines) {
  // Windows refuses to replace a read-only, hidden or system file (a plain
  // create asks for normal attributes) and a folder; so does this, whoever
  // runs the program.
  const std::int64_t attributes = platform::getHostFileAttributes(hostPath);
  constexpr std::uint32_t kUnreplaceable =
      platform::attr::ReadOnly | platform::attr::Hidden | platform::attr::System | platform::attr::Directory;
  if (attributes >= 0 && (attributes & kUnreplaceable) != 0) raiseInOutError(io::AccessDenied);
  struct stat existing {};
  const bool exists = ::stat(hostPath.c_str(), &existing) == 0;
  if (!exists && errno != ENOENT) raiseInOutErrorFromErrno(errno);

  const std::string folder = folderOf(hostPath);
  std::string tempPath;
  const int fd = createTemporary(folder, tempPath);
  TemporaryFile temp(fd, tempPath);
  if (exists) ::fchmod(fd, existing.st_mode & 07777);

  for (const std::string& line : lines)
    if (!writeAll(fd, line + "\r\n")) raiseInOutErrorFromErrno(errno);
  if (::fsync(fd) != 0 && errno != EINVAL) raiseInOutErrorFromErrno(errno);
  if (temp.close() != 0) raiseInOutErrorFromErrno(errno);
  if (::rename(tempPath.c_str(), hostPath.c_str()) != 0) raiseInOutErrorFromErrno(errno);
  temp.keep();
  syncFolder(folder);
}

}  // namespace morvin::wallpaper

#endif
