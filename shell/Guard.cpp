#include "Guard.h"

#include <QCoreApplication>

#include "DialogService.h"
#include "Text.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"

namespace morvin {

namespace {
thread_local int loadDepth = 0;

// Shown for a failure that carries no message of its own.
std::string unknownFailureText() {
  return toAnsi(QCoreApplication::translate("Guard", "Nieznany błąd programu"));
}

// A hive file failure said again in the program's language; the Polish
// patterns are the registry layer's own, word for word.
QString hiveFilePattern(EHiveFileError::Kind kind) {
  using Kind = EHiveFileError::Kind;
  switch (kind) {
    case Kind::NotAHive:
      return QCoreApplication::translate("Guard", "Plik %1 nie jest plikiem rejestru");
    case Kind::Damaged:
      return QCoreApplication::translate("Guard", "Plik rejestru %1 jest uszkodzony");
    case Kind::CannotOpen:
      break;
    case Kind::CannotCreate:
      return QCoreApplication::translate("Guard", "Nie można utworzyć pliku rejestru %1");
    case Kind::FromNewerVersion:
      return QCoreApplication::translate("Guard", "Plik rejestru %1 pochodzi z nowszej wersji programu");
  }
  return QCoreApplication::translate("Guard", "Nie można otworzyć pliku rejestru %1");
}
}  // namespace

std::string failureMessage(const std::exception& failure) {
  if (const auto* hive = dynamic_cast<const EHiveFileError*>(&failure)) {
    std::string text = toAnsi(hiveFilePattern(hive->kind()).arg(fromAnsi(hive->path())));
    if (!hive->detail().empty()) text += " (" + hive->detail() + ")";
    return text;
  }
  if (const auto* e = dynamic_cast<const Exception*>(&failure)) return e->message();
  return failure.what();
}

std::string withFullStop(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > static_cast<unsigned char>('.'))
    return message + '.';
  return message;
}

void showApplicationError(const std::string& cp1250Message) {
  dialogs().errorBox(fromAnsi(withFullStop(cp1250Message)));
}

bool loading() {
  return loadDepth > 0;
}
LoadScope::LoadScope() {
  ++loadDepth;
}
LoadScope::~LoadScope() {
  --loadDepth;
}

void reportFailure(std::exception_ptr failure) {
  if (loading() || !failure) return;
  std::string message;
  try {
    std::rethrow_exception(failure);
  } catch (const std::exception& e) {
    message = failureMessage(e);
  } catch (...) {
    message = unknownFailureText();
  }
  // The error box itself must not let anything escape into Qt.
  try {
    showApplicationError(message);
  } catch (...) {
  }
}

}  // namespace morvin
