// A throw-away machine with a Start Menu folder, a data folder whose two
// Programs pictures are told apart by colour, and the window made on them.
#pragma once

#include <QCheckBox>
#include <QColor>
#include <QLabel>
#include <QListWidget>
#include <QTemporaryDir>
#include <string>

#include "categories/kodMenuStart.h"
#include "registry/WinReg.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {

inline constexpr const char* kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline constexpr const char* kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* kStore = "Software\\Morvin\\Menu Start";
inline constexpr const char* kDesktop = "Control Panel\\Desktop";

// Colours of the two Programs pictures the fixture writes.
inline const QColor kSubfoldersHiddenColour(200, 0, 0);
inline const QColor kProgramsColour(0, 0, 200);

class MenuStartTest : public GuiTest {
 protected:
  TempMachine::Content machineContent() const override { return TempMachine::Content::Empty; }
  void SetUp() override;
  void TearDown() override;

  TfmMenuStart* open() { return static_cast<TfmMenuStart*>(createTfmMenuStart(nullptr)); }
  void createPolicies() { machine->createKey(reg::kCurrentUser, kPolicies); }
  void removePicture(const char* file);
  std::string startMenuFolder() const { return machine->driveC() + "/WINDOWS/Menu Start"; }

  static QCheckBox* box(QWidget* w, int n) {
    return child<QCheckBox>(w, ("CheckBox" + std::to_string(n)).c_str());
  }
  static QLabel* image(QWidget* w, int n) { return child<QLabel>(w, ("Image" + std::to_string(n)).c_str()); }
  // The colour in the middle of the Programs picture (Image2).
  static QColor programsColour(QWidget* w);
  static QListWidget* autostart(QWidget* w) { return child<QListWidget>(w, "Lista"); }
  static QStringList autostartLines(QWidget* w);
  static void mark(QWidget* w, int line) { autostart(w)->item(line)->setCheckState(Qt::Checked); }

  QTemporaryDir data;
};

}  // namespace morvin::test
