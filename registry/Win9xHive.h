// Registry files of Windows 95/98/Me (SYSTEM.DAT, USER.DAT: the "CREG"
// format), read through libcreg. Names and data are the bytes as stored, which
// on a Polish system are cp1250. Not part of the Windows build.
#pragma once

#include <cstdint>
#include <string>

#include "RegFile.h"

namespace morvin::reg::win9x {

// A Windows 9x hive that cannot be read. The message names the file.
class HiveError : public Exception {
  using Exception::Exception;
};

// The tree of `subKey` ("" for the whole hive, else a path such as ".DEFAULT")
// of the hive file at `path` (UTF-8), as document entries below `root`: every
// key (also the empty ones) with its values, each as Windows 9x's own
// functions return it (asWindowsReadsIt): the bytes as stored, a text's
// missing terminator added. Throws
// HiveError for a file that is not a Windows 9x hive, a damaged one, or one
// without `subKey`.
// The messages begin with `shownName` (UTF-8), the name the user knows the
// file by.
//
// The file is hostile input: one larger than kLargestHive, a key table whose
// links lead outside it, back to a key already read (a loop) or deeper than
// kDeepestKey, a key name that is empty or holds a NUL or a backslash (it
// would read as another key or a path), a value name holding a NUL: each is
// refused as damaged before or while reading, never followed.
RegDocument readHive(const std::string& path, const std::string& subKey, Key root,
                     const std::string& shownName);
// The same for a hive file open for reading (`fd`, left open), opened by the
// caller without following links.
RegDocument readHive(int fd, const std::string& subKey, Key root, const std::string& shownName);

// A value's data as Windows 9x hands it to a program. Its hives keep texts
// without their terminating NUL (DIALER.EXE as 10 bytes) and add it when the
// value is read: REG_SZ and REG_EXPAND_SZ not ending in NUL get one (an empty
// one becomes the empty text), REG_MULTI_SZ gets its final empty string when
// it lacks it; every other type is kept byte for byte.
std::string asWindowsReadsIt(std::uint32_t type, std::string stored);

inline constexpr std::uint64_t kLargestHive = 64ull << 20;  // more than any Windows 9x hive
inline constexpr int kDeepestKey = 512;                     // keys below keys below ...

}  // namespace morvin::reg::win9x
