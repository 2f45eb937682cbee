// morvin-reg apply: the changes since the import go back to the Windows 98
// drive as MORVINNG.REG with a batch file in its Startup folder, MSDOS.SYS
// and the files the program made; nothing else on the drive changes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "Win98Fixture.h"
#include "platform/HostFileAttributes.h"
#include "platform/HostFiles.h"
#include "platform/Win9xApply.h"
#include "platform/Win9xImport.h"
#include "platform/Win9xTools.h"
#include "registry/RegFile.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;
using platform::win9x::runTool;

constexpr const char* kStartup = "WINDOWS/Menu Start/Programy/Autostart/MORVINNG.BAT";

class Win98Apply : public Win98CommandTest {
 protected:
  // The user's clicks: a policy, a boot option, a wallpaper page and a folder.
  void change() {
    const std::string file = dir_ + "/change.reg";
    platform::host::writeFileDurably(
        file,
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network]"
        "\r\n"
        "\"NoNetSetup\"=dword:00000001\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Microsoft\\Nowy]\r\n\"Kto\"=\"ja\"\r\n\r\n");
    ASSERT_EQ(reg({"import", file}).status, 0);
    const std::string drive = machine_ + "/drive_c/";
    const std::string msDos = drive + "MsDos.sys";
    std::string boot = *platform::host::readFile(msDos);
    boot.replace(boot.find("BootMulti=1"), 11, "BootMulti=0");
    const auto attributes = platform::getHostFileAttributes(msDos);
    platform::setHostFileAttributes(msDos, 0);
    platform::host::writeFileDurably(msDos, boot);
    platform::setHostFileAttributes(msDos, static_cast<std::uint32_t>(attributes));
    platform::host::writeFileDurably(drive + "WINDOWS/Web/Wallpaper/Nowa.htm", "<html>nowa</html>");
    fs::create_directories(drive + "WINDOWS/Menu Start/Programy/Panel sterowania");
  }

  Win98Drive fixture_;
};

TEST_F(Win98Apply, TheChangesReachTheDriveAndNothingElseChanges) {
  for (const bool image : {false, true}) {
    SCOPED_TRACE(image ? "FAT32 image with an MBR" : "folder");
    fs::remove_all(machine_);
    const std::string folder = dir_ + (image ? "/image-drive" : "/drive");
    fixture_.writeFolder(folder);
    const std::string target = image ? folder + ".img" : folder;
    const long long offset = image ? makeImage(folder, target, 32, true) : 0;
    auto files = [&] { return image ? imageFiles(target, offset) : folderFiles(target); };
    const auto before = files();
    ASSERT_EQ(reg({"init", "--from", target}).status, 0);
    change();

    const auto dry = reg({"apply", target, "--dry-run"});
    ASSERT_EQ(dry.status, 0) << dry.err;
    for (const char* listed : {"MORVINNG.REG", "MSDOS.SYS", kStartup, "WINDOWS/Web/Wallpaper/Nowa.htm",
                               "WINDOWS/Menu Start/Programy/Panel sterowania/"})
      EXPECT_NE(dry.out.find(listed), std::string::npos) << listed << " in\n" << dry.out;
    EXPECT_EQ(files(), before);

    const auto applied = reg({"apply", target});
    ASSERT_EQ(applied.status, 0) << applied.err;
    auto after = files();
    const std::string changes = reg({"changes"}).out;
    EXPECT_NE(changes.find("\"NoNetSetup\"=dword:00000001"), std::string::npos) << changes;
    EXPECT_EQ(after["MORVINNG.REG"], changes);
    EXPECT_EQ(after[kStartup], platform::win9x::startupBatch(
                                   "C:\\WINDOWS\\Menu Start\\Programy\\Autostart\\MORVINNG.BAT", 852));
    EXPECT_NE(after["MSDOS.SYS"].find("BootMulti=0"), std::string::npos);
    if (image) {
      EXPECT_EQ(imageAttributes(target, offset, "MSDOS.SYS") & 0x07, 0x07);
    }
    EXPECT_EQ(after["WINDOWS/Web/Wallpaper/Nowa.htm"], "<html>nowa</html>");
    EXPECT_EQ(after.count("WINDOWS/Menu Start/Programy/Panel sterowania/"), 1u);
    for (const char* made : {"MORVINNG.REG", kStartup, "WINDOWS/Web/Wallpaper/Nowa.htm",
                             "WINDOWS/Menu Start/Programy/Panel sterowania/"})
      after.erase(made);
    after["MSDOS.SYS"] = before.at("MSDOS.SYS");
    EXPECT_EQ(after, before);  // the hives too, byte for byte

    // Nothing new: nothing written.
    const auto once = files();
    const auto again = reg({"apply", target});
    EXPECT_EQ(again.status, 0) << again.err;
    EXPECT_NE(again.out.find("Nothing to write"), std::string::npos) << again.out;
    EXPECT_EQ(files(), once);
  }
}

