// Input/output error codes on Windows: GetLastError's codes are the codes the
// program reports; only the two kinds of a full disk are told as one.
#ifdef _WIN32

#include <windows.h>

#include "InOutError.h"

namespace morvin::wallpaper {

int inOutCodeForLastError(unsigned long lastError) {
  switch (lastError) {
    case ERROR_FILE_NOT_FOUND:
      return io::FileNotFound;
    case ERROR_PATH_NOT_FOUND:
      return io::PathNotFound;
    case ERROR_TOO_MANY_OPEN_FILES:
      return io::TooManyOpenFiles;
    case ERROR_ACCESS_DENIED:
      return io::AccessDenied;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
      return io::DiskFull;
    case ERROR_INVALID_NAME:
      return io::InvalidName;
    case ERROR_SUCCESS:  // a failure that set no code must still not read as success
      return io::GeneralFailure;
    default:
      return static_cast<int>(lastError);  // "I/O error %d"
  }
}

void raiseInOutErrorFromLastError(unsigned long lastError) {
  raiseInOutError(inOutCodeForLastError(lastError));
}

}  // namespace morvin::wallpaper

#endif
