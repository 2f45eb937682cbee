// The platform layer of a Windows build on the system: profile files through
// TIniFile, file attributes, the Windows folder, the machine and shell calls.
#include <windows.h>
// <windows.h> names the "A"/"W" pair SetFileAttributes and GetFileAttributes.
#undef SetFileAttributes
#undef GetFileAttributes

#include <filesystem>
#include <fstream>
#include <sstream>

#include "StoreFixture.h"
#include "platform/FileAttributes.h"
#include "platform/Machine.h"
#include "platform/Win32Shell.h"
#include "platform/WindowsFolder.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/TIniFile.h"
#include "registry/TRegistry.h"
#include "registry/Win32ProfileStore.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;
namespace attr = platform::attr;

class Win32Platform : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    reg::setCurrentProfileStore(std::make_shared<reg::Win32ProfileStore>());
  }
  void TearDown() override {
    reg::setCurrentProfileStore(nullptr);
    for (const auto& entry : fs::directory_iterator(folder()))
      platform::SetFileAttributes(entry.path().string(), attr::Normal);
    StoreTest::TearDown();
  }
  // The file's Windows path (the test folder is a Windows folder here).
  std::string path(const std::string& name) const { return folder() + "\\" + name; }
  void put(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string contents(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};

TEST_F(Win32Platform, ProfileFilesReadAsTheHostStoreReadsThem) {
  put("MsDos.sys",
      cp1250::fromUtf8("[Paths]\r\nWinDir=C:\\WINDOWS\r\n[Options]\r\n  BootGUI = 1  \r\n;Logo=0\r\n"
                       "Quoted=\"  a b  \"\r\nŻółw=żółty\r\nHex=0x10\r\nWord=abc\r\n"));
  TIniFile ini(path("MsDos.sys"));
  EXPECT_EQ(ini.IniReadText("options", "BOOTGUI", "d"), "1");
  EXPECT_EQ(ini.IniReadText("Options", "Quoted", "d"), "  a b  ");
  // Wine folds the case of ASCII letters only in key names (docs/WINDOWS.md).
  EXPECT_EQ(ini.IniReadText("Options", cp1250::fromUtf8("Żółw"), "d"), cp1250::fromUtf8("żółty"));
  EXPECT_EQ(ini.IniReadText("Options", "Logo", "d"), "d");
  EXPECT_EQ(ini.IniReadText("Options", "WinDir", "d"), "d");
  EXPECT_EQ(TIniFile(path("Nowhere.ini")).IniReadText("Options", "BootGUI", "def"), "def");
  EXPECT_EQ(ini.IniReadNumber("Options", "Hex", 9), 16);
  EXPECT_TRUE(ini.IniReadFlag("Options", "Word", true));
  EXPECT_FALSE(ini.IniReadFlag("Options", "Missing", false));

  put("Long.ini", "[S]\r\nK=" + std::string(3000, 'x') + "\r\n");
  EXPECT_EQ(TIniFile(path("Long.ini")).IniReadText("S", "K", ""), std::string(2047, 'x'));
}

TEST_F(Win32Platform, ProfileWritesCreateTheFileAndRefuseLineBreakingText) {
  TIniFile ini(path("Nowy.ini"));
  ini.IniWriteText("S", "K", cp1250::fromUtf8("wartość"));
  ini.IniWriteFlag("S", "Flag", true);
  EXPECT_EQ(contents("Nowy.ini"), "[S]\r\nK=warto\x9c\xe6\r\nFlag=1\r\n");
  const std::string before = contents("Nowy.ini");
  EXPECT_THROW(ini.IniWriteText("S", "Logo", "0\r\n[Injected]"), EIniFileException);
  EXPECT_THROW(ini.IniWriteText("S", "A=B", "0"), EIniFileException);
  EXPECT_THROW(ini.IniWriteText("S]\r\n[T", "K", "0"), EIniFileException);
  EXPECT_EQ(contents("Nowy.ini"), before);
  EXPECT_THROW(TIniFile(path("NoFolder\\x.ini")).IniWriteText("S", "K", "v"), EIniFileException);
}

// The MS-DOS window's cycle: attributes cleared, options written, file
// marked read-only and hidden again, after which writes are refused.
TEST_F(Win32Platform, AttributesGuardTheBootFileAsTheMsDosWindowUsesThem) {
  put("MsDos.sys", "[Options]\r\nBootGUI=1\r\n");
  const std::string file = path("MsDos.sys");
  ASSERT_TRUE(platform::SetFileAttributes(file, attr::ReadOnly | attr::Hidden));
  EXPECT_EQ(platform::GetFileAttributes(file) & (attr::ReadOnly | attr::Hidden | attr::System),
            attr::ReadOnly | attr::Hidden);
  TIniFile ini(file);
  try {
    ini.IniWriteFlag("Options", "BootGUI", false);
    FAIL() << "a read-only file was written";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.message(), "Unable to write to " + file);
  }
  EXPECT_EQ(contents("MsDos.sys"), "[Options]\r\nBootGUI=1\r\n");

  ASSERT_TRUE(platform::SetFileAttributes(file, 0));
  EXPECT_EQ(platform::GetFileAttributes(file) & (attr::ReadOnly | attr::Hidden), 0);
  ini.IniWriteFlag("Options", "BootGUI", false);
  EXPECT_EQ(contents("MsDos.sys"), "[Options]\r\nBootGUI=0\r\n");
  EXPECT_FALSE(platform::SetFileAttributes(path("Missing.sys"), attr::Hidden));
  EXPECT_EQ(platform::GetFileAttributes(path("Missing.sys")), -1);
}

