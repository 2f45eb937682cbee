#include "UndoFailureText.h"

#include <QCoreApplication>

#include "shell/Text.h"

namespace morvin {

namespace {

// The words belong to the window's translations.
QString windowTr(const char* text) {
  return QCoreApplication::translate("morvin::TfmHistoria", text);
}

// Why the store refused, as the registry's error codes say it.
QString statusText(reg::Status status) {
  namespace err = reg::err;
  switch (status) {
    case err::FileNotFound:
      return windowTr("klucz lub wartość nie istnieje");
    case err::AccessDenied:
      return windowTr("odmowa dostępu");
    case err::InvalidHandle:
      return windowTr("nieprawidłowy uchwyt klucza");
    case err::NotEnoughMemory:
      return windowTr("za mało pamięci");
    case err::InvalidParameter:
      return windowTr("nieprawidłowa nazwa (za długa lub błędna)");
    case err::BadDb:
    case err::BadKey:
      return windowTr("plik rejestru jest uszkodzony");
    case err::CantOpen:
    case err::CantRead:
      return windowTr("nie można odczytać pliku rejestru");
    case err::CantWrite:
      return windowTr("nie można zapisać pliku rejestru");
    case err::KeyDeleted:
      return windowTr("klucz został usunięty");
    default:
      return windowTr("błąd %1").arg(status);
  }
}

}  // namespace

QString undoFailureText(const reg::journal::UndoFailure& failure) {
  using Kind = reg::journal::UndoFailure::Kind;
  switch (failure.kind) {
    case Kind::Restore:
      return windowTr("Nie można przywrócić %1: %2")
          .arg(fromAnsi(reg::journal::describeItem(failure.entry)), statusText(failure.status));
    case Kind::ProfileWrite:
      return windowTr("Nie można zapisać pliku %1").arg(fromAnsi(failure.entry.path));
    case Kind::Transaction:
      break;
  }
  return windowTr("Nie udało się cofnąć zmian: %1").arg(statusText(failure.status));
}

}  // namespace morvin
