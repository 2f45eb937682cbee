// Where the boot options file lies: at the root of the Windows folder's drive.
#pragma once

#include <string>

namespace morvin {

// The drive part of a path: "C:" for C:\WINDOWS, "\\server\share" for a
// network path, empty when the path names neither (cp1250 bytes).
std::string drivePart(const std::string& path);
// The boot options file of a Windows folder ("C:\WINDOWS" -> "C:\MsDos.sys").
std::string bootOptionsPath(const std::string& windowsFolder);
// The same for the Windows folder the system reports now.
std::string bootOptionsPath();

}  // namespace morvin
