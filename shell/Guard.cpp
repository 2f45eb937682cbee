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
}  // namespace

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
  } catch (const Exception& e) {
    message = e.message();
  } catch (const std::exception& e) {
    message = e.what();
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
