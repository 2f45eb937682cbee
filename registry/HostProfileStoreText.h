// Profile-file text as the Windows profile functions read and write it.
// Pure functions over the file's bytes, so they are easy to test and fuzz.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace morvin::reg::profile {

inline constexpr size_t kMaxValueLength = 2047;

// The key's value in the section (first section and first key that match,
// case-insensitively, cp1250 letters too), blanks trimmed and one pair of
// surrounding double quotes removed; nullopt when missing.
std::optional<std::string> findValue(std::string_view file, std::string_view section, std::string_view key);

// The file with the key set: its own line replaced, or a new line after the
// section's last key line, or a new section at the end. Every other byte is kept.
std::string withValue(std::string_view file, std::string_view section, std::string_view key,
                      std::string_view value);

// The file without the key's line (the first that matches); the same bytes
// when there is none.
std::string withoutValue(std::string_view file, std::string_view section, std::string_view key);

// Whether a section, key and value can be written so that they read back:
// no line breaks or NULs, no '=' in a key, no ']' in a section, nothing empty.
bool writable(std::string_view section, std::string_view key, std::string_view value);

}  // namespace morvin::reg::profile
