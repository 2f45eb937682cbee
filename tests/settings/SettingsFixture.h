// The settings window on a throw-away machine: the main window, stand-ins for
// the category windows of the colour set, then TfmSet, in the start-up order.
#pragma once

#include <QColor>
#include <QDialog>
#include <QTemporaryDir>

#include "app/kodMainForm.h"
#include "app/kodSet.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {

inline constexpr reg::Key HKCU = reg::kCurrentUser;
inline constexpr reg::Key HKLM = reg::kLocalMachine;
inline constexpr const char* kSettings = "Software\\Morvin\\Ustawienia";
inline constexpr const char* kVerb = "Software\\CLASSES\\Directory\\shell\\Morvin NG";

class SettingsTest : public GuiTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the windows as the start-up does (the guide window comes after TfmSet).
  void start();
  void startGuide();

  // The members of the colour set that the test made, in their order.
  std::vector<QWidget*> colourSet() const;
  static bool hasColour(QWidget* w, QColor c);

  QString picture(const char* name, QColor colour, const char* format = "jpeg");
  template <class T = QWidget>
  T* control(const char* name) {
    return child<T>(set, name);
  }

  QTemporaryDir data;
  QColor normalLook = QColor(0x11, 0x22, 0x33), pressedLook = QColor(0x44, 0x55, 0x66);
  TMainForm* main = nullptr;
  TfmSet* set = nullptr;
  QDialog* guide = nullptr;
  QWidget* menuStartPanel = nullptr;
};

}  // namespace morvin::test
