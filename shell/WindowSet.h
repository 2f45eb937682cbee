// The program's single window instances, created once at start-up in this order.
#pragma once

#include <QString>
#include <functional>
#include <string>

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
// Shows a window made on demand modally, through the same runner (as WindowId::Count).
void showModalWindow(QWidget* window);
void clearWindows();  // for tests: forgets (does not delete) the windows
// Every window's bound controls show what is stored now (after changes were
// taken back); nothing is written.
void reloadWindows();
// What the journal of changes names as the source of a change made through
// the window (its own caption, cp1250, whatever the program's language).
std::string journalSourceOf(WindowId id);
// Makes changes name the window they were made in: the active modal window,
// else the active one, else the main window.
void installJournalSource();

// How showModal shows a window; tests install one that records instead of
// blocking. An empty runner restores the real one (exec()).
using ModalRunner = std::function<void(WindowId id, QWidget* window)>;
void setModalRunner(ModalRunner runner);

// Background colour of a window or panel (the program's window colour).
void setBackgroundColour(QWidget* widget, const QColor& colour);

}  // namespace morvin
