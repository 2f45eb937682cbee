// The journal keeps where a change came from as a language-free id (the
// window's Polish caption, or "morvin-reg import"); the window shows that
// window's title in the program's language instead.
#pragma once

#include <QString>
#include <string>

namespace morvin {

// The title of the window `storedSource` (cp1250) names, translated; any
// other source (a command of morvin-reg) as it is stored.
QString sourceTitle(const std::string& storedSource);

}  // namespace morvin
