// The program's single window instances, created once at start-up in this order.
#pragma once

#include <QString>
#include <functional>

class QWidget;
class QColor;

namespace morvin {

enum class WindowId {
  MainForm,
  Pulpit,
  Windows,
  Web,
  MenuStart,
  Dos,
  Foldery,
  Ikony,
  Set,
  Programy,
  Sztuczki,
  Count
};

void registerWindow(WindowId id, QWidget* window);
QWidget* window(WindowId id);  // nullptr when not created (or creation failed early)
void showModal(WindowId id);   // exec() of the window, if it exists
void clearWindows();           // for tests: forgets (does not delete) the windows

// How showModal shows a window; tests install one that records instead of
// blocking. An empty runner restores the real one (exec()).
using ModalRunner = std::function<void(WindowId id, QWidget* window)>;
void setModalRunner(ModalRunner runner);

// Background colour of a window or panel (the program's window colour).
void setBackgroundColour(QWidget* widget, const QColor& colour);

}  // namespace morvin
