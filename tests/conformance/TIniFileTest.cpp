// TIniFile over the profile store: the Windows profile-file rules for reading,
// writes that touch only their own line, and failures as EIniFileException.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/xattr.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "StoreFixture.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"
#include "registry/HostProfileStore.h"
#include "registry/TIniFile.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;

class TIniFileTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    // C:\ is this test's folder.
    profiles_ = std::make_shared<reg::HostProfileStore>(
        [this](const std::string& path) -> std::optional<std::string> {
          if (path.size() < 3 || (path[0] != 'C' && path[0] != 'c') || path.compare(1, 2, ":\\") != 0)
            return std::nullopt;
          std::string host = folder() + "/" + path.substr(3);
          for (char& c : host)
            if (c == '\\') c = '/';
          return host;
        });
    reg::setCurrentProfileStore(profiles_);
  }
  void TearDown() override {
    reg::setCurrentProfileStore(nullptr);
    StoreTest::TearDown();
  }

  std::string host(const std::string& name) const { return folder() + "/" + name; }
  void put(const std::string& name, const std::string& bytes) {
    std::ofstream(host(name), std::ios::binary) << bytes;
  }
  std::string contents(const std::string& name) const {
    std::ifstream in(host(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::shared_ptr<reg::HostProfileStore> profiles_;
};

TEST_F(TIniFileTest, ReadsFollowTheProfileFileRules) {
  put("MsDos.sys",
      cp1250::fromUtf8("[Paths]\r\nWinDir=C:\\WINDOWS\r\n"
                       "[Options]\r\n  BootGUI = 1  \r\n;Logo=0\r\nQuoted=\"  a b  \"\r\nInner=\"x\"y\"\r\n"
                       "Half=\"open\r\nBare\r\nŻółw=żółty\r\nBootGUI=0\r\n"
                       "[options]\r\nLate=1\n"));
  TIniFile ini("C:\\MsDos.sys");
  EXPECT_EQ(ini.IniReadText("Options", "BootGUI", "d"), "1");  // blanks trimmed, first key wins
  EXPECT_EQ(ini.IniReadText("OPTIONS", "bootgui", "d"), "1");
  EXPECT_EQ(ini.IniReadText("Options", "Quoted", "d"), "  a b  ");
  EXPECT_EQ(ini.IniReadText("Options", "Inner", "d"), "x\"y");
  EXPECT_EQ(ini.IniReadText("Options", "Half", "d"), "\"open");
  EXPECT_EQ(ini.IniReadText("Options", "Bare", "d"), "");
  EXPECT_EQ(ini.IniReadText("Options", cp1250::fromUtf8("ŻÓŁW"), "d"), cp1250::fromUtf8("żółty"));
  EXPECT_EQ(ini.IniReadText("Options", "Logo", "d"), "d");    // a comment is no key
  EXPECT_EQ(ini.IniReadText("Options", "WinDir", "d"), "d");  // another section's key
  EXPECT_EQ(ini.IniReadText("Options", "Late", "d"), "d");    // only the first section of a name
  EXPECT_EQ(ini.IniReadText("Missing", "BootGUI", "d"), "d");
  EXPECT_EQ(TIniFile("C:\\Nowhere.ini").IniReadText("Options", "BootGUI", "def"), "def");
  EXPECT_EQ(TIniFile("D:\\Other.ini").IniReadText("Options", "BootGUI", "def"), "def");

  put("Long.ini", "[S]\r\nK=" + std::string(3000, 'x') + "\r\n");
  EXPECT_EQ(TIniFile("C:\\Long.ini").IniReadText("S", "K", ""), std::string(2047, 'x'));
}

TEST_F(TIniFileTest, NumbersAndFlagsUseTheHexRuleAndFallBackToTheDefault) {
  put("n.ini",
      "[N]\r\nHex=0x10\r\nHEX2=0X1f\r\nJust0x=0x\r\nDec=12\r\nNeg=-5\r\nWord=abc\r\nEmpty=\r\nHuge="
      "4294967296\r\n"
      "AllBits=0xFFFFFFFF\r\nMin=-2147483648\r\nTooLong=0x100000000\r\nTail=12a\r\nZero=0\r\nPlus=+3\r\n");
  TIniFile ini("C:\\n.ini");
  EXPECT_EQ(ini.IniReadNumber("N", "Hex", 9), 16);
  EXPECT_EQ(ini.IniReadNumber("N", "HEX2", 9), 31);
  EXPECT_EQ(ini.IniReadNumber("N", "Just0x", 9), 9);
  EXPECT_EQ(ini.IniReadNumber("N", "Dec", 9), 12);
  EXPECT_EQ(ini.IniReadNumber("N", "Neg", 9), -5);
  EXPECT_EQ(ini.IniReadNumber("N", "Plus", 9), 3);
  EXPECT_EQ(ini.IniReadNumber("N", "Word", 9), 9);
  EXPECT_EQ(ini.IniReadNumber("N", "Empty", 9), 9);
  EXPECT_EQ(ini.IniReadNumber("N", "Huge", 9), 9);
  EXPECT_EQ(ini.IniReadNumber("N", "AllBits", 9), -1);
  EXPECT_EQ(ini.IniReadNumber("N", "Min", 9), INT32_MIN);
  EXPECT_EQ(ini.IniReadNumber("N", "TooLong", 9), 9);
  EXPECT_EQ(ini.IniReadNumber("N", "Tail", 9), 9);
  EXPECT_EQ(ini.IniReadNumber("N", "Missing", -7), -7);

  EXPECT_TRUE(ini.IniReadFlag("N", "Hex", false));
  EXPECT_FALSE(ini.IniReadFlag("N", "Zero", true));
  EXPECT_TRUE(ini.IniReadFlag("N", "Missing", true));
  EXPECT_FALSE(ini.IniReadFlag("N", "Missing", false));
  EXPECT_TRUE(ini.IniReadFlag("N", "Word", true));
  EXPECT_FALSE(ini.IniReadFlag("N", "Word", false));
}

TEST_F(TIniFileTest, AWriteChangesOnlyItsOwnLine) {
  const std::string before =
      ";header comment\n[Paths]\nWinDir=C:\\WINDOWS\n\n[Options]\n  BootGUI = 1\nLogo=0\n\n;;;;;;;;;;\n"
      "[Other]\nX=1";
  put("MsDos.sys", before);
  TIniFile ini("C:\\MsDos.sys");
  ini.IniWriteFlag("options", "bootgui", false);
  EXPECT_EQ(contents("MsDos.sys"),
            ";header comment\n[Paths]\nWinDir=C:\\WINDOWS\n\n[Options]\nBootGUI=0\r\nLogo=0\n\n;;;;;;;;;;\n"
            "[Other]\nX=1");

  ini.IniWriteNumber("Options", "BootDelay", -3);  // after the section's last key line
  ini.IniWriteText("Other", "Y", "two words");     // the last line had no line end
  ini.IniWriteFlag("Nowy", "Klucz", true);         // a new section at the end
  EXPECT_EQ(
      contents("MsDos.sys"),
      ";header comment\n[Paths]\nWinDir=C:\\WINDOWS\n\n[Options]\nBootGUI=0\r\nLogo=0\nBootDelay=-3\r\n\n"
      ";;;;;;;;;;\n[Other]\nX=1\r\nY=two words\r\n[Nowy]\r\nKlucz=1\r\n");
  EXPECT_EQ(ini.IniReadNumber("Options", "BootDelay", 0), -3);
  EXPECT_EQ(ini.IniReadText("Other", "Y", ""), "two words");
}

TEST_F(TIniFileTest, AMissingFileIsCreatedAndAnEmptySectionGetsItsFirstKey) {
  TIniFile ini("C:\\Nowy.ini");
  ini.IniWriteText("S", "K", cp1250::fromUtf8("wartość"));
  EXPECT_EQ(contents("Nowy.ini"), "[S]\r\nK=warto\x9c\xe6\r\n");
  put("Empty.ini", "[S]\r\n\r\n[T]\r\n");
  TIniFile("C:\\Empty.ini").IniWriteText("s", "K", "v");
  EXPECT_EQ(contents("Empty.ini"), "[S]\r\nK=v\r\n\r\n[T]\r\n");
  // A last line cut short after its CR keeps its text when a key follows it.
  put("Cr.ini", "[S]\r\nA=1\r");
  TIniFile("C:\\Cr.ini").IniWriteText("S", "B", "2");
  EXPECT_EQ(contents("Cr.ini"), "[S]\r\nA=1\r\nB=2\r\n");
  // No temporary files are left beside the written ones.
  EXPECT_EQ(
      std::distance(fs::directory_iterator(folder()), fs::directory_iterator()),
      std::count_if(fs::directory_iterator(folder()), fs::directory_iterator(),
                    [](const fs::directory_entry& e) { return e.path().filename().string()[0] != '.'; }));
}

TEST_F(TIniFileTest, RefusedWritesRaiseAndLeaveTheFileAsItWas) {
  const std::string original = "[Options]\r\nBootGUI=1\r\n";
  put("MsDos.sys", original);
  chmod(host("MsDos.sys").c_str(), 0444);
  TIniFile ini("C:\\MsDos.sys");
  try {
    ini.IniWriteFlag("Options", "BootGUI", false);
    FAIL() << "a read-only file was written";
  } catch (const EIniFileException& e) {
    EXPECT_EQ(e.message(), "Unable to write to C:\\MsDos.sys");
  }
  EXPECT_EQ(contents("MsDos.sys"), original);

  chmod(host("MsDos.sys").c_str(), 0644);
  EXPECT_THROW(ini.IniWriteText("Options", "Logo", "0\r\n[Injected]"), EIniFileException);
  EXPECT_THROW(ini.IniWriteText("Options", "A=B", "0"), EIniFileException);
  EXPECT_EQ(contents("MsDos.sys"), original);
  EXPECT_THROW(TIniFile("C:\\NoFolder\\x.ini").IniWriteText("S", "K", "v"), EIniFileException);
  EXPECT_THROW(TIniFile("D:\\x.ini").IniWriteText("S", "K", "v"), EIniFileException);
}

TEST_F(TIniFileTest, AWriteKeepsTheFilesPermissionsAndAttributes) {
  put("MsDos.sys", "[Options]\r\nBootGUI=1\r\n");
  chmod(host("MsDos.sys").c_str(), 0640);
  const char attribute[] = "0x7";
  bool xattrs = setxattr(host("MsDos.sys").c_str(), "user.DOSATTRIB", attribute, 3, 0) == 0;
  TIniFile("C:\\MsDos.sys").IniWriteFlag("Options", "BootGUI", false);
  struct stat st;
  ASSERT_EQ(stat(host("MsDos.sys").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
  if (xattrs) {
    char value[16] = {};
    EXPECT_EQ(getxattr(host("MsDos.sys").c_str(), "user.DOSATTRIB", value, sizeof value), 3);
    EXPECT_STREQ(value, "0x7");
  }
  EXPECT_EQ(contents("MsDos.sys"), "[Options]\r\nBootGUI=0\r\n");
}

}  // namespace
}  // namespace morvin::test
