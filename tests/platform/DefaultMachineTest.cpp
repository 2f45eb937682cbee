// The default machine holds what a fresh Polish Windows 98 holds for every
// key the program's windows read.
#include <gtest/gtest.h>

#include <vector>

#include "platform/DefaultMachine.h"
#include "platform/HostFiles.h"
#include "registry/Cp1250.h"
#include "registry/RegistryStore.h"
#include "tests/support/TempMachine.h"

namespace morvin::platform {
namespace {

using reg::kClassesRoot;
using reg::kCurrentConfig;
using reg::kCurrentUser;
using reg::kLocalMachine;

const std::string kPolicies = "Software\\Microsoft\\Windows\\CurrentVersion\\Policies";
const std::string kAdvanced = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Advanced";
const std::string kNameSpace = "Software\\Microsoft\\Windows\\CurrentVersion\\explorer\\Desktop\\NameSpace";
const std::string kUninstall = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::string kRun = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

class DefaultMachineTest : public ::testing::Test {
 protected:
  std::uint32_t typeOf(reg::Key root, const std::string& key, const std::string& name) {
    std::uint32_t type = 0;
    return machine_.value(root, key, name, &type, nullptr) ? type : 0xFFFFFFFF;
  }
  std::vector<std::string> subkeys(reg::Key root, const std::string& key) {
    std::vector<std::string> names;
    reg::Key handle = 0;
    if (reg::currentStore().openKey(root, key, reg::access::Read, &handle) != reg::err::Success) return names;
    std::string name;
    for (std::uint32_t i = 0; reg::currentStore().enumKey(handle, i, &name) == reg::err::Success; ++i)
      names.push_back(cp1250::toUtf8(name));
    reg::currentStore().closeKey(handle);
    return names;
  }
  test::TempMachine machine_;
};

TEST_F(DefaultMachineTest, TheFileSpellsOnlyWhatCodePage1250CanHold) {
  const auto text = host::readFile(defaultMachineRegFile());
  ASSERT_TRUE(text);
  EXPECT_TRUE(text->starts_with("REGEDIT4\r\n") || text->starts_with("REGEDIT4\n"));
  EXPECT_EQ(cp1250::toUtf8(cp1250::fromUtf8(*text)), *text);
}

TEST_F(DefaultMachineTest, MainWindowAndFoldersWindowFindTheirValues) {
  EXPECT_EQ(machine_.string(kLocalMachine, "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
                            "ComputerName"),
            "KOMPUTER");
  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  for (const char* name :
       {"AppData", "Cache", "Cookies", "Desktop", "Favorites", "Fonts", "History", "Personal", "PrintHood",
        "Programs", "Recent", "SendTo", "Start Menu", "Startup", "Templates"}) {
    EXPECT_EQ(typeOf(kCurrentUser, shellFolders, name), reg::type::Sz) << name;
    EXPECT_TRUE(machine_.string(kCurrentUser, shellFolders, name).starts_with("C:\\")) << name;
  }
  EXPECT_EQ(machine_.string(kCurrentUser, shellFolders, "Desktop"), "C:\\WINDOWS\\Pulpit");
  EXPECT_EQ(machine_.string(kCurrentUser, shellFolders, "Start Menu"), "C:\\WINDOWS\\Menu Start");
  EXPECT_EQ(machine_.string(kCurrentUser, shellFolders, "Personal"), "C:\\Moje dokumenty");
  for (const char* name : {"Hidden", "HideFileExt", "ShowInfoTip", "HideIcons"})
    EXPECT_EQ(typeOf(kCurrentUser, kAdvanced, name), reg::type::Dword) << name;
  EXPECT_FALSE(machine_.keyExists(kCurrentUser, "Software\\Morvin"));  // the program makes its own keys
}

TEST_F(DefaultMachineTest, PolicyKeysAreThoseOfAFreshSystem) {
  ASSERT_TRUE(machine_.keyExists(kCurrentUser, kPolicies + "\\Explorer"));
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine_.value(kCurrentUser, kPolicies + "\\Explorer", "NoDriveTypeAutoRun", &type, &bytes));
  EXPECT_EQ(type, reg::type::Binary);
  EXPECT_EQ(bytes, std::string("\x95\0\0\0", 4));
  for (const char* flag :
       {"NoDesktop", "NoSaveSettings", "NoRun", "NoClose", "NoNetHood", "NoTrayContexMenu"})
    EXPECT_FALSE(machine_.valueExists(kCurrentUser, kPolicies + "\\Explorer", flag)) << flag;
  EXPECT_FALSE(machine_.keyExists(kCurrentUser, kPolicies + "\\System"));
  EXPECT_FALSE(machine_.keyExists(kCurrentUser, kPolicies + "\\Network"));
  EXPECT_FALSE(machine_.keyExists(kLocalMachine, kPolicies + "\\Network"));
  EXPECT_FALSE(machine_.keyExists(kCurrentUser, kPolicies + "\\WinOldApp"));
}

TEST_F(DefaultMachineTest, DesktopAndWindowsWindowsFindControlPanelDisplayAndLogonValues) {
  EXPECT_EQ(machine_.string(kCurrentUser, "Control Panel\\Desktop", "MenuShowDelay"), "400");
  EXPECT_EQ(machine_.string(kCurrentUser, "Control Panel\\Desktop", "CursorBlinkRate"), "530");
  EXPECT_EQ(typeOf(kCurrentUser, "Control Panel\\Desktop", "CursorBlinkRate"), reg::type::Sz);
  EXPECT_FALSE(machine_.valueExists(kCurrentUser, "Control Panel\\Desktop", "PaintDesktopVersion"));

  EXPECT_EQ(machine_.string(kCurrentConfig, "Display\\Settings", "Resolution"), "800,600");
  EXPECT_EQ(machine_.string(kCurrentConfig, "Display\\Settings", "BitsPerPixel"), "16");
  EXPECT_EQ(typeOf(kCurrentConfig, "Display\\Settings", "RefreshRate"), reg::type::Sz);

  const std::string winlogon = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Winlogon";
  EXPECT_TRUE(machine_.keyExists(kLocalMachine, winlogon));
  EXPECT_EQ(typeOf(kLocalMachine, winlogon, "LegalNoticeCaption"), reg::type::Sz);

  EXPECT_EQ(machine_.string(kClassesRoot, "Paint.Picture\\DefaultIcon", ""),
            "C:\\Progra~1\\Access~1\\MSPAINT.EXE,1");
}

TEST_F(DefaultMachineTest, TaskbarWindowFindsTheRunListWithTheDoubleTrayEntry) {
  EXPECT_EQ(machine_.string(kLocalMachine, kRun, "SystemTray"), "SysTray.Exe");
  EXPECT_TRUE(machine_.valueExists(kLocalMachine, kRun, "ScanRegistry"));
  EXPECT_TRUE(machine_.valueExists(kLocalMachine, kRun, "TaskMonitor"));
}

TEST_F(DefaultMachineTest, IconsWindowFindsTheDesktopObjectsAndShortcutArrow) {
  struct Object {
    const char* clsid;
    const char* name;
    const char* tip;
  };
  const Object objects[] = {
      {"{20D04FE0-3AEA-1069-A2D8-08002B30309D}", "Mój komputer", "Wyświetla zawartość tego komputera."},
      {"{450D8FBA-AD25-11D0-98A8-0800361B1103}", "Moje dokumenty",
       "Przechowuje dokumenty, grafikę i inne pliki."},
      {"{871C5380-42A0-1069-A2EA-08002B30309D}", "Internet Explorer",
       "Znajduje i wyświetla informacje sieci Web w Internecie."},
      {"{645FF040-5081-101B-9F08-00AA002F954E}", "Kosz",
       "Zawiera usunięte elementy, które możesz ostatecznie usunąć lub przywrócić."},
      {"{208D2C60-3AEA-1069-A2D7-08002B30309D}", "Otoczenie sieciowe",
       "Wyświetla wszystkie komputery znajdujące się w Twojej sieci."},
  };
  for (const Object& object : objects) {
    const std::string key = std::string("CLSID\\") + object.clsid;
    EXPECT_EQ(machine_.string(kClassesRoot, key, ""), object.name);
    EXPECT_EQ(machine_.string(kClassesRoot, key, "InfoTip"), object.tip);
    EXPECT_FALSE(machine_.string(kClassesRoot, key + "\\DefaultIcon", "").empty()) << key;
  }
  EXPECT_EQ(machine_.string(kLocalMachine, kNameSpace + "\\{645FF040-5081-101B-9F08-00AA002F954E}", ""),
            "Kosz");
  EXPECT_EQ(machine_.string(kLocalMachine, kNameSpace + "\\{450d8fba-ad25-11d0-98a8-0800361b1103}", ""),
            "Moje dokumenty");
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine_.value(kClassesRoot, "lnkfile", "IsShortcut", &type, &bytes));
  EXPECT_EQ(type, reg::type::Sz);
  EXPECT_EQ(bytes, std::string(1, '\0'));
  // Classes are a view of the machine hive.
  EXPECT_EQ(machine_.string(kLocalMachine, "Software\\Classes\\lnkfile", ""), "Skrót");
}

