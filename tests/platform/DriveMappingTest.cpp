// C:\ paths of the machine and the host folders below drive_c.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/DriveMapping.h"
#include "registry/Cp1250.h"
#include "tests/support/TempMachine.h"

namespace morvin::platform {
namespace {

namespace fs = std::filesystem;

std::string ansi(const std::string& utf8) {
  return cp1250::fromUtf8(utf8);
}

class DriveMappingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = fs::temp_directory_path().string() + "/morvin-drive-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    base_ = pattern;
    drive_ = base_ + "/drive_c";
    fs::create_directories(drive_ + "/WINDOWS/Menu Start/Programy");
    fs::create_directories(drive_ + "/Moje dokumenty");
    fs::create_directories(drive_ + "/Żółta łódź");
    fs::create_directories(base_ + "/outside");
    std::ofstream(base_ + "/outside/secret.txt") << "x";
    std::ofstream(drive_ + "/MsDos.sys") << "[Options]\r\n";
  }
  void TearDown() override { fs::remove_all(base_); }

  std::optional<std::string> map(const std::string& utf8Path) { return mapToHost(drive_, ansi(utf8Path)); }

  std::string base_;
  std::string drive_;
};

TEST_F(DriveMappingTest, ComponentsMatchExistingFoldersIgnoringCaseAndKeepTheRestAsWritten) {
  EXPECT_EQ(map("C:\\windows\\MENU START\\programy\\Nowy Folder"),
            drive_ + "/WINDOWS/Menu Start/Programy/Nowy Folder");
  EXPECT_EQ(map("c:/moje DOKUMENTY/list.txt"), drive_ + "/Moje dokumenty/list.txt");
  // Polish letters fold as cp1250 letters: Ż/ż, Ó/ó, Ł/ł, Ź/ź.
  EXPECT_EQ(map("C:\\ŻÓŁTA ŁÓDŹ\\ąę"), drive_ + "/Żółta łódź/ąę");
  EXPECT_EQ(map("C:\\msdos.SYS"), drive_ + "/MsDos.sys");
  // Below a component that does not exist nothing is matched.
  EXPECT_EQ(map("C:\\Nowy\\windows"), drive_ + "/Nowy/windows");
}

TEST_F(DriveMappingTest, AnExactSpellingWinsOverAnotherCaseOfTheSameName) {
  fs::create_directories(drive_ + "/windows");
  EXPECT_EQ(map("C:\\windows\\x"), drive_ + "/windows/x");
  EXPECT_EQ(map("C:\\WINDOWS\\x"), drive_ + "/WINDOWS/x");
  EXPECT_EQ(map("C:\\Windows\\x"), drive_ + "/WINDOWS/x");  // the first in name order
}

TEST_F(DriveMappingTest, DotsSeparatorsAndTrailingBlanksAreNormalisedAsWindowsDoes) {
  EXPECT_EQ(map("C:\\WINDOWS\\.\\SYSTEM\\..\\Menu Start"), drive_ + "/WINDOWS/Menu Start");
  EXPECT_EQ(map("C:\\\\WINDOWS//\\Menu Start\\"), drive_ + "/WINDOWS/Menu Start");
  EXPECT_EQ(map("C:\\WINDOWS.\\Menu Start . .\\plik.txt. "), drive_ + "/WINDOWS/Menu Start/plik.txt");
  EXPECT_EQ(map("C:\\"), drive_);
  EXPECT_EQ(map("C:"), drive_);
  EXPECT_EQ(map("C:MsDos.sys"), drive_ + "/MsDos.sys");
}

TEST_F(DriveMappingTest, NoPathLeavesTheDrive) {
  EXPECT_EQ(map("C:\\..\\..\\etc\\passwd"), drive_ + "/etc/passwd");
  EXPECT_EQ(map("C:\\WINDOWS\\..\\..\\..\\outside\\secret.txt"), drive_ + "/outside/secret.txt");
  EXPECT_EQ(map("C:/../"), drive_);
  // "..." and ". ." are no way up either.
  EXPECT_EQ(map("C:\\WINDOWS\\...\\x"), drive_ + "/WINDOWS/x");
  EXPECT_EQ(map("C:\\. .\\x"), drive_ + "/x");
}

