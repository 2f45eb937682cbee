// Handler wrappers: no exception ever crosses a Qt signal or event boundary.
#pragma once

#include <QString>
#include <exception>
#include <string>

namespace morvin {

// The full-stop rule of the error box, on cp1250 bytes.
std::string withFullStop(const std::string& message);
// The application error box (through the dialog service), with the full-stop rule applied.
void showApplicationError(const std::string& cp1250Message);

// Runs `f`; every failure is swallowed.
template <class F>
void guarded(F&& f) noexcept {
  try {
    f();
  } catch (...) {
  }
}

// True while a window's load runs: an unguarded handler that the load sets
// off reports nothing, its failure stays inside the load step.
bool loading();
class LoadScope {
 public:
  LoadScope();
  ~LoadScope();
  LoadScope(const LoadScope&) = delete;
  LoadScope& operator=(const LoadScope&) = delete;
};

// What a failure says to the user (cp1250), in the program's language where
// the failure lets it be said again (a hive file that cannot be used).
std::string failureMessage(const std::exception& failure);

void reportFailure(std::exception_ptr failure);  // error box, or nothing while loading

// Runs `f`; a failure reaches the application error box.
template <class F>
void unguarded(F&& f) noexcept {
  try {
    f();
  } catch (...) {
    reportFailure(std::current_exception());
  }
}

}  // namespace morvin