TEST_F(Win98Apply, AChangeTakenBackAfterItWasHandedBackIsHandedBackToo) {
  const std::string drive = dir_ + "/drive";
  fixture_.writeFolder(drive);
  ASSERT_EQ(reg({"init", "--from", drive}).status, 0);
  change();
  ASSERT_EQ(reg({"apply", drive}).status, 0);
  ASSERT_EQ(reg({"undo", "--all"}).status, 0);
  ASSERT_EQ(reg({"changes"}).out, "REGEDIT4\r\n\r\n");
  const auto applied = reg({"apply", drive});
  ASSERT_EQ(applied.status, 0) << applied.err;
  const auto reg = platform::host::readFile(drive + "/MORVINNG.REG");
  ASSERT_TRUE(reg);
  EXPECT_NE(reg->find("\"NoNetSetup\"=dword:00000005"), std::string::npos) << *reg;
  // A key the first hand-back made goes whole, or regedit would make it again, empty.
  EXPECT_NE(reg->find("[-HKEY_CURRENT_USER\\Software\\Microsoft\\Nowy]"), std::string::npos) << *reg;
  EXPECT_EQ(reg->find("[HKEY_CURRENT_USER\\Software\\Microsoft\\Nowy]"), std::string::npos) << *reg;
}

// What Windows 98 does at a logon with the batch in its Startup folder:
// regedit applies the .reg to its hives (the test writer stands in), then the
// batch deletes the .reg and itself.
void takeHandBack(Win98Drive& drive, const std::string& regText) {
  for (const reg::RegKeyEntry& key : reg::parseRegText(regText).keys) {
    CregKey& root = key.root == reg::kCurrentUser ? drive.user.path(".DEFAULT") : drive.system;
    ASSERT_FALSE(key.remove) << "not needed here";
    CregKey& target = root.path(key.path);
    for (const reg::RegValueEntry& v : key.values) {
      std::erase_if(target.values, [&](const CregValue& old) { return old.name == v.name; });
      if (!v.remove) target.values.push_back({v.name, v.type, v.data});
    }
  }
}

void putHives(const Win98Drive& drive, const std::string& dir, const std::string& image, long long offset) {
  const std::string target = image + "@@" + std::to_string(offset);
  const std::vector<std::string> env = {"MTOOLS_SKIP_CHECK=1", "LC_ALL=C.UTF-8", "MTOOLSRC=/dev/null"};
  for (const auto& [name, hive] :
       {std::pair{"SYSTEM.DAT", &drive.system}, std::pair{"USER.DAT", &drive.user}}) {
    platform::host::writeFileDurably(dir + "/" + name, writeCreg(*hive));
    EXPECT_EQ(runTool({"mcopy", "-o", "-i", target, dir + "/" + name, std::string("::/WINDOWS/") + name}, env)
                  .status,
              0);
  }
}

void removeHandBack(const std::string& image, long long offset) {
  const std::string target = image + "@@" + std::to_string(offset);
  const std::vector<std::string> env = {"MTOOLS_SKIP_CHECK=1", "LC_ALL=C.UTF-8", "MTOOLSRC=/dev/null"};
  EXPECT_EQ(runTool({"mdel", "-i", target, "::/MORVINNG.REG", std::string("::/") + kStartup}, env).status, 0);
}

