// Finding and opening the machine folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "platform/FileAttributes.h"
#include "platform/Machine.h"
#include "registry/Errors.h"
#include "registry/HiveStore.h"
#include "registry/ProfileStore.h"
#include "tests/support/TempMachine.h"

namespace morvin::platform {
namespace {

namespace fs = std::filesystem;

// Sets (or unsets) an environment variable for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

reg::Status openForWriting(reg::Key root, const std::string& path) {
  reg::Key key = 0;
  const reg::Status status = reg::currentStore().openKey(root, path, reg::access::AllAccess, &key);
  if (status == reg::err::Success) reg::currentStore().closeKey(key);
  return status;
}

TEST(DefaultMachineFolderTest, FollowsMorvinMachineThenXdgDataHomeThenHome) {
  ScopedEnv home("HOME", "/home/jan");
  {
    ScopedEnv machine("MORVIN_MACHINE", "/srv/maszyna");
    ScopedEnv xdg("XDG_DATA_HOME", "/xdg");
    EXPECT_EQ(defaultMachineFolder(), "/srv/maszyna");
  }
  ScopedEnv machine("MORVIN_MACHINE", "");
  {
    ScopedEnv xdg("XDG_DATA_HOME", "/xdg");
    EXPECT_EQ(defaultMachineFolder(), "/xdg/morvin-ng/machine");
  }
  {
    ScopedEnv xdg("XDG_DATA_HOME", "wzgledna");  // a relative value is ignored
    EXPECT_EQ(defaultMachineFolder(), "/home/jan/.local/share/morvin-ng/machine");
  }
  ScopedEnv xdg("XDG_DATA_HOME", nullptr);
  EXPECT_EQ(defaultMachineFolder(), "/home/jan/.local/share/morvin-ng/machine");
}

TEST(OpenMachineTest, InstallsTheHivesAndTheBootFileOfTheMachine) {
  test::TempMachine machine;
  EXPECT_EQ(currentMachine().folder(), machine.folder());
  EXPECT_EQ(openForWriting(reg::kLocalMachine, "SOFTWARE"), reg::err::Success);
  // INI files are found through the drive mapping, in any letter case.
  EXPECT_EQ(reg::currentProfileStore().readString("c:\\msdos.sys", "options", "WINVER", "brak"), "4.10.2222");
  // The boot file is read-only as provisioned; once its attributes are cleared it can be written.
  EXPECT_FALSE(reg::currentProfileStore().writeString("C:\\MsDos.sys", "Options", "Logo", "0"));
  ASSERT_TRUE(SetFileAttributes("C:\\MsDos.sys", 0));
  EXPECT_TRUE(reg::currentProfileStore().writeString("C:\\MsDos.sys", "Options", "Logo", "0"));
  EXPECT_EQ(reg::currentProfileStore().readString("C:\\MsDos.sys", "Options", "Logo", "1"), "0");
}

TEST(OpenMachineTest, AFolderWithoutAMachineOrWithADamagedHiveLeavesThePreviousMachineCurrent) {
  test::TempMachine first;
  const std::string empty = first.folder() + "/pusty";
  fs::create_directories(empty);
  EXPECT_THROW(openMachine(empty), Exception);
  EXPECT_EQ(currentMachine().folder(), first.folder());

  const std::string damaged = first.folder() + "/uszkodzony";
  fs::create_directories(damaged + "/drive_c/WINDOWS");
  std::ofstream(damaged + "/drive_c/WINDOWS/SYSTEM.DAT") << std::string(8192, 'x');
  try {
    openMachine(damaged);
    FAIL() << "a damaged hive was opened";
  } catch (const Exception& e) {
    EXPECT_NE(std::string(e.what()).find("SYSTEM.DAT"), std::string::npos) << e.what();
  }
  EXPECT_EQ(currentMachine().folder(), first.folder());
  EXPECT_EQ(first.string(reg::kLocalMachine, "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName",
                         "ComputerName"),
            "KOMPUTER");
}

TEST(OpenMachineTest, HivesCanBeMadeReadOnlyByOptionOrEnvironment) {
  test::TempMachine machine;
  machine.reopen({.readOnlyLocalMachine = false, .readOnlyCurrentUser = true});
  EXPECT_EQ(openForWriting(reg::kCurrentUser, "Control Panel"), reg::err::AccessDenied);
  EXPECT_EQ(openForWriting(reg::kLocalMachine, "SOFTWARE"), reg::err::Success);

  {
    ScopedEnv env("MORVIN_READONLY_HIVES", "HKLM");
    machine.reopen();
    EXPECT_EQ(openForWriting(reg::kLocalMachine, "SOFTWARE"), reg::err::AccessDenied);
    EXPECT_EQ(openForWriting(reg::kClassesRoot, "lnkfile"), reg::err::AccessDenied);  // a view of HKLM
    EXPECT_EQ(openForWriting(reg::kCurrentUser, "Control Panel"), reg::err::Success);
  }
  {
    ScopedEnv env("MORVIN_READONLY_HIVES", " hkcu , HKEY_LOCAL_MACHINE ");
    machine.reopen();
    EXPECT_EQ(openForWriting(reg::kLocalMachine, "SOFTWARE"), reg::err::AccessDenied);
    EXPECT_EQ(openForWriting(reg::kCurrentUser, "Control Panel"), reg::err::AccessDenied);
  }
  {
    ScopedEnv env("MORVIN_READONLY_HIVES", "HKLM,HKXX");
    EXPECT_THROW(machine.reopen(), Exception);
  }
  machine.reopen();
  EXPECT_EQ(openForWriting(reg::kLocalMachine, "SOFTWARE"), reg::err::Success);
  EXPECT_EQ(openForWriting(reg::kCurrentUser, "Control Panel"), reg::err::Success);
}

}  // namespace
}  // namespace morvin::platform
