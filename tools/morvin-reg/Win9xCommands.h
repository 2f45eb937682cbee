// The commands for a Windows 9x drive: init --from, apply, refresh and mend-texts. Not part of the
// Windows build.
#pragma once

#include <string>

#include "Commands.h"
#include "platform/Win9xApply.h"
#include "platform/Win9xImport.h"
#include "platform/Win9xRefresh.h"

namespace morvin::tool {

ExitCode initFrom(const std::string& machineFolder, const platform::win9x::ImportOptions& options);
ExitCode applyChanges(const std::string& machineFolder, const platform::win9x::ApplyOptions& options);
// A machine made from a drive before its texts were read as Windows 98 hands
// them out: each text value without its terminator gets it, as one action.
ExitCode mendTexts(const std::string& machineFolder);
ExitCode refreshFrom(const std::string& machineFolder, const platform::win9x::RefreshOptions& options);

}  // namespace morvin::tool
