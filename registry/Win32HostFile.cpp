// Whole-file reads and crash-safe whole-file writes on Windows. Paths are
// UTF-8, as on every host; the wide functions take them. The INI layer of
// Windows is the system's own (Win32ProfileStore), so only the functions
// morvin-reg needs are here.
#ifdef _WIN32

#include <windows.h>

#include <random>

#include "HostProfileStoreFile.h"

namespace morvin::reg::hostfile {
namespace {

std::wstring wide(const std::string& utf8) {
  if (utf8.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(length, L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), length);
  return text;
}

class Handle {
 public:
  explicit Handle(HANDLE h) : h_(h) {}
  ~Handle() {
    if (valid()) CloseHandle(h_);
  }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }

 private:
  HANDLE h_;
};

constexpr wchar_t kTemporaryMark[] = L".morvin-tmp-";

}  // namespace

std::optional<std::string> readAll(const std::string& path) {
  Handle file(CreateFileW(wide(path).c_str(), GENERIC_READ,
                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  for (;;) {
    DWORD read = 0;
    if (!ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
    if (read == 0) return bytes;
    bytes.append(buffer, read);
  }
}

bool exists(const std::string& path) {
  return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool isReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(wide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

bool writeAtomically(const std::string& path, std::string_view bytes) {
  const std::wstring target = wide(path);
  static std::mt19937 random{std::random_device{}()};
  std::wstring temporary;
  HANDLE created = INVALID_HANDLE_VALUE;
  for (int attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
    temporary = target + kTemporaryMark + std::to_wstring(random());
    created =
        CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  if (created == INVALID_HANDLE_VALUE) return false;
  bool written;
  {
    Handle file(created);
    DWORD done = 0;
    written = WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr) &&
              done == bytes.size() && FlushFileBuffers(file.get());
  }
  // ReplaceFile keeps the old file's attributes and security; a new file is
  // simply moved into place.
  if (written) {
    if (GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES)
      written = ReplaceFileW(target.c_str(), temporary.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS,
                             nullptr, nullptr);
    else
      written = MoveFileExW(temporary.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
  }
  if (!written) DeleteFileW(temporary.c_str());
  return written;
}

}  // namespace morvin::reg::hostfile

#endif
