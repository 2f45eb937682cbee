// The commands for a Windows 9x drive: init --from, apply and mend-texts. Not part of the
// Windows build. `args` are the command's own arguments, after its name.
#pragma once

#include <string>
#include <vector>

#include "Commands.h"

namespace morvin::tool {

ExitCode initFrom(const std::string& machineFolder, const std::vector<std::string>& args);
ExitCode applyChanges(const std::string& machineFolder, const std::vector<std::string>& args);
// A machine made from a drive before its texts were read as Windows 98 hands
// them out: each text value without its terminator gets it, as one action.
ExitCode mendTexts(const std::string& machineFolder);

}  // namespace morvin::tool
