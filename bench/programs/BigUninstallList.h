// A throw-away default machine whose uninstall list holds `count` more
// entries, written in one batch; and the offscreen application the windows need.
#pragma once

#include <memory>

#include "tests/support/TempMachine.h"

namespace morvin::bench {

void ensureOffscreenApplication();
std::unique_ptr<test::TempMachine> machineWithUninstallEntries(int count);

}  // namespace morvin::bench
