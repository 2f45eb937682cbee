// The Windows window's setting bindings, in load order.
#pragma once

#include <vector>

#include "shell/Binding.h"

namespace morvin {

std::vector<binding::Row> windowsBindings();

}  // namespace morvin
