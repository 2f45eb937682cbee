// The Windows folder as GetWindowsDirectoryA reports it ("C:\WINDOWS").
#pragma once

#include <string>

namespace morvin::platform {

std::string KatalogWindows();

}  // namespace morvin::platform
