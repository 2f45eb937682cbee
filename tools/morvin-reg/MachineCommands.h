// The machines the program keeps: morvin-reg machines. Not part of the
// Windows build.
#pragma once

#include <string>

#include "Commands.h"

namespace morvin::tool {

// Lists every machine, the one in `folderInUse` marked with '*': name,
// source (with its format), when it was read, changes waiting to be handed
// back, when they were last handed back; tab-separated, one line each.
ExitCode listMachines(const std::string& folderInUse);

}  // namespace morvin::tool
