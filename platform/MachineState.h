// The machine the platform layers work on, for the layers themselves.
#pragma once

#include "Machine.h"

namespace morvin::platform {

// The open machine, or nullptr before the first openMachine().
const Machine* currentMachineOrNull();
// Forgets the current machine and uninstalls its stores (a test's machine
// folder is about to be removed).
void closeCurrentMachine();

}  // namespace morvin::platform
