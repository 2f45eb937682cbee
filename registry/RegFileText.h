// Character sets of registry files: everything is turned into cp1250 bytes.
#pragma once

#include <string>
#include <string_view>

namespace morvin::reg {

// A UTF-16LE file (with BOM) or a UTF-8 file with BOM to cp1250; other bytes
// are taken as cp1250 already. Characters without a cp1250 byte become '?',
// as the "A" registry functions show them.
std::string decodeRegFileBytes(std::string_view bytes);

// UTF-16LE bytes to cp1250; an odd number of bytes is returned unchanged.
std::string utf16leToCp1250(std::string_view bytes);

}  // namespace morvin::reg
