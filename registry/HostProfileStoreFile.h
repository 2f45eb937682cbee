// Whole-file reads and crash-safe whole-file writes on the host file system.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvin::reg::hostfile {

// The file's bytes; nullopt when it is missing or cannot be read.
std::optional<std::string> readAll(const std::string& path);

bool exists(const std::string& path);

// Whether the file exists and has no write bit: read-only, as Windows sees it.
bool isReadOnly(const std::string& path);

// Replaces the file's content at once: a temporary file beside it is written,
// flushed and renamed over it, so a reader or a crash sees either the old or
// the new content. An existing file keeps its permissions, owner and extended
// attributes; a new one gets 0666 less the umask. Symbolic links are followed.
// False (and the old file untouched) on any failure.
bool writeAtomically(const std::string& path, std::string_view bytes);

// Removes temporary files that a killed writeAtomically of `path` left beside
// it. Call it only while holding the FolderLock of `path`.
void removeLeftovers(const std::string& path);

// Holds an exclusive lock on the folder of `path` while it lives, so that
// read-modify-write cycles of several processes do not lose each other's changes.
class FolderLock {
 public:
  explicit FolderLock(const std::string& path);
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

 private:
  int fd_ = -1;
};

}  // namespace morvin::reg::hostfile
