// The command line of a Windows console program as UTF-8, whatever the
// system's code page, with the console set to show UTF-8 output.
#pragma once

#ifdef _WIN32

#include <string>
#include <vector>

namespace morvin::platform {

// The arguments after the program's name.
std::vector<std::string> utf8Arguments();

}  // namespace morvin::platform

#endif
