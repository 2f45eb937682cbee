// Shared pieces of the Icons window tests: the keys it works on and a fixture
// that opens the window on a fresh default machine.
#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <cstdint>
#include <string>

#include "categories/kodIkony.h"
#include "registry/Cp1250.h"
#include "registry/TRegistry.h"
#include "shell/WindowFactories.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin::test {

inline const std::string kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
inline const std::string kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
inline const std::string kNameSpace =
    "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace";
inline const std::string kBinEntry = kNameSpace + "\\{645FF040-5081-101B-9F08-00AA002F954E}";
inline const std::string kDocsEntry = kNameSpace + "\\{450d8fba-ad25-11d0-98a8-0800361b1103}";
inline const std::string kBinClass = "CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}";
inline const std::string kComputerClass = "CLSID\\{20D04FE0-3AEA-1069-A2D8-08002B30309D}";
inline const std::string kNetworkClass = "CLSID\\{208D2C60-3AEA-1069-A2D7-08002B30309D}";

class IkonyTest : public GuiTest {
 protected:
  TfmIkony* open() { return static_cast<TfmIkony*>(createTfmIkony(nullptr)); }

  QCheckBox* box(QWidget* w, const char* name) { return child<QCheckBox>(w, name); }

  // Removes one value through the registry layer (UTF-8 names).
  void removeValue(reg::Key root, const std::string& key, const std::string& name) {
    TRegistry reg;
    reg.SelectRoot(root);
    ASSERT_TRUE(reg.OpenPath(cp1250::fromUtf8(key), false));
    ASSERT_TRUE(reg.RemoveValue(cp1250::fromUtf8(name)));
  }

  std::uint32_t typeOf(reg::Key root, const std::string& key, const std::string& name) {
    std::uint32_t type = 0;
    std::string bytes;
    return machine->value(root, key, name, &type, &bytes) ? type : 0;
  }
  std::string bytesOf(reg::Key root, const std::string& key, const std::string& name) {
    std::uint32_t type = 0;
    std::string bytes;
    machine->value(root, key, name, &type, &bytes);
    return bytes;
  }
};

}  // namespace morvin::test
