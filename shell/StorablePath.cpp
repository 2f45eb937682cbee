#include "StorablePath.h"

#include <QCoreApplication>

#include "DialogService.h"
#include "Text.h"

namespace morvin {

std::optional<std::string> storablePath(QWidget* parent, const QString& path) {
  std::string ansi = toAnsi(path);
  if (fromAnsi(ansi) == path) return ansi;
  dialogs().notice(
      parent, QStringLiteral("Warning"),
      QCoreApplication::translate("morvin::StorablePath",
                                  "Ścieżka „%1” zawiera znaki, których system nie zapisze w rejestrze. "
                                  "Nic nie zostało zapisane: wybierz plik lub folder, w którego ścieżce "
                                  "są tylko polskie i zachodnie litery.")
          .arg(path),
      MsgIcon::Warning);
  return std::nullopt;
}

}  // namespace morvin
