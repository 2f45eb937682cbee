// How `query` shows a value: its type name and its data as text.
#pragma once

#include <cstdint>
#include <string>

namespace morvin::tool {

std::string typeName(std::uint32_t type);
// UTF-8: texts up to their NUL, numbers in hex, the rest as hex bytes.
std::string dataText(std::uint32_t type, const std::string& data);

}  // namespace morvin::tool
