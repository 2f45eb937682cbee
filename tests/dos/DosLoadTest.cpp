// What the MS-DOS window shows and writes when it is created, and the file's
// attributes from start to end.
#include "DosTestSupport.h"

namespace morvin::test {
namespace {

using reg::kCurrentUser;

const std::string kPaths =
    "[Paths]\r\nWinDir=C:\\WINDOWS\r\nWinBootDir=C:\\WINDOWS\r\nHostWinBootDrv=C\r\n\r\n";

TEST_F(DosTest, DefaultMachineKeepsEveryOtherLineAndAddsTheMissingOptions) {
  const std::string before = fileText();
  const std::string paths = section("Paths");
  ASSERT_FALSE(paths.empty());
  TfmDos* w = open();

  EXPECT_TRUE(box(w, "CheckBox3")->isChecked());   // AutoScan=1
  EXPECT_TRUE(box(w, "CheckBox4")->isChecked());   // BootGUI=1
  EXPECT_FALSE(box(w, "CheckBox5")->isChecked());  // no BootMenu
  EXPECT_FALSE(box(w, "CheckBox6")->isChecked());  // no BootKeys: keys available
  EXPECT_TRUE(box(w, "CheckBox7")->isChecked());   // no Logo: shown
  EXPECT_EQ(delay(w)->text(), "30");               // no delay: what Windows waits then
  EXPECT_FALSE(delay(w)->isEnabled());
  EXPECT_FALSE(child<QLabel>(w, "Label4")->isEnabled());

  EXPECT_EQ(section("Paths"), paths);
  EXPECT_EQ(option("Logo"), "1");
  EXPECT_EQ(option("BootMenuDelay"), "<none>");
  EXPECT_EQ(option("BootKeys"), "<none>");
  EXPECT_EQ(option("BootMenu"), "<none>");
  EXPECT_EQ(option("WinVer"), "4.10.2222");
  // Without the added line the file is what it was, byte for byte.
  std::string after = fileText();
  for (const std::string added : {"Logo=1\r\n"}) {
    const std::size_t at = after.find(added);
    ASSERT_NE(at, std::string::npos) << added;
    after.erase(at, added.size());
  }
  EXPECT_EQ(after, before);
  EXPECT_TRUE(errorBoxes().isEmpty());
}

TEST_F(DosTest, AttributesAreClearedWhileRunningAndReadOnlyHiddenAfterTheEnd) {
  ASSERT_TRUE(platform::SetFileAttributes(
      kBootFile, platform::attr::ReadOnly | platform::attr::Hidden | platform::attr::System));
  TfmDos* w = open();
  EXPECT_EQ(platform::GetFileAttributes(kBootFile), platform::attr::Normal);
  click(box(w, "CheckBox5"));  // clicks leave the attributes alone
  EXPECT_EQ(platform::GetFileAttributes(kBootFile), platform::attr::Normal);
  delete w;
  EXPECT_EQ(platform::GetFileAttributes(kBootFile), platform::attr::ReadOnly | platform::attr::Hidden);
}

TEST_F(DosTest, MissingOptionsAreWrittenAsOn) {
  writeFile(kPaths + "[Options]\r\nBootMulti=1\r\n");
  TfmDos* w = open();
  EXPECT_TRUE(box(w, "CheckBox3")->isChecked());
  EXPECT_TRUE(box(w, "CheckBox4")->isChecked());
  EXPECT_TRUE(box(w, "CheckBox7")->isChecked());
  EXPECT_EQ(option("AutoScan"), "1");
  EXPECT_EQ(option("BootGUI"), "1");
  EXPECT_EQ(option("Logo"), "1");
  EXPECT_EQ(option("BootMulti"), "1");
}

TEST_F(DosTest, OptionsStoredOffWriteNothing) {
  const std::string text = kPaths +
                           "[Options]\r\nAutoScan=0\r\nBootGUI=0\r\nLogo=0\r\nBootMenu=0\r\nBootKeys=1\r\n" +
                           "BootMenuDelay=1\r\n;" + std::string(70, 'x') + "\r\n";
  writeFile(text);
  TfmDos* w = open();
  for (const char* name : {"CheckBox3", "CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7"})
    EXPECT_FALSE(box(w, name)->isChecked()) << name;
  EXPECT_EQ(delay(w)->text(), "1");
  EXPECT_EQ(fileText(), text);
}

TEST_F(DosTest, DelayIsShownWithinItsRangeAndLeftAsStored) {
  writeFile(kPaths + "[Options]\r\nBootMenu=1\r\nBootMenuDelay=20000\r\n");
  TfmDos* w = open();
  EXPECT_EQ(delay(w)->text(), "10000");
  EXPECT_EQ(option("BootMenuDelay"), "20000");
  EXPECT_TRUE(box(w, "CheckBox5")->isChecked());
  EXPECT_TRUE(delay(w)->isEnabled());
  EXPECT_TRUE(child<QLabel>(w, "Label4")->isEnabled());
  delete w;

  writeFile(kPaths + "[Options]\r\nBootMenuDelay=0\r\n");
  w = open();
  EXPECT_EQ(delay(w)->text(), "1");
  EXPECT_EQ(option("BootMenuDelay"), "0");
}

TEST_F(DosTest, ThirdValuesLoadCheckedAndStayUnchanged) {
  writeFile(kPaths + "[Options]\r\nAutoScan=2\r\nBootGUI=0x10\r\nLogo=tak\r\nBootMenu=3\r\n");
  TfmDos* w = open();
  EXPECT_TRUE(box(w, "CheckBox3")->isChecked());
  EXPECT_TRUE(box(w, "CheckBox4")->isChecked());
  EXPECT_TRUE(box(w, "CheckBox7")->isChecked());  // not a number: the default, on
  EXPECT_TRUE(box(w, "CheckBox5")->isChecked());
  EXPECT_EQ(option("AutoScan"), "2");
  EXPECT_EQ(option("BootGUI"), "0x10");
  EXPECT_EQ(option("Logo"), "tak");
  EXPECT_EQ(option("BootMenu"), "3");
}

TEST_F(DosTest, BootKeysBoxIsCheckedExactlyWhenTheKeysAreOff) {
  writeFile(kPaths + "[Options]\r\nBootKeys=0\r\n");
  TfmDos* off = open();
  EXPECT_TRUE(box(off, "CheckBox6")->isChecked());
  EXPECT_EQ(option("BootKeys"), "0");
  delete off;

  writeFile(kPaths + "[Options]\r\nBootKeys=1\r\n");
  TfmDos* on = open();
  EXPECT_FALSE(box(on, "CheckBox6")->isChecked());
  EXPECT_EQ(option("BootKeys"), "1");
}

TEST_F(DosTest, FileWithoutOptionsSectionGetsOneAndKeepsItsPaths) {
  writeFile(kPaths);
  TfmDos* w = open();
  EXPECT_TRUE(box(w, "CheckBox3")->isChecked());
  EXPECT_EQ(fileText().substr(0, kPaths.size()), kPaths);
  EXPECT_EQ(option("AutoScan"), "1");
  EXPECT_EQ(option("BootGUI"), "1");
  EXPECT_EQ(option("Logo"), "1");
  EXPECT_EQ(option("BootMenuDelay"), "<none>");
  EXPECT_EQ(option("BootKeys"), "<none>");
}

TEST_F(DosTest, MissingFileIsCreatedWithTheOptionsWritten) {
  platform::SetFileAttributes(kBootFile, 0);
  ASSERT_TRUE(std::filesystem::remove(hostFile()));
  open();
  ASSERT_TRUE(std::filesystem::exists(hostFile()));
  EXPECT_EQ(section("Options").substr(0, 11), "[Options]\r\n");
  EXPECT_EQ(option("AutoScan"), "1");
  EXPECT_EQ(option("BootGUI"), "1");
  EXPECT_EQ(option("Logo"), "1");
  EXPECT_EQ(option("BootMenuDelay"), "<none>");
  EXPECT_TRUE(section("Paths").empty());
}

TEST_F(DosTest, PoliciesLoadCreatesTheKeyAndRewritesSetFlagsAsOne) {
  ASSERT_FALSE(machine->keyExists(kCurrentUser, kWinOldApp));
  TfmDos* plain = open();
  EXPECT_TRUE(machine->keyExists(kCurrentUser, kWinOldApp));
  EXPECT_FALSE(machine->valueExists(kCurrentUser, kWinOldApp, "Disabled"));
  EXPECT_FALSE(box(plain, "CheckBox1")->isChecked());
  delete plain;

  machine->setDword(kCurrentUser, kWinOldApp, "Disabled", 5);
  machine->setString(kCurrentUser, kWinOldApp, "NoRealMode", "1");
  TfmDos* w = open();
  EXPECT_TRUE(box(w, "CheckBox1")->isChecked());
  EXPECT_EQ(machine->dword(kCurrentUser, kWinOldApp, "Disabled"), 1);
  EXPECT_FALSE(box(w, "CheckBox2")->isChecked());  // text, not a flag: left alone
  EXPECT_EQ(machine->string(kCurrentUser, kWinOldApp, "NoRealMode"), "1");
}

}  // namespace
}  // namespace morvin::test
