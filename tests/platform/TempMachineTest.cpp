// The throw-away machine other tests build on.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "platform/HostFileAttributes.h"
#include "platform/MachineState.h"
#include "registry/RegistryStore.h"
#include "tests/support/TempMachine.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;

TEST(TempMachineTest, HelpersStoreCodePage1250BytesAndReadThemBack) {
  TempMachine machine(TempMachine::Content::Empty);
  machine.setString(reg::kCurrentUser, "Software\\Żółw", "Nazwa", "Łódź", reg::type::ExpandSz);
  std::uint32_t type = 0;
  std::string bytes;
  ASSERT_TRUE(machine.value(reg::kCurrentUser, "Software\\ŻÓŁW", "nazwa", &type, &bytes));
  EXPECT_EQ(type, reg::type::ExpandSz);
  EXPECT_EQ(bytes, std::string("\xA3\xF3\x64\x9F\0", 5));
  EXPECT_EQ(machine.string(reg::kCurrentUser, "Software\\Żółw", "Nazwa"), "Łódź");

  machine.setDword(reg::kCurrentUser, "Software\\Żółw", "Liczba", 0x12345678);
  ASSERT_TRUE(machine.value(reg::kCurrentUser, "Software\\Żółw", "Liczba", &type, &bytes));
  EXPECT_EQ(bytes, "\x78\x56\x34\x12");
  EXPECT_EQ(machine.dword(reg::kCurrentUser, "Software\\Żółw", "Liczba"), 0x12345678);
  EXPECT_EQ(machine.dword(reg::kCurrentUser, "Software\\Żółw", "Nazwa"), -1);  // not a DWORD
  EXPECT_EQ(machine.dword(reg::kCurrentUser, "Software\\Żółw", "Brak"), -1);
  EXPECT_EQ(machine.string(reg::kCurrentUser, "Software\\Żółw", "Liczba"), "");  // not text

  machine.setBinary(reg::kLocalMachine, "Software\\A", "Dane", std::string("\0\xFF", 2));
  ASSERT_TRUE(machine.value(reg::kLocalMachine, "Software\\A", "Dane", &type, &bytes));
  EXPECT_EQ(type, reg::type::Binary);
  EXPECT_EQ(bytes, std::string("\0\xFF", 2));
  EXPECT_FALSE(machine.valueExists(reg::kLocalMachine, "Software\\A", "Brak"));
  EXPECT_FALSE(machine.valueExists(reg::kLocalMachine, "Software\\Brak", "Dane"));
}

TEST(TempMachineTest, DeleteTreeRemovesAKeyWithAllItsSubkeys) {
  TempMachine machine(TempMachine::Content::Empty);
  machine.createKey(reg::kCurrentUser, "Software\\A\\B\\C");
  machine.setDword(reg::kCurrentUser, "Software\\A\\B", "x", 1);
  machine.createKey(reg::kCurrentUser, "Software\\A\\D");
  machine.createKey(reg::kCurrentUser, "Software\\AB");
  machine.deleteTree(reg::kCurrentUser, "Software\\A");
  EXPECT_FALSE(machine.keyExists(reg::kCurrentUser, "Software\\A"));
  EXPECT_TRUE(machine.keyExists(reg::kCurrentUser, "Software\\AB"));
  EXPECT_NO_THROW(machine.deleteTree(reg::kCurrentUser, "Software\\A"));
}

TEST(TempMachineTest, EachMachineIsItsOwnAndGoesAwayWhole) {
  std::string firstFolder;
  {
    TempMachine empty(TempMachine::Content::Empty);
    firstFolder = empty.folder();
    reg::Key key = 0;
    ASSERT_EQ(reg::currentStore().openKey(reg::kCurrentUser, "", reg::access::Read, &key), reg::err::Success);
    std::string name;
    EXPECT_EQ(reg::currentStore().enumKey(key, 0, &name), reg::err::NoMoreItems);
    reg::currentStore().closeKey(key);
    EXPECT_FALSE(fs::exists(empty.driveC() + "/MsDos.sys"));

    TempMachine full;
    EXPECT_NE(full.folder(), empty.folder());
    EXPECT_EQ(platform::currentMachine().folder(), full.folder());
    EXPECT_EQ(platform::getHostFileAttributes(full.driveC() + "/MsDos.sys"),
              platform::attr::ReadOnly | platform::attr::Hidden | platform::attr::System);
    full.setDword(reg::kCurrentUser, "Software\\Test", "x", 1);
    TempMachine other;
    EXPECT_FALSE(other.keyExists(reg::kCurrentUser, "Software\\Test"));  // a fresh copy, not a shared one

    fs::create_directories(empty.driveC() + "/zamkniety");
    std::ofstream(empty.driveC() + "/zamkniety/plik.txt") << "x";
    ::chmod((empty.driveC() + "/zamkniety").c_str(), 0555);
  }
  EXPECT_FALSE(fs::exists(firstFolder));
  EXPECT_EQ(platform::currentMachineOrNull(), nullptr);
}

TEST(TempMachineTest, ReopenAppliesNewOptionsAndHelpersReportRefusals) {
  TempMachine machine;
  machine.reopen({.readOnlyLocalMachine = true});
  EXPECT_THROW(machine.setDword(reg::kLocalMachine, "Software\\X", "x", 1), std::runtime_error);
  EXPECT_NO_THROW(machine.setDword(reg::kCurrentUser, "Software\\X", "x", 1));
  EXPECT_EQ(machine.string(reg::kLocalMachine,
                           "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName", "ComputerName"),
            "KOMPUTER");
}

}  // namespace
}  // namespace morvin::test