TEST_F(Win98Apply, TheRoundTripRepeatsWithoutForceAndAValueChangedOnBothSidesIsAConflict) {
  const std::string folder = dir_ + "/drive", image = dir_ + "/drive.img";
  fixture_.writeFolder(folder);
  const long long offset = makeImage(folder, image, 16, true);
  ASSERT_EQ(reg({"init", "--from", image}).status, 0);
  auto set = [&](const std::string& key, const std::string& line) {
    platform::host::writeFileDurably(dir_ + "/set.reg",
                                     "REGEDIT4\r\n\r\n[" + key + "]\r\n" + line + "\r\n\r\n");
    ASSERT_EQ(reg({"import", dir_ + "/set.reg"}).status, 0);
  };
  const std::string network =
      "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network";
  set(network, "\"NoNetSetup\"=dword:00000001");
  ASSERT_EQ(reg({"apply", image}).status, 0);

  // Windows takes it at its next logon and changes a value of its own.
  takeHandBack(fixture_, imageFiles(image, offset).at("MORVINNG.REG"));
  fixture_.user.path(".DEFAULT\\Control Panel\\Desktop").values = {{"Wallpaper", 1, "C:\\WINDOWS\\Las.bmp"}};
  putHives(fixture_, dir_, image, offset);
  removeHandBack(image, offset);

  set(network, "\"NoNetSetup\"=dword:00000003");  // changed again since the hand-back
  const auto refreshed = reg({"refresh"});        // the drive the machine was made from
  ASSERT_EQ(refreshed.status, 0) << refreshed.err;
  EXPECT_NE(refreshed.out.find("1 taken from it, 1 of the machine's own changes kept"), std::string::npos)
      << refreshed.out;
  const auto second = reg({"apply", image});
  ASSERT_EQ(second.status, 0) << second.err;
  const std::string handedBack = imageFiles(image, offset).at("MORVINNG.REG");
  EXPECT_EQ(handedBack, "REGEDIT4\r\n\r\n[" + network + "]\r\n\"NoNetSetup\"=dword:00000003\r\n\r\n");
  // Windows' own change is the machine's now (its text without NUL is the same text).
  EXPECT_NE(reg({"query", "HKEY_CURRENT_USER\\Control Panel\\Desktop", "Wallpaper"}).out.find("Las.bmp"),
            std::string::npos);
  EXPECT_NE(reg({"history"}).out.find("Odczyt z dysku"), std::string::npos);

  // Both sides change the wallpaper: a conflict naming both states, nothing written.
  takeHandBack(fixture_, handedBack);
  fixture_.user.path(".DEFAULT\\Control Panel\\Desktop").values = {
      {"Wallpaper", 1, "C:\\WINDOWS\\Morze.bmp"}};
  putHives(fixture_, dir_, image, offset);
  removeHandBack(image, offset);
  set("HKEY_CURRENT_USER\\Control Panel\\Desktop", "\"Wallpaper\"=\"C:\\\\WINDOWS\\\\Gory.bmp\"");
  const auto before = imageFiles(image, offset);
  const auto refused = reg({"apply", image});
  EXPECT_EQ(refused.status, 4);
  EXPECT_NE(refused.err.find("Wallpaper"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("Morze.bmp"), std::string::npos) << refused.err;
  EXPECT_NE(refused.err.find("Gory.bmp"), std::string::npos) << refused.err;
  EXPECT_EQ(imageFiles(image, offset), before);
  const auto forced = reg({"apply", image, "--force"});
  ASSERT_EQ(forced.status, 0) << forced.err;
  EXPECT_NE(imageFiles(image, offset).at("MORVINNG.REG").find("Gory.bmp"), std::string::npos);
}

TEST_F(Win98Apply, ARestoredDriveOrACopiedMachineStillHandsBackAndABootFileChangedOnBothSidesIsAConflict) {
  const std::string drive = dir_ + "/drive", snapshot = dir_ + "/snapshot";
  fixture_.writeFolder(drive);
  ASSERT_EQ(reg({"init", "--from", drive}).status, 0);
  change();
  fs::copy(drive, snapshot, fs::copy_options::recursive);
  ASSERT_EQ(reg({"apply", drive}).status, 0);

  // The drive back as it was before the hand-back; the machine copied elsewhere.
  fs::remove_all(drive);
  fs::copy(snapshot, drive, fs::copy_options::recursive);
  const std::string copied = machine_;
  fs::rename(machine_, dir_ + "/moved");
  fs::copy(dir_ + "/moved", copied, fs::copy_options::recursive);
  const auto again = reg({"apply", drive});
  ASSERT_EQ(again.status, 0) << again.err;
  EXPECT_TRUE(fs::exists(drive + "/MORVINNG.REG"));
  EXPECT_NE(platform::host::readFile(drive + "/MSDOS.SYS")->find("BootMulti=0"), std::string::npos);

  // Windows edits MSDOS.SYS, and so does the machine.
  platform::host::writeFileDurably(drive + "/MSDOS.SYS", fixture_.msDosSys + ";Windows\r\n");
  const std::string boot = machine_ + "/drive_c/MsDos.sys";
  const auto attributes = platform::getHostFileAttributes(boot);
  platform::setHostFileAttributes(boot, 0);
  platform::host::writeFileDurably(boot, *platform::host::readFile(boot) + ";maszyna\r\n");
  platform::setHostFileAttributes(boot, static_cast<std::uint32_t>(attributes));
  const auto refused = reg({"apply", drive});
  EXPECT_EQ(refused.status, 4);
  EXPECT_NE(refused.err.find("MSDOS.SYS changed on the drive and in the machine"), std::string::npos)
      << refused.err;
  EXPECT_EQ(*platform::host::readFile(drive + "/MSDOS.SYS"), fixture_.msDosSys + ";Windows\r\n");
  EXPECT_EQ(reg({"apply", drive, "--force"}).status, 0);
  EXPECT_NE(platform::host::readFile(drive + "/MSDOS.SYS")->find(";maszyna"), std::string::npos);
}

// A disk whose first partition is another FAT volume: the machine read from
// the second one hands back to the second one without being told again.
TEST_F(Win98Apply, TheChangesGoBackToThePartitionTheMachineWasReadFrom) {
  const std::string folder = dir_ + "/drive", disk = dir_ + "/two.img";
  fixture_.writeFolder(folder);
  const long long offset = makeImage(folder, disk, 16, true);
  {
    // The drive's partition moves to the second slot; the first holds a small FAT12 volume.
    std::fstream f(disk, std::ios::binary | std::ios::in | std::ios::out);
    std::string table(64, '\0');
    f.seekg(446);
    f.read(table.data(), 64);
    table.replace(16, 16, table.substr(0, 16));
    const std::string first = std::string("\0\0\0\0\x01\0\0\0\x3F\0\0\0\xC0\x03\0\0", 16);
    table.replace(0, 16, first);  // type 01 at sector 63, 960 sectors
    f.seekp(446);
    f.write(table.data(), 64);
  }
  ASSERT_EQ(runTool({"mkfs.fat", "-F", "12", "-n", "OTHER", "--offset", "63", disk, "480"}).status, 0);
  const long long otherOffset = 63 * 512;
  const auto otherBefore = imageFiles(disk, otherOffset);

  ASSERT_EQ(reg({"init", "--from", disk, "--partition", "2"}).status, 0);
  change();
  const auto applied = reg({"apply", disk});
  ASSERT_EQ(applied.status, 0) << applied.err;
  EXPECT_TRUE(imageFiles(disk, offset).contains("MORVINNG.REG"));
  EXPECT_EQ(imageFiles(disk, otherOffset), otherBefore);
  EXPECT_NE(reg({"machines"}).out.find("partition 2"), std::string::npos);
}

TEST_F(Win98Apply, OnlyAMachineMadeFromADriveHandsChangesBack) {
  fixture_.writeFolder(dir_ + "/drive");
  ASSERT_EQ(reg({"init"}).status, 0);
  const auto run = reg({"apply", dir_ + "/drive"});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("init --from"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace morvin::test
