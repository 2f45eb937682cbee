// The text-file writer on Windows: the page is written to a new file beside
// the target, flushed to the disk and moved over the target only when
// complete, as the host writer does.
#ifdef _WIN32

#include <windows.h>

#include <algorithm>
#include <random>

#include "InOutError.h"
#include "TextFileWriter.h"

namespace morvin::wallpaper {

namespace {

// The folder part of a path with its separator ("C:\WINDOWS\"), empty for a
// bare name.
std::string folderPrefix(const std::string& path) {
  const auto separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

// A name beside the target that the display properties never offer (not .htm*).
std::string temporaryName(const std::string& folder) {
  static std::mt19937 generator{std::random_device{}()};
  static const char digits[] = "0123456789abcdef";
  std::string name = folder + "~mrv";
  for (int i = 0; i < 8; ++i) name += digits[generator() % 16];
  return name + ".tmp";
}

// The new file beside the target; removed again unless the move kept it.
class TemporaryFile {
 public:
  explicit TemporaryFile(const std::string& folder) {
    for (int attempt = 0; attempt < 100; ++attempt) {
      path_ = temporaryName(folder);
      handle_ =
          CreateFileA(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      if (handle_ != INVALID_HANDLE_VALUE) return;
      const DWORD error = GetLastError();
      if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) raiseInOutErrorFromLastError(error);
    }
    raiseInOutError(io::AccessDenied);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  ~TemporaryFile() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
    if (!kept_) DeleteFileA(path_.c_str());
  }

  void write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
      const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
      DWORD written = 0;
      if (!WriteFile(handle_, bytes.data() + done, chunk, &written, nullptr)) failed();
      if (written == 0) raiseInOutError(io::DiskFull);  // nothing more goes in
      done += written;
    }
  }
  void finish() {
    if (!FlushFileBuffers(handle_)) failed();
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) failed();
  }
  void moveOver(const std::string& target) {
    if (!MoveFileExA(path_.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      failed();
    kept_ = true;
  }

 private:
  [[noreturn]] static void failed() { raiseInOutErrorFromLastError(GetLastError()); }

  std::string path_;
  HANDLE handle_ = INVALID_HANDLE_VALUE;
  bool kept_ = false;
};

}  // namespace

void writeTextFileReplacing(const std::string& hostPath, const std::vector<std::string>& lines) {
  // A plain create refuses a hidden or system file, the move would replace a
  // read-only one and a folder is no page: all four are refused before
  // anything is written. A missing folder shows here as well.
  const DWORD attributes = GetFileAttributesA(hostPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_NOT_FOUND) raiseInOutErrorFromLastError(error);
  } else {
    constexpr DWORD kUnreplaceable =
        FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    if ((attributes & kUnreplaceable) != 0) raiseInOutError(io::AccessDenied);
  }

  TemporaryFile temp(folderPrefix(hostPath));
  for (const std::string& line : lines) temp.write(line + "\r\n");
  temp.finish();
  temp.moveOver(hostPath);
}

}  // namespace morvin::wallpaper

#endif
