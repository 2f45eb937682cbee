// Input/output errors of text-file writing, as the program reports them: a
// Windows error code and the standard message for it.
#pragma once

#include <string>

#include "registry/Errors.h"

namespace morvin::wallpaper {

namespace io {
inline constexpr int FileNotFound = 2;
inline constexpr int PathNotFound = 3;  // "Invalid filename", also a missing folder
inline constexpr int TooManyOpenFiles = 4;
inline constexpr int AccessDenied = 5;
inline constexpr int GeneralFailure = 31;
inline constexpr int DiskFull = 101;
inline constexpr int InvalidName = 123;  // characters a Windows file name cannot hold
}  // namespace io

// "File not found", "Invalid filename", ..., "I/O error %d" for any other code.
std::string inOutMessage(int code);
[[noreturn]] void raiseInOutError(int code);

#ifdef _WIN32
// The code reported for a GetLastError value: the system's own, but both
// kinds of a full disk are "Disk full" (101).
int inOutCodeForLastError(unsigned long lastError);
[[noreturn]] void raiseInOutErrorFromLastError(unsigned long lastError);
#else
// The Windows error code that stands for a host errno value.
int inOutCodeForErrno(int errnoValue);
[[noreturn]] void raiseInOutErrorFromErrno(int errnoValue);
#endif

}  // namespace morvin::wallpaper
