// DOS attributes: the write bits and the user.DOSATTRIB record.
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>

#include "platform/FileAttributes.h"
#include "platform/HostFileAttributes.h"
#include "tests/support/TempMachine.h"

namespace morvin::platform {
namespace {

namespace fs = std::filesystem;

mode_t modeOf(const std::string& path) {
  struct stat st;
  EXPECT_EQ(::stat(path.c_str(), &st), 0) << path;
  return st.st_mode & 07777;
}

// The record as stored, or "(none)".
std::string recordOf(const std::string& path) {
  char text[64];
  const ssize_t n = ::getxattr(path.c_str(), kDosAttribXattr, text, sizeof text);
  return n < 0 ? std::string("(none)") : std::string(text, static_cast<size_t>(n));
}

class FileAttributesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    file_ = machine_.driveC() + "/MsDos.sys";
    std::ofstream(file_) << "[Options]\r\n";
    ::chmod(file_.c_str(), 0664);
  }
  test::TempMachine machine_{test::TempMachine::Content::Empty};
  std::string file_;
};

TEST_F(FileAttributesTest, ReadOnlyIsTheWriteBitsAndEverythingIsRecordedForSambaAndWine) {
  ASSERT_TRUE(SetFileAttributes("C:\\MSDOS.SYS", attr::ReadOnly | attr::Hidden));
  EXPECT_EQ(modeOf(file_), 0444u);
  EXPECT_EQ(recordOf(file_), "0x3");
  EXPECT_EQ(GetFileAttributes("c:\\msdos.sys"), attr::ReadOnly | attr::Hidden);

  ASSERT_TRUE(SetFileAttributes("C:\\MsDos.sys", attr::Hidden | attr::System | attr::Archive));
  EXPECT_EQ(modeOf(file_), 0644u);  // the owner may write again; group and others stay as they were
  EXPECT_EQ(recordOf(file_), "0x26");
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::Hidden | attr::System | attr::Archive);
}

TEST_F(FileAttributesTest, ClearingEverythingLeavesANormalWritableFile) {
  ASSERT_TRUE(SetFileAttributes("C:\\MsDos.sys", attr::ReadOnly | attr::Hidden | attr::System));
  ASSERT_TRUE(SetFileAttributes("C:\\MsDos.sys", 0));
  EXPECT_EQ(modeOf(file_) & S_IWUSR, S_IWUSR);
  EXPECT_EQ(recordOf(file_), "0x0");
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::Normal);
  ASSERT_TRUE(SetFileAttributes("C:\\MsDos.sys", attr::Normal));
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::Normal);
}

TEST_F(FileAttributesTest, AFileNobodyMarkedReadsAsArchiveAndItsWriteBitsDecideReadOnly) {
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::Archive);
  ::chmod(file_.c_str(), 0444);
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::Archive | attr::ReadOnly);
  // A record that says read-only does not make a writable file read-only.
  ::chmod(file_.c_str(), 0644);
  ::setxattr(file_.c_str(), kDosAttribXattr, "0x3", 3, 0);
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::Hidden);
}

TEST_F(FileAttributesTest, RecordsWrittenByOtherToolsAreRead) {
  // Samba's older servers store the text with its NUL.
  ::setxattr(file_.c_str(), kDosAttribXattr, "0x22", 5, 0);
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::Hidden | attr::Archive);
  ::setxattr(file_.c_str(), kDosAttribXattr, "0X4", 3, 0);
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::System);
  // A binary record (a newer Samba) is not understood: the file reads as unmarked.
  ::setxattr(file_.c_str(), kDosAttribXattr, "\x03\x00\x03\x00", 4, 0);
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::Archive);
  ::setxattr(file_.c_str(), kDosAttribXattr, "0xzz", 4, 0);
  EXPECT_EQ(GetFileAttributes("C:\\MsDos.sys"), attr::Archive);
}

TEST_F(FileAttributesTest, FoldersKeepTheirWriteBits) {
  fs::create_directories(machine_.driveC() + "/Moje dokumenty");
  const std::string folder = machine_.driveC() + "/Moje dokumenty";
  const mode_t before = modeOf(folder);
  ASSERT_TRUE(SetFileAttributes("C:\\Moje dokumenty", attr::ReadOnly | attr::Hidden));
  EXPECT_EQ(modeOf(folder), before);
  EXPECT_EQ(GetFileAttributes("C:\\MOJE DOKUMENTY\\"), attr::Directory | attr::ReadOnly | attr::Hidden);
  EXPECT_EQ(GetFileAttributes("C:\\"), attr::Directory);
}

TEST_F(FileAttributesTest, MissingFilesAndPathsOutsideTheDriveFail) {
  EXPECT_FALSE(SetFileAttributes("C:\\brak.txt", attr::Hidden));
  EXPECT_EQ(GetFileAttributes("C:\\brak.txt"), -1);
  EXPECT_FALSE(SetFileAttributes("D:\\MsDos.sys", attr::Hidden));
  EXPECT_EQ(GetFileAttributes("D:\\MsDos.sys"), -1);
  EXPECT_FALSE(fs::exists(machine_.driveC() + "/brak.txt"));
}

// Runs in a child process with a mount namespace of its own, on a ramfs
// (which stores no xattrs) that vanishes with the child. Exit code 0: all
// held, 77: no such file system can be made here, otherwise the failed step.
int attributesOnAFileSystemWithoutXattrs(const std::string& mountPoint) {
  if (::unshare(CLONE_NEWNS) != 0) return 77;
  if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return 77;
  if (::mount("none", mountPoint.c_str(), "ramfs", 0, nullptr) != 0) return 77;
  const std::string file = mountPoint + "/MsDos.sys";
  std::ofstream(file) << "x";
  ::chmod(file.c_str(), 0644);
  if (::setxattr(file.c_str(), "user.probe", "1", 1, 0) == 0) return 77;
  if (setHostFileAttributes(file, attr::ReadOnly | attr::Hidden)) return 1;  // the record is lost: failure
  struct stat st;
  if (::stat(file.c_str(), &st) != 0 || (st.st_mode & 0222) != 0) return 2;  // but the write bits are set
  if (getHostFileAttributes(file) != (attr::ReadOnly | attr::Archive)) return 3;
  if (!setHostFileAttributes(file, 0)) return 4;  // clearing needs no record
  if (::stat(file.c_str(), &st) != 0 || !(st.st_mode & S_IWUSR)) return 5;
  return 0;
}

TEST(FileAttributesWithoutXattrsTest, ReportFailureButStillSetTheWriteBits) {
  std::string mountPoint = fs::temp_directory_path().string() + "/morvin-ramfs-XXXXXX";
  ASSERT_NE(::mkdtemp(mountPoint.data()), nullptr);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) ::_exit(attributesOnAFileSystemWithoutXattrs(mountPoint));
  int status = 0;
  ::waitpid(child, &status, 0);
  fs::remove(mountPoint);
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "no file system without xattrs can be mounted here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "failed step " << WEXITSTATUS(status);
}

}  // namespace
}  // namespace morvin::platform