TEST_F(DriveMappingTest, LinksPointingOutOfTheDriveAreRefused) {
  fs::create_directory_symlink(base_ + "/outside", drive_ + "/WINDOWS/wyjscie");
  fs::create_symlink(base_ + "/outside/secret.txt", drive_ + "/sekret.txt");
  fs::create_symlink("/nonexistent-morvin-target", drive_ + "/wiszacy");
  fs::create_directory_symlink("../../..", drive_ + "/WINDOWS/Menu Start/w-gore");
  EXPECT_EQ(map("C:\\WINDOWS\\wyjscie\\secret.txt"), std::nullopt);
  EXPECT_EQ(map("C:\\WINDOWS\\WYJSCIE"), std::nullopt);
  EXPECT_EQ(map("C:\\sekret.txt"), std::nullopt);
  EXPECT_EQ(map("C:\\wiszacy"), std::nullopt);  // a new file there would land anywhere
  EXPECT_EQ(map("C:\\WINDOWS\\Menu Start\\w-gore\\outside"), std::nullopt);
  // ".." is resolved in the text, as Windows does, before any link is looked at.
  EXPECT_EQ(map("C:\\WINDOWS\\Menu Start\\w-gore\\..\\x"), drive_ + "/WINDOWS/Menu Start/x");
}

TEST_F(DriveMappingTest, LinksWithinTheDriveAreFollowed) {
  fs::create_directory_symlink("../Moje dokumenty", drive_ + "/WINDOWS/Dokumenty");
  EXPECT_EQ(map("C:\\windows\\dokumenty\\a.txt"), drive_ + "/WINDOWS/Dokumenty/a.txt");
}

TEST_F(DriveMappingTest, OtherDrivesAndMalformedPathsMapNowhere) {
  for (const char* path : {"D:\\plik.txt", "A:", "\\\\serwer\\udzial\\plik", "\\WINDOWS", "WINDOWS\\plik", "",
                           "C", "C:\\a<b", "C:\\a|b", "C:\\a?b", "C:\\a*b", "C:\\a\"b", "C:\\a:b",
                           "C:\\WINDOWS\\CON", "C:\\nul.txt", "C:\\LPT1", "C:\\com3.log", "\\\\?\\C:\\x"}) {
    EXPECT_EQ(map(path), std::nullopt) << path;
  }
  EXPECT_EQ(mapToHost(drive_, std::string("C:\\a\0b", 6)), std::nullopt);
  EXPECT_EQ(mapToHost(drive_, "C:\\tab\there"), std::nullopt);
  EXPECT_EQ(mapToHost(drive_, "C:\\" + std::string(256, 'a')), std::nullopt);
  // Names that only look like devices are files.
  EXPECT_EQ(map("C:\\CONFIG.SYS"), drive_ + "/CONFIG.SYS");
  EXPECT_EQ(map("C:\\COM10"), drive_ + "/COM10");
}

TEST(CurrentMachineMappingTest, MapsThroughTheOpenMachineAndBack) {
  test::TempMachine machine(test::TempMachine::Content::Empty);
  fs::create_directories(machine.driveC() + "/Moje dokumenty/Żaby");
  EXPECT_EQ(toHostPath(ansi("C:\\MOJE DOKUMENTY\\żaby")), machine.driveC() + "/Moje dokumenty/Żaby");
  EXPECT_EQ(toWindowsPath(machine.driveC() + "/Moje dokumenty/Żaby/"), ansi("C:\\Moje dokumenty\\Żaby"));
  EXPECT_EQ(toWindowsPath(machine.driveC()), "C:\\");
  EXPECT_EQ(toWindowsPath(machine.driveC() + "/WINDOWS/../MsDos.sys"), "C:\\MsDos.sys");
  EXPECT_EQ(toWindowsPath(machine.folder()), std::nullopt);
  EXPECT_EQ(toWindowsPath(machine.driveC() + "/../elsewhere"), std::nullopt);
  EXPECT_EQ(toWindowsPath("/etc/passwd"), std::nullopt);
  // A host name that has no cp1250 spelling has no Windows path.
  EXPECT_EQ(toWindowsPath(machine.driveC() + "/日本"), std::nullopt);
}

}  // namespace
}  // namespace morvin::platform
