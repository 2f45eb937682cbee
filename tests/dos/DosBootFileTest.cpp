// The boot options file lies at the root of the Windows folder's drive.
#include <gtest/gtest.h>

#include "categories/DosBootFile.h"

namespace morvin {
namespace {

TEST(DosBootFile, LiesAtTheRootOfTheWindowsDrive) {
  EXPECT_EQ(bootOptionsPath("C:\\WINDOWS"), "C:\\MsDos.sys");
  EXPECT_EQ(bootOptionsPath("d:\\Win98\\"), "d:\\MsDos.sys");
  EXPECT_EQ(bootOptionsPath("E:"), "E:\\MsDos.sys");
}

TEST(DosBootFile, NetworkWindowsFolderKeepsServerAndShare) {
  EXPECT_EQ(bootOptionsPath("\\\\serwer\\dysk\\WINDOWS"), "\\\\serwer\\dysk\\MsDos.sys");
  EXPECT_EQ(drivePart("\\\\serwer\\dysk"), "\\\\serwer\\dysk");
  EXPECT_EQ(drivePart("\\\\serwer"), "\\\\serwer");
}

TEST(DosBootFile, PathWithoutADriveGivesTheCurrentDrivesRoot) {
  EXPECT_EQ(drivePart("WINDOWS"), "");
  EXPECT_EQ(bootOptionsPath("WINDOWS"), "\\MsDos.sys");
}

TEST(DosBootFile, TheCurrentMachinesWindowsFolderIsOnC) {
  EXPECT_EQ(bootOptionsPath(), "C:\\MsDos.sys");
}

}  // namespace
}  // namespace morvin