TEST_F(DefaultMachineTest, ProgramsWindowListsUninstallEntriesWithPolishNames) {
  const auto entries = subkeys(kLocalMachine, kUninstall);
  EXPECT_GE(entries.size(), 5u);
  int named = 0, polish = 0, quietOnly = 0;
  for (const std::string& entry : entries) {
    const std::string key = kUninstall + "\\" + cp1250::fromUtf8(entry);
    const std::string name = machine_.string(kLocalMachine, key, "DisplayName");
    if (!name.empty()) {
      ++named;
      EXPECT_FALSE(machine_.string(kLocalMachine, key, "UninstallString").empty()) << entry;
    }
    if (cp1250::fromUtf8(name) != name) ++polish;  // holds letters beyond ASCII
    if (name.empty() && machine_.valueExists(kLocalMachine, key, "QuietDisplayName")) ++quietOnly;
  }
  EXPECT_GE(named, 4);
  EXPECT_GE(polish, 2);
  EXPECT_GE(quietOnly, 1);
  EXPECT_TRUE(machine_.keyExists(kLocalMachine, "Software\\CLASSES\\Directory\\shell"));
  EXPECT_FALSE(machine_.keyExists(kLocalMachine, "Software\\CLASSES\\Directory\\shell\\Morvin NG"));
}

}  // namespace
}  // namespace morvin::platform
