// Win32 registry vocabulary shared by every store: handles, predefined roots,
// value types, access masks and error codes, with the values Windows gives them.
// Our own names, so this header never collides with <windows.h>.
#pragma once

#include <cstdint>

namespace morvin::reg {

using Key = std::uintptr_t;  // an open key handle or a predefined root
using Status = long;         // a Win32 error code

inline constexpr Key kClassesRoot = 0x80000000u;
inline constexpr Key kCurrentUser = 0x80000001u;
inline constexpr Key kLocalMachine = 0x80000002u;
inline constexpr Key kUsers = 0x80000003u;
inline constexpr Key kCurrentConfig = 0x80000005u;

inline bool isPredefinedRoot(Key k) { return k >= 0x80000000u && k <= 0x80000006u; }

namespace type {
inline constexpr std::uint32_t None = 0;
inline constexpr std::uint32_t Sz = 1;
inline constexpr std::uint32_t ExpandSz = 2;
inline constexpr std::uint32_t Binary = 3;
inline constexpr std::uint32_t Dword = 4;
inline constexpr std::uint32_t DwordBigEndian = 5;
inline constexpr std::uint32_t Link = 6;
inline constexpr std::uint32_t MultiSz = 7;
}  // namespace type

namespace access {
inline constexpr std::uint32_t QueryValue = 0x0001;
inline constexpr std::uint32_t Read = 0x20019;       // KEY_READ
inline constexpr std::uint32_t AllAccess = 0xF003F;  // KEY_ALL_ACCESS
}  // namespace access

namespace err {
inline constexpr Status Success = 0;
inline constexpr Status FileNotFound = 2;
inline constexpr Status AccessDenied = 5;
inline constexpr Status InvalidHandle = 6;
inline constexpr Status NotEnoughMemory = 8;
inline constexpr Status InvalidParameter = 87;
inline constexpr Status BadPathname = 161;  // a subkey path that begins with a backslash
inline constexpr Status MoreData = 234;
inline constexpr Status NoAccess = 998;  // data that cannot be read, as a missing buffer
inline constexpr Status NoMoreItems = 259;
inline constexpr Status BadDb = 1009;
inline constexpr Status BadKey = 1010;
inline constexpr Status CantOpen = 1011;
inline constexpr Status CantRead = 1012;
inline constexpr Status CantWrite = 1013;
inline constexpr Status KeyDeleted = 1018;
}  // namespace err

}  // namespace morvin::reg
