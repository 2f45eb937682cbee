// Texts of a real drive as Windows 98 hands them out: its hives keep them
// without their terminating NUL, the machine holds them with it.
#include <gtest/gtest.h>

#include "Win98Fixture.h"
#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "registry/HiveStore.h"
#include "registry/Journal.h"
#include "registry/RegFile.h"

namespace morvin::test {
namespace {

class Win98Texts : public Win98CommandTest {};

TEST_F(Win98Texts, TextsGetTheirTerminatorAndEverythingElseStaysAsStored) {
  using namespace std::string_literals;
  struct Row {
    const char* name;
    std::uint32_t type;
    std::string stored, machine;
  } rows[] = {
      {"text without NUL", 1, "DIALER.EXE", "DIALER.EXE\0"s},
      {"text with NUL", 1, "abc\0"s, "abc\0"s},
      {"empty text", 1, "", "\0"s},
      {"expandable text", 2, "%windir%", "%windir%\0"s},
      {"texts without their end", 7, "a\0b"s, "a\0b\0\0"s},
      {"texts without the final empty string", 7, "a\0b\0"s, "a\0b\0\0"s},
      {"texts whole", 7, "a\0b\0\0"s, "a\0b\0\0"s},
      {"binary without NUL", 3, "ab", "ab"},
      {"number", 4, "\x01\x02\x03\x04", "\x01\x02\x03\x04"},
  };
  Win98Drive fixture;
  fixture.writeFolder(dir_ + "/drive");
  CregKey system;
  for (const Row& row : rows)
    system.path("Software\\Teksty").values.push_back({row.name, row.type, row.stored});
  platform::host::writeFileDurably(dir_ + "/drive/WINDOWS/SYSTEM.DAT",
                                   writeCreg(system, {.textTerminators = true}));
  const auto run = reg({"init", "--from", dir_ + "/drive"});
  ASSERT_EQ(run.status, 0) << run.err;

  const platform::Machine machine(machine_);
  reg::HiveStore store(machine.systemDat(), machine.userDat());
  reg::Key key = 0;
  ASSERT_EQ(store.openKey(reg::kLocalMachine, "Software\\Teksty", reg::access::Read, &key),
            reg::err::Success);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    std::uint32_t type = 0;
    std::string data;
    EXPECT_EQ(reg::readWholeValue(store, key, row.name, &type, &data), reg::err::Success);
    EXPECT_EQ(type, row.type);
    EXPECT_EQ(data, row.machine);
  }
  store.closeKey(key);
}

TEST_F(Win98Texts, AMachineFromADriveExportsItsTextsAsText) {
  Win98Drive fixture;
  fixture.user.path(".DEFAULT\\Control Panel\\Desktop").values = {{"Wallpaper", 1, "(Brak)"}};
  fixture.user.path(".DEFAULT\\Control Panel").values = {{"", 1, ""}};
  fixture.writeFolder(dir_ + "/drive");
  ASSERT_EQ(reg({"init", "--from", dir_ + "/drive"}).status, 0);

  const std::string file = dir_ + "/panel.reg";
  const auto exported = reg({"export", "HKEY_CURRENT_USER\\Control Panel", file});
  ASSERT_EQ(exported.status, 0) << exported.err;
  const std::string text = *platform::host::readFile(file);
  EXPECT_NE(text.find("\r\n\"Wallpaper\"=\"(Brak)\"\r\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\r\n@=\"\"\r\n"), std::string::npos) << text;
  EXPECT_EQ(text.find("hex(1)"), std::string::npos) << text;

  // Read back in, the same registry: nothing changes.
  ASSERT_EQ(reg({"import", file}).status, 0);
  EXPECT_EQ(reg({"changes"}).out, "REGEDIT4\r\n\r\n");
  EXPECT_EQ(reg({"export", "HKEY_CURRENT_USER\\Control Panel"}).out, text);
}

// A machine made before texts were read so holds them as the drive stored them.
TEST_F(Win98Texts, MendTextsGivesAnOlderMachinesTextsTheirTerminatorAsOneAction) {
  Win98Drive().writeFolder(dir_ + "/drive");
  ASSERT_EQ(reg({"init", "--from", dir_ + "/drive"}).status, 0);
  const platform::Machine machine(machine_);
  {
    reg::journal::Suspended asImported;
    reg::HiveStore store(machine.systemDat(), machine.userDat());
    reg::Key key = 0;
    ASSERT_EQ(store.createKey(reg::kCurrentUser, "Stare", reg::access::AllAccess, &key), reg::err::Success);
    store.setValue(key, "Tekst", 1, reinterpret_cast<const std::uint8_t*>("abc"), 3);
    store.setValue(key, "Lista", 7, reinterpret_cast<const std::uint8_t*>("a\0b"), 3);
    store.setValue(key, "Dane", 3, reinterpret_cast<const std::uint8_t*>("ab"), 2);
    store.closeKey(key);
  }
  const auto mended = reg({"mend-texts"});
  ASSERT_EQ(mended.status, 0) << mended.err;
  EXPECT_EQ(mended.out, "Mended 2 texts\n");
  EXPECT_EQ(reg({"export", "HKEY_CURRENT_USER\\Stare"}).out,
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Stare]\r\n\"Tekst\"=\"abc\"\r\n"
            "\"Lista\"=hex(7):61,00,62,00,00\r\n\"Dane\"=hex:61,62\r\n\r\n");
  // One action in the history, named for what it did.
  const auto history = reg({"history"}).out;
  EXPECT_NE(history.find("morvin-reg mend-texts"), std::string::npos) << history;
  EXPECT_EQ(reg({"mend-texts"}).out, "Mended 0 texts\n");
}

}  // namespace
}  // namespace morvin::test
