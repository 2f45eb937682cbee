// A boot options file that cannot be written: at a click and during the load.
#include "DosTestSupport.h"

namespace morvin::test {
namespace {

const QString kRefused = "Unable to write to C:\\MsDos.sys.";

TEST_F(DosTest, RefusedClickIsReportedAndTheBoxKeepsItsNewState) {
  TfmDos* w = open();
  const std::string before = fileText();
  ASSERT_TRUE(platform::SetFileAttributes(kBootFile, platform::attr::ReadOnly));
  QCheckBox* scan = box(w, "CheckBox3");
  click(scan);
  EXPECT_FALSE(scan->isChecked());
  EXPECT_EQ(errorBoxes(), QStringList{kRefused});
  EXPECT_EQ(fileText(), before);
}

TEST_F(DosTest, RefusedBootMenuClickLeavesTheDelayBoxAsItWas) {
  TfmDos* w = open();
  ASSERT_FALSE(delay(w)->isEnabled());
  ASSERT_TRUE(platform::SetFileAttributes(kBootFile, platform::attr::ReadOnly));
  click(box(w, "CheckBox5"));
  EXPECT_TRUE(box(w, "CheckBox5")->isChecked());
  EXPECT_FALSE(delay(w)->isEnabled());
  delay(w)->setText("9");
  EXPECT_EQ(errorBoxes(), (QStringList{kRefused, kRefused}));
}

TEST_F(DosTest, RefusedWriteDuringTheLoadStopsItThere) {
  platform::SetFileAttributes(kBootFile, 0);
  std::filesystem::remove(hostFile());
  std::filesystem::create_directory(hostFile());  // a folder in the file's place cannot be written
  TfmDos* w = open();
  EXPECT_EQ(errorBoxes(), QStringList{kRefused});
  EXPECT_TRUE(box(w, "CheckBox3")->isChecked());  // the box whose write failed
  for (const char* later : {"CheckBox4", "CheckBox5", "CheckBox6", "CheckBox7"})
    EXPECT_FALSE(box(w, later)->isChecked()) << later;
  EXPECT_EQ(delay(w)->text(), "1");
  EXPECT_TRUE(delay(w)->isEnabled());
  std::filesystem::remove(hostFile());
}

class DosReadOnlyUserTest : public DosTest {
 protected:
  platform::MachineOptions machineOptions() const override { return {.readOnlyCurrentUser = true}; }
};

TEST_F(DosReadOnlyUserTest, PoliciesLoadSilentlyAndRefusedClicksAreReported) {
  TfmDos* w = open();
  EXPECT_TRUE(errorBoxes().isEmpty());
  click(box(w, "CheckBox1"));
  EXPECT_TRUE(box(w, "CheckBox1")->isChecked());
  click(box(w, "CheckBox2"));
  EXPECT_EQ(errorBoxes(),
            (QStringList{"Failed to set data for 'Disabled'", "Failed to set data for 'NoRealMode'"}));
}

}  // namespace
}  // namespace morvin::test
