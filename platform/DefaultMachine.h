// Where the default machine's data lies: default.reg and MsDos.sys, side by side.
#pragma once

#include <string>

namespace morvin::platform {

// The default machine's REGEDIT4 file: "machine/default.reg" beside the
// executable, else in ../share/morvin-ng/ above it, else in the source tree
// the program was built from.
std::string defaultMachineRegFile();

// The boot options file that provisioning copies to C:\MsDos.sys: the
// MsDos.sys beside the given default.reg.
std::string defaultMsDosSysFor(const std::string& defaultRegFile);

}  // namespace morvin::platform
