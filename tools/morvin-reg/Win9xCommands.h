// The commands for a Windows 9x drive: init --from and apply. Not part of the
// Windows build.
#pragma once

#include <string>

#include "Commands.h"
#include "platform/Win9xApply.h"
#include "platform/Win9xImport.h"

namespace morvin::tool {

ExitCode initFrom(const std::string& machineFolder, const platform::win9x::ImportOptions& options);
ExitCode applyChanges(const std::string& machineFolder, const platform::win9x::ApplyOptions& options);

}  // namespace morvin::tool
