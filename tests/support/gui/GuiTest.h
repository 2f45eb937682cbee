// The fixture of every GUI test: a QApplication (offscreen), the recording
// dialog and shell services, a fresh temporary machine, and a window set that
// records modal showings instead of blocking. Windows registered during a test
// are destroyed after it.
#pragma once

#include <gtest/gtest.h>

#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>
#include <vector>

#include "shell/RecordingServices.h"
#include "shell/WindowSet.h"
#include "tests/support/TempMachine.h"

namespace morvin::test {

// Makes sure a QApplication exists (the support main creates one; this covers
// test programs that bring their own main).
void ensureApplication();

class GuiTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Override to start a test on an empty machine or with read-only hives.
  virtual TempMachine::Content machineContent() const { return TempMachine::Content::Default; }
  virtual platform::MachineOptions machineOptions() const { return {}; }

  // Texts of the application error boxes shown so far.
  QStringList errorBoxes() const { return dialogLog->errors(); }

  std::unique_ptr<TempMachine> machine;
  std::shared_ptr<RecordingDialogService> dialogLog;
  std::shared_ptr<RecordingShellService> shellLog;
  // Windows that showModal was asked to show, in order.
  std::vector<WindowId> modalShown;
};

// A child control by its designer name; the test fails when it is missing.
template <class T = QWidget>
T* child(QWidget* window, const char* name) {
  T* found = window ? window->findChild<T*>(QString::fromUtf8(name)) : nullptr;
  if (!found) ADD_FAILURE() << "no control " << name << " of the wanted kind";
  return found;
}

// A left click as the user makes it: buttons through click() (a disabled one
// ignores it), any other widget through a mouse press and release at its centre.
void click(QWidget* control);
void click(QWidget* window, const char* name);
void rightClick(QWidget* control, QPoint at = QPoint(-1, -1));
void doubleClick(QWidget* control);
// Mouse entering and leaving a control.
void hover(QWidget* control);
void leave(QWidget* control);
// The controls a screen reader must be able to name: buttons, edits, lists,
// spin boxes, labels and group boxes, without Qt's own inner parts.
QList<QWidget*> readableControls(QWidget* window);
// Runs pending events (timers that are due, deferred deletes).
void processEvents();

}  // namespace morvin::test
