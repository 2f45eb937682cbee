// Everything below one key (values with their types and bytes, subkeys
// recursively), to prove that something left a key untouched.
#pragma once

#include <map>
#include <string>

#include "registry/WinReg.h"

namespace morvin::test {

// "K" + key path for each key, "V" + key path + "|" + value name -> "type:bytes".
using Snapshot = std::map<std::string, std::string>;
Snapshot snapshotKey(reg::Key root, const std::string& cp1250Key);

}  // namespace morvin::test
