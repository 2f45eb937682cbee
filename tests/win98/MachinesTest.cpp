// Several machines: the default one and those made from drives under
// machines/NAME, chosen by name, listed with what waits to be handed back,
// and removed without touching their drive.
#include <cstdlib>
#include <filesystem>

#include "Win98Fixture.h"
#include "platform/HostFiles.h"
#include "platform/Machines.h"
#include "registry/Errors.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;
using platform::win9x::runTool;

class Machines : public Win98CommandTest {
 protected:
  // morvin-reg with the program's data in the test's folder.
  platform::win9x::ToolRun run(std::vector<std::string> args) {
    args.insert(args.begin(), MORVIN_REG_PROGRAM);
    return runTool(args, {"XDG_DATA_HOME=" + dir_ + "/data", "MORVIN_MACHINE="});
  }
  Win98Drive fixture_;
};

TEST_F(Machines, MachinesMadeByNameAreListedWithWhatWaitsAndRemovedWithoutTheirDrive) {
  fixture_.writeFolder(dir_ + "/drive");
  makeImage(dir_ + "/drive", dir_ + "/disk.raw", 32, true);
  const std::string disk = dir_ + "/disk.vdi";
  ASSERT_EQ(runTool({"qemu-img", "convert", "-O", "vdi", dir_ + "/disk.raw", disk}).status, 0);
  ASSERT_EQ(run({"init"}).status, 0);
  const auto made = run({"--machine", "win98", "init", "--from", disk});
  ASSERT_EQ(made.status, 0) << made.err;
  EXPECT_TRUE(fs::is_directory(dir_ + "/data/morvin-ng/machines/win98/drive_c"));

  const std::string change = dir_ + "/change.reg";
  platform::host::writeFileDurably(
      change, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Morvin]\r\n\"A\"=\"1\"\r\n\r\n");
  ASSERT_EQ(run({"--machine", "win98", "import", change}).status, 0);
  auto lines = [&] {
    const auto listed = run({"--machine", "win98", "machines"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    return listed.out;
  };
  const std::string before = lines();
  EXPECT_NE(before.find("  Domyślna\t(the program's own)\t-\t0\t-\n"), std::string::npos) << before;
  EXPECT_NE(before.find("* win98\t" + disk + " (vdi)\t2"), std::string::npos) << before;
  EXPECT_NE(before.find("\t2\t-\n"), std::string::npos) << before;  // the key made and its value

  ASSERT_EQ(run({"--machine", "win98", "apply", disk}).status, 0);
  const std::string after = lines();
  EXPECT_EQ(after.find("\t2\t-\n"), std::string::npos) << after;
  EXPECT_NE(after.find("\t0\t2"), std::string::npos) << after;  // none waits; handed back at a time

  ::setenv("XDG_DATA_HOME", (dir_ + "/data").c_str(), 1);
  const auto diskBytes = platform::host::readFile(disk);
  EXPECT_THROW(platform::removeMachine(platform::kDefaultMachineName), Exception);
  platform::removeMachine("win98");
  EXPECT_FALSE(fs::exists(dir_ + "/data/morvin-ng/machines/win98"));
  EXPECT_EQ(platform::listMachines("").size(), 1u);
  EXPECT_EQ(platform::host::readFile(disk), diskBytes);
  ::unsetenv("XDG_DATA_HOME");
}

TEST(MachineNames, ANameIsAFileNameAndNothingElse) {
  for (const char* good : {"win98", "Domowy 98", "Żółty"}) EXPECT_TRUE(platform::isMachineName(good)) << good;
  for (const char* bad : {"", ".", "..", "a/b", "a\\b", "a\nb", "\x7f"})
    EXPECT_FALSE(platform::isMachineName(bad)) << bad;
  EXPECT_EQ(platform::machineFolderFor("./here"), "./here");
  EXPECT_THROW(platform::machineFolderFor("a\nb"), Exception);
}

}  // namespace
}  // namespace morvin::test
