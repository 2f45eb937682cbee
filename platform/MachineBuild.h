// How a machine comes into being: its drive is built in a hidden folder
// beside drive_c and renamed into place in one step, so a failed or killed
// build leaves either no machine or a whole one.
#pragma once

#include <functional>
#include <string>

namespace morvin::platform {

// The hidden folders a build fills: the drive, and what the machine keeps
// about its origin outside the drive (empty for a default machine).
struct MachineBuild {
  std::string drive;
  std::string record;
};

// Builds the machine in `folder` with `build` and puts it in place. An
// existing machine is kept (false returned) unless `replace`, in which case
// the new one takes its place. Holds the folder's lock, so builds never run at
// once. Throws morvin::Exception (and whatever `build` throws), leaving the
// folder as it was.
bool buildMachine(const std::string& folder, bool replace,
                  const std::function<void(const MachineBuild&)>& build);

}  // namespace morvin::platform
