// Small host file helpers of the platform layers.
#pragma once

#include <optional>
#include <string>

namespace morvin::platform::host {

// The whole file, or nullopt when it cannot be read.
std::optional<std::string> readFile(const std::string& path);
// Creates or replaces the file with `bytes` and flushes it to disk. False on failure.
bool writeFileDurably(const std::string& path, const std::string& bytes);
// Flushes a folder's entries (a rename into it) to disk.
void syncFolder(const std::string& path);

}  // namespace morvin::platform::host
