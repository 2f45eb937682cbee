#include "InOutError.h"

#ifndef _WIN32
#include <cerrno>
#endif

namespace morvin::wallpaper {

std::string inOutMessage(int code) {
  switch (code) {
    case io::FileNotFound:
      return "File not found";
    case io::PathNotFound:
      return "Invalid filename";
    case io::TooManyOpenFiles:
      return "Too many open files";
    case io::AccessDenied:
      return "File access denied";
    case io::DiskFull:
      return "Disk full";
    default:
      return "I/O error " + std::to_string(code);
  }
}

#ifndef _WIN32
// errno values exist on the host only; on Windows the codes come from
// GetLastError (Win32InOutError.cpp).
int inOutCodeForErrno(int errnoValue) {
  switch (errnoValue) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
      return io::PathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
    case EBUSY:
    case EEXIST:
      return io::AccessDenied;
    case EMFILE:
    case ENFILE:
      return io::TooManyOpenFiles;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:  // the file may grow no further: no room for the page
      return io::DiskFull;
    case EINVAL:
    case EILSEQ:
      return io::InvalidName;
    default:
      return io::GeneralFailure;
  }
}

void raiseInOutErrorFromErrno(int errnoValue) {
  raiseInOutError(inOutCodeForErrno(errnoValue));
}
#endif

void raiseInOutError(int code) {
  throw EInOutError(code, inOutMessage(code));
}

}  // namespace morvin::wallpaper
