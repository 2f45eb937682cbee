// morvin-reg init --from: a Windows 98 drive, as a folder or a disk image,
// becomes the machine: its registry value for value, MSDOS.SYS with its
// attributes, its folders and the files the windows show.
#include <gtest/gtest.h>

#include <filesystem>

#include "Win98Fixture.h"
#include "platform/HostFileAttributes.h"
#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/Win9xTools.h"
#include "registry/Cp1250.h"
#include "registry/HiveStore.h"
#include "registry/RegFile.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;
using platform::win9x::runTool;

RegistryContent contentOf(reg::RegistryStore& store, reg::Key root) {
  reg::RegDocument document;
  EXPECT_EQ(reg::readRegTree(store, root, "", &document), reg::err::Success);
  RegistryContent out;
  for (const auto& key : document.keys) {
    auto& values = out[cp1250::toUpper(key.path)];
    for (const auto& v : key.values) values[v.name] = {v.type, v.data};
  }
  if (out[""].empty()) out.erase("");
  return out;
}

class Win98Import : public Win98CommandTest {
 protected:
  Win98Drive fixture_;
};

TEST_F(Win98Import, FromFoldersAndImagesTheMachineHoldsTheDrivesRegistryAndFiles) {
  struct Case {
    const char* name;
    int fatBits;  // 0: the folder itself
    bool partitioned;
    Spelling spelling;
  } cases[] = {{"folder", 0, false, Spelling::Lower},
               {"fat16-mbr", 16, true, Spelling::Windows},
               {"fat32-mbr", 32, true, Spelling::Windows},
               {"fat16-bare", 16, false, Spelling::Windows},
               {"fat32-bare", 32, false, Spelling::Windows}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string drive = dir_ + "/" + c.name;
    fixture_.writeFolder(drive, c.spelling);
    std::string source = drive;
    if (c.fatBits) makeImage(drive, source = drive + ".img", c.fatBits, c.partitioned);
    fs::remove_all(machine_);

    const auto run = reg({"init", "--from", source});
    ASSERT_EQ(run.status, 0) << run.err;
    const platform::Machine machine(machine_);
    {
      reg::HiveStore store(machine.systemDat(), machine.userDat());
      EXPECT_EQ(contentOf(store, reg::kLocalMachine), contentOf(fixture_.system));
      EXPECT_EQ(contentOf(store, reg::kCurrentUser), contentOf(fixture_.user, ".DEFAULT"));
    }
    EXPECT_EQ(platform::host::readFile(machine.driveC() + "/MsDos.sys"), fixture_.msDosSys);
    if (c.fatBits) {  // a folder on this file system has no DOS attributes to bring
      EXPECT_EQ(platform::getHostFileAttributes(machine.driveC() + "/MsDos.sys") & 0x07, 0x07);
    }
    // Shown files come along, documents and programs only as folders.
    const auto files = folderFiles(machine.driveC());
    for (const char* shown : {"WINDOWS/Chmury.bmp", "WINDOWS/Web/Wallpaper/Okno.htm",
                              "WINDOWS/Menu Start/Programy/Akcesoria/Notatnik.lnk"})
      EXPECT_EQ(files.count(c.spelling == Spelling::Lower ? [&] {
        std::string p = shown;
        for (char& ch : p) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        return "WINDOWS" + p.substr(7);
      }() : std::string(shown)), 1u) << shown;
    for (const char* folder :
         {"Moje dokumenty/", "Program Files/Gra/", "WINDOWS/Menu Start/Programy/Autostart/"})
      EXPECT_EQ(files.count(c.spelling == Spelling::Lower ? [&] {
        std::string p = folder;
        for (char& ch : p) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        return p.starts_with("windows") ? "WINDOWS" + p.substr(7) : p;
      }() : std::string(folder)), 1u) << folder;
    for (const auto& [path, bytes] : files) {
      EXPECT_FALSE(path.ends_with("List.doc") || path.ends_with("list.doc")) << path;
      EXPECT_FALSE(path.ends_with(".exe")) << path;
    }
  }
}

TEST_F(Win98Import, AUserOfTheDriveHasHisOwnHiveAsTheCurrentUser) {
  fixture_.writeFolder(dir_ + "/drive");
  const auto run = reg({"init", "--from", dir_ + "/drive/", "--user", "Jan"});  // a folder named with its '/'
  ASSERT_EQ(run.status, 0) << run.err;
  const platform::Machine machine(machine_);
  reg::HiveStore store(machine.systemDat(), machine.userDat());
  EXPECT_EQ(contentOf(store, reg::kCurrentUser), contentOf(fixture_.profileUser));
  EXPECT_TRUE(fs::exists(machine.driveC() + "/WINDOWS/Profiles/Jan/Menu Start/Programy/Jana.lnk"));
  // The imported registry is where the journal begins: no changes yet.
  EXPECT_EQ(reg({"changes"}).out, "REGEDIT4\r\n\r\n");
}

