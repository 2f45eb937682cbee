// C:\ paths of the machine <-> host paths below its drive_c folder.
#pragma once

#include <optional>
#include <string>

namespace morvin::platform {

// A Windows path (cp1250, either separator, any letter case, "." and ".."
// resolved as Windows does) to a host path (UTF-8) inside `driveRoot`: each
// component matched case-insensitively against what exists, the rest kept as
// written. Never leaves driveRoot. Empty optional for a path of another drive
// or a malformed one.
std::optional<std::string> mapToHost(const std::string& driveRoot, const std::string& windowsPath);
// The same against the current machine's drive C:.
std::optional<std::string> toHostPath(const std::string& windowsPath);
// A host path inside the current machine's drive back to C:\... (cp1250).
std::optional<std::string> toWindowsPath(const std::string& hostPath);

}  // namespace morvin::platform
