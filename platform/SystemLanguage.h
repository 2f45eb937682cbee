// The language of the Windows 98 system a machine holds, as its own tools
// see it: texts the program writes into the system (descriptions, names of
// things, folders it creates) follow it, not the program's language.
#pragma once

#include "registry/RegistryStore.h"

namespace morvin::platform {

enum class SystemLanguage { Polish, English };

// By the user's locale, HKCU\Control Panel\International "Locale" (eight hex
// digits): Polish for a Polish locale or none (a system of the program's own
// kind), English for any other, the language every Windows 98 shares.
SystemLanguage systemLanguage(reg::RegistryStore& store);
// Of the machine that is open now (Polish when none is).
SystemLanguage currentSystemLanguage();

// The same choice made from a locale's text; exposed for the table test.
SystemLanguage languageOfLocale(const std::string& locale);

}  // namespace morvin::platform
