// What the Windows window's tests share: the keys it works on and a fixture
// that creates the window on the test's machine.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <string>

#include "categories/kodWindows.h"
#include "shell/TextSpinBox.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {

inline const std::string kSystemKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
inline const std::string kExplorerKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline const std::string kDesktopKey = "Control Panel\\Desktop";
inline const std::string kWinlogonKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Winlogon";
inline const std::string kDisplayKey = "Display\\Settings";

class WindowsWindowTest : public GuiTest {
 protected:
  // Creates the window; its load runs now, as at program start.
  QWidget* create() {
    window_ = createTfmWindows(nullptr);
    return window_;
  }
  QCheckBox* box(const char* name) { return child<QCheckBox>(window_, name); }
  QLineEdit* edit(const char* name) { return child<QLineEdit>(window_, name); }
  QPlainTextEdit* memo() { return child<QPlainTextEdit>(window_, "Memo1"); }
  TextSpinBox* spin() { return child<TextSpinBox>(window_, "SpinEdit1"); }

  // The stored value's type and bytes; type 0 when the value is missing.
  std::pair<std::uint32_t, std::string> stored(reg::Key root, const std::string& key,
                                               const std::string& name) {
    std::uint32_t type = 0;
    std::string bytes;
    if (!machine->value(root, key, name, &type, &bytes)) return {0, {}};
    return {type, bytes};
  }
  std::string blinkRate() { return machine->string(reg::kCurrentUser, kDesktopKey, "CursorBlinkRate"); }

  QWidget* window_ = nullptr;
};

}  // namespace morvin::test
