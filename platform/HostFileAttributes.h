// DOS attributes of a host file: read-only is the write bits, hidden, system,
// archive and read-only are also recorded in the xattr user.DOSATTRIB.
//
// The xattr holds the attributes as hex text without a NUL ("0x3" for
// read-only + hidden), the legacy form that both Samba ("store dos
// attributes") and Wine read and write, so a machine folder shared through
// either shows the same attributes.
#pragma once

#include <cstdint>
#include <string>

#include "FileAttributes.h"

namespace morvin::platform {

namespace attr {
inline constexpr std::uint32_t Directory = 0x10;
}  // namespace attr

inline constexpr const char* kDosAttribXattr = "user.DOSATTRIB";

// False when the file is missing, its mode cannot be changed, or the
// attributes to record cannot be stored in the xattr (the write bits are set
// in any case).
bool setHostFileAttributes(const std::string& hostPath, std::uint32_t attributes);
// -1 when the file does not exist.
std::int64_t getHostFileAttributes(const std::string& hostPath);

}  // namespace morvin::platform
