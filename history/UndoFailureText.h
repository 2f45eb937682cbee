// A change the window could not take back, in the program's language.
#pragma once

#include <QString>

#include "registry/JournalHistory.h"

namespace morvin {

QString undoFailureText(const reg::journal::UndoFailure& failure);

}  // namespace morvin
