// The MORVINNG.REG that apply writes, applied by Wine's regedit to a prefix
// holding the imported registry, gives the machine's state.
#include <gtest/gtest.h>

#include <filesystem>

#include "../support/WineRegistry.h"
#include "Win98Fixture.h"
#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/Win9xTools.h"
#include "registry/Cp1250.h"
#include "registry/HiveStore.h"
#include "registry/Win9xHive.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;
using platform::win9x::runTool;

TEST(Win98Wine, TheHandedBackRegFileGivesTheMachinesStateInWine) {
  if (!WineRegistry::available()) GTEST_SKIP() << "Wine is not installed";
  std::string pattern = (fs::temp_directory_path() / "morvin-wine98-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::string dir = pattern, machine = dir + "/machine", drive = dir + "/drive";
  Win98Drive fixture;
  fixture.writeFolder(drive);
  auto reg = [&](std::vector<std::string> args) {
    args.insert(args.begin(), {MORVIN_REG_PROGRAM, "--machine", machine});
    return runTool(args);
  };
  ASSERT_EQ(reg({"init", "--from", drive}).status, 0);
  // A changed value, a new key with Polish text, a removed value, a removed key.
  const std::string change = dir + "/change.reg";
  platform::host::writeFileDurably(
      change,
      "REGEDIT4\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network]\r\n"
      "\"NoNetSetup\"=dword:00000001\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Morvin\\Ustawienia \xBF\xF3\xB3\xE6]\r\n\"Napis\"=\"g\xEA\x9Cl\xB9 "
      "ja\x9F\xF1\"\r\n"
      "\"Bajty\"=hex:00,ff,10\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion]\r\n\"Version\"=-\r\n\r\n"
      "[-HKEY_LOCAL_MACHINE\\Software\\Morvin\\Pusty]\r\n\r\n");
  ASSERT_EQ(reg({"import", change}).status, 0);
  ASSERT_EQ(reg({"apply", drive}).status, 0);
  const auto handedBack = platform::host::readFile(drive + "/MORVINNG.REG");
  ASSERT_TRUE(handedBack);
  const reg::RegDocument changes = reg::parseRegText(*handedBack);
  ASSERT_GE(changes.keys.size(), 4u) << *handedBack;

  WineRegistry wine(dir + "/wine");
  ASSERT_TRUE(wine.ready()) << wine.problem();
  // The prefix holds the drive's registry first, as Windows 98 would.
  reg::RegDocument baseline =
      reg::win9x::readHive(drive + "/WINDOWS/SYSTEM.DAT", "", reg::kLocalMachine, "SYSTEM.DAT");
  const auto user =
      reg::win9x::readHive(drive + "/WINDOWS/USER.DAT", ".DEFAULT", reg::kCurrentUser, "USER.DAT");
  baseline.keys.insert(baseline.keys.end(), user.keys.begin(), user.keys.end());
  platform::host::writeFileDurably(dir + "/baseline.reg", reg::writeRegText(baseline));
  ASSERT_TRUE(wine.apply(dir + "/baseline.reg"));
  ASSERT_TRUE(wine.apply(drive + "/MORVINNG.REG"));

  const platform::Machine m(machine);
  reg::HiveStore store(m.systemDat(), m.userDat());
  wine.expectHoldsMachineState(changes, store);
  fs::remove_all(dir);
}

}  // namespace
}  // namespace morvin::test