TEST_F(Win32Platform, TheWindowsFolderIsTheSystemsWithItsWallpaperFolderBelow) {
  const std::string windows = platform::KatalogWindows();
  ASSERT_GE(windows.size(), 3u);
  EXPECT_EQ(windows.substr(1, 2), ":\\");
  EXPECT_NE(windows.back(), '\\');
  EXPECT_TRUE(fs::is_directory(windows));
  EXPECT_TRUE(fs::is_directory(windows + "\\system32"));
  EXPECT_EQ(platform::defaultMachineFolder(), windows.substr(0, 3));
}

TEST_F(Win32Platform, OpeningTheMachineMakesTheCursorWorkOnTheSystemRegistry) {
  platform::openMachine(platform::defaultMachineFolder());
  {
    TRegistry r;
    ASSERT_TRUE(r.OpenPath("Software\\Morvin\\Ustawienia", true));
    r.WriteText("Kolor", cp1250::fromUtf8("żółty"));
  }
  HKEY key = nullptr;
  ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Morvin\\Ustawienia", 0, KEY_READ, &key),
            ERROR_SUCCESS);
  char data[16] = {};
  DWORD size = sizeof data, type = 0;
  EXPECT_EQ(RegQueryValueExA(key, "kolor", nullptr, &type, reinterpret_cast<BYTE*>(data), &size),
            ERROR_SUCCESS);
  RegCloseKey(key);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(std::string(data, size), cp1250::fromUtf8("żółty") + '\0');
  EXPECT_EQ(TIniFile(path("x.ini")).IniReadText("S", "K", "d"), "d");  // the profile store is installed too
}

TEST_F(Win32Platform, ShellCallsReportWhetherTheSystemTookThem) {
  EXPECT_TRUE(platform::winExec("cmd.exe /c exit 0", SW_HIDE));
  EXPECT_FALSE(platform::winExec(path("nothere.exe"), SW_HIDE));
  EXPECT_FALSE(platform::shellExecute(nullptr, "open", path("nothere.doc"), SW_SHOWNORMAL));
}

}  // namespace
}  // namespace morvin::test
