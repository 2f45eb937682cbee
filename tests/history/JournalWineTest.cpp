// The changes file, applied by Wine's regedit (standing in for Windows 98's)
// to a prefix that holds the machine as it started, gives the machine's state
// under every changed key.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/HostFiles.h"
#include "registry/Cp1250.h"
#include "registry/HiveStore.h"
#include "registry/JournalHistory.h"
#include "registry/RegFile.h"
#include "tests/support/TempMachine.h"
#include "tests/support/WineRegistry.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;

TEST(JournalWine, TheChangesFileGivesTheMachinesStateWhenWinesRegeditAppliesIt) {
  if (!WineRegistry::available()) GTEST_SKIP() << "Wine is not installed";
  TempMachine machine;
  reg::RegistryStore& store = reg::currentStore();
  ASSERT_NE(store.journal(), nullptr);
  const std::string dir = machine.folder() + "/wine-check";
  fs::create_directories(dir);

  // The machine as it started, for the prefix.
  reg::RegDocument baseline;
  ASSERT_EQ(reg::readRegTree(store, reg::kLocalMachine, "SOFTWARE", &baseline), reg::err::Success);
  ASSERT_EQ(reg::readRegTree(store, reg::kCurrentUser, "Control Panel", &baseline), reg::err::Success);
  platform::host::writeFileDurably(dir + "/baseline.reg", reg::writeRegText(baseline));

  // Values added, changed (twice), removed; a key made; a tree removed; Polish text.
  const std::string changes =
      "REGEDIT4\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network]\r\n"
      "\"NoNetSetup\"=dword:00000005\r\n\r\n"
      "[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n\"Wallpaper\"=\"C:\\\\WINDOWS\\\\Chmury.bmp\"\r\n"
      "\"UserPreferencemask\"=hex:3e,00,00,00\r\n\"Pattern\"=-\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Paint.Picture]\r\n@=\"Obraz \xBF\xF3\xB3tej mapy\"\r\n\r\n"
      "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\Paint.Picture\\shell]\r\n\r\n"
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvin pusty]\r\n\r\n";
  reg::importRegText(store, changes);
  machine.setDword(reg::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network",
                   "NoNetSetup", 1);
  const std::string file = reg::journal::changesReg(store);
  platform::host::writeFileDurably(dir + "/changes.reg", file);
  const reg::RegDocument changed = reg::parseRegText(file);
  ASSERT_EQ(changed.keys.size(), 5u) << file;

  WineRegistry wine(dir + "/wine");
  ASSERT_TRUE(wine.ready()) << wine.problem();
  ASSERT_TRUE(wine.apply(dir + "/baseline.reg"));
  ASSERT_TRUE(wine.apply(dir + "/changes.reg"));
  wine.expectHoldsMachineState(changed, store);
}

}  // namespace
}  // namespace morvin::test
