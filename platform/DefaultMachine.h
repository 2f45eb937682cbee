// Where the default machine's data lies: default.reg (a Polish Windows 98),
// english.reg (an English one) and MsDos.sys, side by side.
#pragma once

#include <string>

#include "SystemLanguage.h"

namespace morvin::platform {

// The default machine's REGEDIT4 file for a system of that language:
// "machine/default.reg" or "machine/english.reg" beside the executable, else
// in ../share/morvin-ng/ above it, else in the source tree the program was
// built from.
std::string defaultMachineRegFile(SystemLanguage language = SystemLanguage::Polish);

// The boot options file that provisioning copies to C:\MsDos.sys: the
// MsDos.sys beside the given default.reg.
std::string defaultMsDosSysFor(const std::string& defaultRegFile);

}  // namespace morvin::platform
