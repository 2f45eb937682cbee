// Key paths and names as the hive store sees them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "WinReg.h"

namespace morvin::reg::hive {

inline constexpr std::size_t kMaxKeyNameLength = 255;
inline constexpr std::size_t kMaxValueNameLength = 16383;

// The form names are compared and sorted by: each cp1250 byte upper-cased,
// then written as its UTF-16 code unit, big-endian, so a byte-wise comparison
// orders names as Windows NT does (by upper-case code point).
std::string fold(std::string_view name);

// What an "A" function sees of a name: the bytes before the first NUL.
std::string_view cString(const std::string& text);

// Splits a subkey path at its backslashes. A leading backslash or an empty
// name inside the path is BadPathname, a name longer than 255 characters
// InvalidParameter; one trailing backslash is ignored. An empty path gives no
// components (the key itself).
Status splitPath(std::string_view path, std::vector<std::string_view>& components);

}  // namespace morvin::reg::hive
