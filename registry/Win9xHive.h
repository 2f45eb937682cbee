// Registry files of Windows 95/98/Me (SYSTEM.DAT, USER.DAT: the "CREG"
// format), read through libcreg. Names and data are the bytes as stored, which
// on a Polish system are cp1250. Not part of the Windows build.
#pragma once

#include <string>

#include "RegFile.h"

namespace morvin::reg::win9x {

// A Windows 9x hive that cannot be read. The message names the file.
class HiveError : public Exception {
  using Exception::Exception;
};

// The tree of `subKey` ("" for the whole hive, else a path such as ".DEFAULT")
// of the hive file at `path` (UTF-8), as document entries below `root`: every
// key (also the empty ones) with its values, type and bytes as stored. Throws
// HiveError for a file that is not a Windows 9x hive, a damaged one, or one
// without `subKey`.
// The messages begin with `shownName` (UTF-8), the name the user knows the
// file by.
RegDocument readHive(const std::string& path, const std::string& subKey, Key root,
                     const std::string& shownName);

}  // namespace morvin::reg::win9x
