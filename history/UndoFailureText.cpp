#include "UndoFailureText.h"

#include <QCoreApplication>

#include "shell/Text.h"

namespace morvin {

namespace {

// The words belong to the window's translations (and lupdate sees them there).
struct WindowWords {
  Q_DECLARE_TR_FUNCTIONS(morvin::TfmHistoria)
};

// Why the store refused, as the registry's error codes say it.
QString statusText(reg::Status status) {
  namespace err = reg::err;
  switch (status) {
    case err::FileNotFound:
      return WindowWords::tr("klucz lub wartość nie istnieje");
    case err::AccessDenied:
      return WindowWords::tr("odmowa dostępu");
    case err::InvalidHandle:
      return WindowWords::tr("nieprawidłowy uchwyt klucza");
    case err::NotEnoughMemory:
      return WindowWords::tr("za mało pamięci");
    case err::InvalidParameter:
      return WindowWords::tr("nieprawidłowa nazwa (za długa lub błędna)");
    case err::BadDb:
    case err::BadKey:
      return WindowWords::tr("plik rejestru jest uszkodzony");
    case err::CantOpen:
    case err::CantRead:
      return WindowWords::tr("nie można odczytać pliku rejestru");
    case err::CantWrite:
      return WindowWords::tr("nie można zapisać pliku rejestru");
    case err::KeyDeleted:
      return WindowWords::tr("klucz został usunięty");
    default:
      return WindowWords::tr("błąd %1").arg(status);
  }
}

}  // namespace

QString undoFailureText(const reg::journal::UndoFailure& failure) {
  using Kind = reg::journal::UndoFailure::Kind;
  switch (failure.kind) {
    case Kind::Restore:
      return WindowWords::tr("Nie można przywrócić %1: %2")
          .arg(fromAnsi(reg::journal::describeItem(failure.entry)), statusText(failure.status));
    case Kind::ProfileWrite:
      return WindowWords::tr("Nie można zapisać pliku %1").arg(fromAnsi(failure.entry.path));
    case Kind::Transaction:
      break;
  }
  return WindowWords::tr("Nie udało się cofnąć zmian: %1").arg(statusText(failure.status));
}

}  // namespace morvin