TEST_F(Win98Import, BadInputIsNamedAndLeavesNoMachine) {
  struct Case {
    const char* name;
    std::function<void(const std::string& drive)> spoil;
    std::vector<std::string> extra;
    int status;
    const char* said;
  } cases[] = {
      {"not a hive",
       [](const std::string& d) {
         platform::host::writeFileDurably(d + "/WINDOWS/SYSTEM.DAT", "REGEDIT4\r\n");
       },
       {},
       2,
       "WINDOWS/SYSTEM.DAT: is not a Windows 9x registry file"},
      {"damaged hive",
       [](const std::string& d) {
         auto bytes = *platform::host::readFile(d + "/WINDOWS/USER.DAT");
         platform::host::writeFileDurably(d + "/WINDOWS/USER.DAT", bytes.substr(0, 200));
       },
       {},
       2,
       "WINDOWS/USER.DAT: the hive is damaged (the file ends inside"},
      {"hive with a broken key table",
       [](const std::string& d) {
         // The root's first subkey points past the key table: libcreg says so.
         auto bytes = *platform::host::readFile(d + "/WINDOWS/SYSTEM.DAT");
         bytes.replace(32 + 32 + 16, 4, "\xF0\xFF\xFF\x0F");
         platform::host::writeFileDurably(d + "/WINDOWS/SYSTEM.DAT", bytes);
       },
       {},
       2,
       "WINDOWS/SYSTEM.DAT: the hive is damaged"},
      {"no SYSTEM.DAT",
       [](const std::string& d) { fs::remove(d + "/WINDOWS/SYSTEM.DAT"); },
       {},
       2,
       "WINDOWS/SYSTEM.DAT is missing"},
      {"unknown user", [](const std::string&) {}, {"--user", "Ewa"}, 2, "there is no user Ewa"},
      {"image without FAT",
       [](const std::string& d) { platform::host::writeFileDurably(d + ".img", std::string(4096, '\0')); },
       {},
       2,
       "holds no FAT volume"},
      {"partition of a bare volume",
       [](const std::string& d) { makeImage(d, d + ".img", 16, false); },
       {"--partition", "1"},
       2,
       "leave out --partition"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string drive = dir_ + "/drive";
    fs::remove_all(drive);
    fs::remove(drive + ".img");
    fixture_.writeFolder(drive);
    c.spoil(drive);
    std::vector<std::string> args = {"init", "--from", fs::exists(drive + ".img") ? drive + ".img" : drive};
    args.insert(args.end(), c.extra.begin(), c.extra.end());
    const auto run = reg(args);
    EXPECT_EQ(run.status, c.status) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(machine_ + "/drive_c"));
    EXPECT_FALSE(fs::exists(machine_ + "/import"));
  }
}

TEST_F(Win98Import, AnExistingMachineIsReplacedOnlyWhenAsked) {
  fixture_.writeFolder(dir_ + "/drive");
  ASSERT_EQ(reg({"init"}).status, 0);
  const auto refused = reg({"init", "--from", dir_ + "/drive"});
  EXPECT_EQ(refused.status, 3);
  EXPECT_NE(refused.err.find("--replace"), std::string::npos) << refused.err;
  EXPECT_FALSE(fs::exists(machine_ + "/import"));
  const auto replaced = reg({"init", "--from", dir_ + "/drive", "--replace"});
  ASSERT_EQ(replaced.status, 0) << replaced.err;
  const platform::Machine machine(machine_);
  reg::HiveStore store(machine.systemDat(), machine.userDat());
  EXPECT_EQ(contentOf(store, reg::kLocalMachine), contentOf(fixture_.system));
  EXPECT_TRUE(fs::exists(machine.record()));
}

TEST_F(Win98Import, UserDatKeysBesideDefaultStayUnderHkeyUsers) {
  fixture_.user.path("Software\\X").values = {{"RequestMakeCall", 1, "DIALER.EXE"}};
  fixture_.user.path("jan\\Control Panel").values = {{"Kto", 1, "Jan"}};
  fixture_.writeFolder(dir_ + "/drive");
  ASSERT_EQ(reg({"init", "--from", dir_ + "/drive"}).status, 0);

  const auto query = reg({"query", "HKEY_USERS\\Software\\X"});
  EXPECT_EQ(query.status, 0) << query.err;
  EXPECT_NE(query.out.find("RequestMakeCall"), std::string::npos) << query.out;
  EXPECT_NE(query.out.find("DIALER.EXE"), std::string::npos) << query.out;
  const platform::Machine machine(machine_);
  reg::HiveStore store(machine.systemDat(), machine.userDat());
  // Listed beside .DEFAULT in Windows' order; .DEFAULT is still the current user.
  std::vector<std::string> users;
  std::string name;
  for (std::uint32_t i = 0; store.enumKey(reg::kUsers, i, &name) == reg::err::Success; ++i)
    users.push_back(name);
  EXPECT_EQ(users, (std::vector<std::string>{".DEFAULT", "jan", "Software"}));
  EXPECT_EQ(contentOf(store, reg::kCurrentUser), contentOf(fixture_.user, ".DEFAULT"));
  // They are the drive's, not the machine's to change.
  reg::Key key = 0;
  EXPECT_EQ(store.createKey(reg::kUsers, "Software\\X\\Nowy", reg::access::AllAccess, &key),
            reg::err::AccessDenied);
}

}  // namespace
}  // namespace morvin::test
