// DOS file attributes (SetFileAttributesA). Read-only is the write bits; hidden,
// system and read-only are also kept in the xattr user.DOSATTRIB.
#pragma once

#include <cstdint>
#include <string>

namespace morvin::platform {

namespace attr {
inline constexpr std::uint32_t ReadOnly = 0x01;
inline constexpr std::uint32_t Hidden = 0x02;
inline constexpr std::uint32_t System = 0x04;
inline constexpr std::uint32_t Archive = 0x20;
inline constexpr std::uint32_t Normal = 0x80;
}  // namespace attr

// `windowsPath` is a C:\ path of the current machine. False on any failure.
bool SetFileAttributes(const std::string& windowsPath, std::uint32_t attributes);
// The attributes, or -1 when the file does not exist.
std::int64_t GetFileAttributes(const std::string& windowsPath);

}  // namespace morvin::platform
