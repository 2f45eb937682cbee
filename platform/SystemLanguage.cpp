#include "SystemLanguage.h"

#include <charconv>
#include <exception>

#include "registry/WinReg.h"

namespace morvin::platform {

namespace {
constexpr const char* kInternational = "Control Panel\\International";
constexpr unsigned kPolishPrimaryLanguage = 0x15;
constexpr unsigned kPrimaryLanguageMask = 0x3FF;
}  // namespace

SystemLanguage languageOfLocale(const std::string& locale) {
  unsigned id = 0;
  const char* end = locale.data() + locale.size();
  const auto [at, error] = std::from_chars(locale.data(), end, id, 16);
  if (locale.empty() || error != std::errc() || at != end) return SystemLanguage::Polish;
  return (id & kPrimaryLanguageMask) == kPolishPrimaryLanguage ? SystemLanguage::Polish
                                                               : SystemLanguage::English;
}

SystemLanguage systemLanguage(reg::RegistryStore& store) {
  reg::Key key = 0;
  if (store.openKey(reg::kCurrentUser, kInternational, reg::access::Read, &key) != reg::err::Success)
    return SystemLanguage::Polish;
  std::uint32_t type = 0;
  std::string data;
  const reg::Status status = reg::readWholeValue(store, key, "Locale", &type, &data);
  store.closeKey(key);
  if (status != reg::err::Success || (type != reg::type::Sz && type != reg::type::ExpandSz))
    return SystemLanguage::Polish;
  return languageOfLocale(data.substr(0, data.find('\0')));
}

SystemLanguage currentSystemLanguage() {
  try {
    return systemLanguage(reg::currentStore());
  } catch (const std::exception&) {
    return SystemLanguage::Polish;  // no machine open: the program's own kind of system
  }
}

}  // namespace morvin::platform
