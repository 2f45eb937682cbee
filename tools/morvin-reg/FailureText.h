// morvin-reg speaks English: a failure of the registry layer as UTF-8 text,
// a hive file's in English words whatever text the windows show for it.
#pragma once

#include <exception>
#include <string>

namespace morvin::tool {

std::string failureText(const std::exception& failure);

}  // namespace morvin::tool
