// Runs a helper program (mtools) without a shell and collects what it says.
#pragma once

#include <string>
#include <vector>

namespace morvin::platform::win9x {

struct ToolRun {
  int status = -1;  // exit status; -1 when it could not be started or was killed
  int signal = 0;   // the signal that killed it
  std::string out, err;
};

// `argv[0]` is looked up on PATH; `environment` entries ("NAME=value") are
// added to the program's own.
ToolRun runTool(const std::vector<std::string>& argv, const std::vector<std::string>& environment = {});

}  // namespace morvin::platform::win9x
