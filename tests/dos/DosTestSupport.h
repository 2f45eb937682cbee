// Shared pieces of the MS-DOS window tests: the boot options file of the
// temporary machine and a fixture that opens the window.
#pragma once

#include <QCheckBox>
#include <QLabel>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "categories/kodDos.h"
#include "platform/FileAttributes.h"
#include "registry/TIniFile.h"
#include "shell/TextSpinBox.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {

inline const std::string kWinOldApp = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\WinOldApp";
inline const char* kBootFile = "C:\\MsDos.sys";

class DosTest : public GuiTest {
 protected:
  TfmDos* open() { return static_cast<TfmDos*>(createTfmDos(nullptr)); }

  std::string hostFile() const { return machine->driveC() + "/MsDos.sys"; }
  std::string fileText() const {
    std::ifstream in(hostFile(), std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
  }
  // Replaces the file (CRLF line ends as written here) with writable attributes.
  void writeFile(const std::string& text) {
    platform::SetFileAttributes(kBootFile, 0);
    std::ofstream(hostFile(), std::ios::binary | std::ios::trunc) << text;
  }
  // A key of [Options]; "<none>" when missing.
  std::string option(const char* key) { return TIniFile(kBootFile).IniReadText("Options", key, "<none>"); }
  // The lines of one section, header included, as stored.
  std::string section(const std::string& name) const {
    const std::string text = fileText();
    const std::size_t start = text.find("[" + name + "]");
    if (start == std::string::npos) return {};
    const std::size_t end = text.find("\r\n[", start);
    return text.substr(start, end == std::string::npos ? std::string::npos : end + 2 - start);
  }

  QCheckBox* box(QWidget* w, const char* name) { return child<QCheckBox>(w, name); }
  TextSpinBox* delay(QWidget* w) { return child<TextSpinBox>(w, "CzasMenu"); }
};

}  // namespace morvin::test
