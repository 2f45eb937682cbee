// The commands for a Windows 9x drive: init --from, apply and refresh. Not part of the
// Windows build. `args` are the command's own arguments, after its name.
#pragma once

#include <string>
#include <vector>

#include "Commands.h"

namespace morvin::tool {

ExitCode initFrom(const std::string& machineFolder, const std::vector<std::string>& args);
ExitCode applyChanges(const std::string& machineFolder, const std::vector<std::string>& args);
ExitCode refreshFrom(const std::string& machineFolder, const std::vector<std::string>& args);

}  // namespace morvin::tool
