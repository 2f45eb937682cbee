// morvin-reg apply against targets that try to make it write where it must
// not: each refused before any write (or the one bad file left out), the
// hives byte-identical, no hang; and the batch file's bytes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "Win98Fixture.h"
#include "platform/HostFiles.h"
#include "platform/Win9xApply.h"
#include "platform/Win9xDrive.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;
using platform::host::readFile;
using platform::host::writeFileDurably;

std::string hex1(const std::string& bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string out = "hex(1):";
  for (size_t i = 0; i <= bytes.size(); ++i) {  // with its NUL
    const unsigned char c = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0;
    out += std::string(i ? "," : "") + digits[c >> 4] + digits[c & 15];
  }
  return out;
}

// A file of the machine's drive (or the drive), its folders made as needed.
void put(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  ASSERT_TRUE(writeFileDurably(path, bytes)) << path;
}

class Win98ApplyHostile : public Win98CommandTest {
 protected:
  // A drive (folder or image) with a machine made from it and one registry change.
  void makeDrive(bool image, const std::function<void(const std::string&)>& beforeImport = {}) {
    fs::remove_all(machine_);
    folder_ = dir_ + "/drive";
    fs::remove_all(folder_);
    fixture_.writeFolder(folder_);
    if (beforeImport) beforeImport(folder_);
    target_ = folder_;
    offset_ = 0;
    if (image) {
      target_ = dir_ + "/drive.img";
      offset_ = makeImage(folder_, target_, 16, true);
    }
    image_ = image;
    const auto made = reg({"init", "--from", target_});
    ASSERT_EQ(made.status, 0) << made.err;
    setRegistry("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network",
                "\"NoNetSetup\"=dword:00000001");
  }
  void setRegistry(const std::string& key, const std::string& valueLine) {
    const std::string file = dir_ + "/change.reg";
    writeFileDurably(file, "REGEDIT4\r\n\r\n[" + key + "]\r\n" + valueLine + "\r\n\r\n");
    ASSERT_EQ(reg({"import", file}).status, 0);
  }
  std::map<std::string, std::string> files() {
    return image_ ? imageFiles(target_, offset_) : folderFiles(target_);
  }
  // apply, stopped by `timeout` should it hang.
  platform::win9x::ToolRun applyWithin10s() {
    return platform::win9x::runTool(
        {"timeout", "10", MORVIN_REG_PROGRAM, "--machine", machine_, "apply", target_});
  }

  Win98Drive fixture_;
  std::string folder_, target_;
  long long offset_ = 0;
  bool image_ = false;
};

TEST_F(Win98ApplyHostile, EachHostileTargetIsRefusedOrLeftOutAndTheHivesStayAsTheyWere) {
  struct Row {
    const char* name;
    bool image;
    std::function<void()> prepare;  // after the import
    int status;
    const char* said;  // in the error output
    std::function<void(const std::string&)> beforeImport = {};
    std::vector<std::string> alsoSaid = {};
  };
  const std::vector<Row> rows = {
      {.name = "MORVINNG.REG a link to the drive's SYSTEM.DAT",
       .image = false,
       .prepare = [this] { fs::create_symlink("WINDOWS/SYSTEM.DAT", folder_ + "/MORVINNG.REG"); },
       .status = 2,
       .said = "MORVINNG.REG is a link or a special file"},
      {.name = "the Startup folder's parent a link into the Windows folder",
       .image = false,
       .prepare =
           [this] {
             fs::remove_all(folder_ + "/WINDOWS/Menu Start/Programy");
             fs::create_symlink("../../WINDOWS", folder_ + "/WINDOWS/Menu Start/Programy");
           },
       .status = 2,
       .said = "Programy is a link or a special file"},
      {.name = "a FIFO as MORVINNG.REG",
       .image = false,
       .prepare = [this] { ::mkfifo((folder_ + "/MORVINNG.REG").c_str(), 0644); },
       .status = 2,
       .said = "MORVINNG.REG is a link or a special file"},
      {.name = "a FIFO as MSDOS.SYS",
       .image = false,
       .prepare =
           [this] {
             fs::remove(folder_ + "/MSDOS.SYS");
             ::mkfifo((folder_ + "/MSDOS.SYS").c_str(), 0644);
             const std::string boot = machine_ + "/drive_c/MsDos.sys";
             ::chmod(boot.c_str(), 0644);
             writeFileDurably(boot, *readFile(boot) + ";\r\n");
           },
       .status = 2,
       .said = "MSDOS.SYS is a link or a special file"},
      {.name = "a FIFO as the Startup folder",
       .image = false,
       .prepare =
           [this] {
             const std::string startup = folder_ + "/WINDOWS/Menu Start/Programy/Autostart";
             fs::remove_all(startup);
             ::mkfifo(startup.c_str(), 0644);
           },
       .status = 2,
       .said = "Autostart is a link or a special file"},
      {.name = "machine files named with a backslash and outside cp1250, and ... (left out)",
       .image = false,
       .prepare =
           [this] {
             put(machine_ + "/drive_c/WINDOWS\\SYSTEM.DAT", "not a hive");
             put(machine_ + "/drive_c/x\\..\\USER.DAT", "not a hive");
             put(machine_ + "/drive_c/\xE6\x97\xA5\xE6\x9C\xAC.txt", "nihon");
             put(machine_ + "/drive_c/...", "dots");
             put(machine_ + "/drive_c/Nowy\nplik.txt", "newline");
             put(machine_ + "/drive_c/Dobry.txt", "goes");
           },
       .status = 0,
       .said = "Left out WINDOWS\\SYSTEM.DAT",
       .alsoSaid = {"Left out x\\..\\USER.DAT", "Left out \xE6\x97\xA5\xE6\x9C\xAC.txt",
                    "Left out ...:", "Left out Nowy\nplik.txt"}},
      {.name = "WinDir=C:\\WIN98 and the machine holding WIN98/SYSTEM.DAT (left out)",
       .image = false,
       .prepare =
           [this] {
             put(machine_ + "/drive_c/WIN98/SYSTEM.DAT", "not a hive");
             put(machine_ + "/drive_c/WIN98/SYSTEM.DA0", "not a hive");
           },
       .status = 0,
       .said = "Left out WIN98/SYSTEM.DAT",
       .beforeImport =
           [](const std::string& folder) {
             fs::rename(folder + "/WINDOWS", folder + "/WIN98");
             std::string boot = *readFile(folder + "/MSDOS.SYS");
             boot.replace(boot.find("WinDir=C:\\WINDOWS"), 17, "WinDir=C:\\WIN98");
             writeFileDurably(folder + "/MSDOS.SYS", boot);
           }},
      {.name = "a WINDOW? folder and a *.DAT file on an image (left out)",
       .image = true,
       .prepare =
           [this] {
             put(machine_ + "/drive_c/WINDOW?/SYSTEM.TXT", "wildcard");
             put(machine_ + "/drive_c/WINDOWS/*.DAT", "wildcard");
           },
       .status = 0,
       .said = "Left out WINDOW?"},
      {.name = "an image QEMU holds",
       .image = true,
       .prepare = [] {},  // locked below
       .status = 3,
       .said = "Turn off the virtual machine"},
      {.name = "a second apply while one runs",
       .image = false,
       .prepare = [] {},  // locked below
       .status = 3,
       .said = "Another morvin-reg apply"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    makeDrive(row.image, row.beforeImport);
    row.prepare();
    const auto before = files();
    int held = -1;
    if (std::string(row.name) == "an image QEMU holds") {
      // As QEMU holds an image it writes: the permission bytes 100 and 101
      // and the "write not shared" byte 201, as open file description locks.
      held = ::open(target_.c_str(), O_RDWR);
      for (const off_t byte : {100, 101, 201}) {
        struct flock lock {};
        lock.l_type = F_RDLCK;
        lock.l_whence = SEEK_SET;
        lock.l_start = byte;
        lock.l_len = 1;
        ASSERT_EQ(::fcntl(held, F_OFD_SETLK, &lock), 0);
      }
    } else if (std::string(row.said).starts_with("Another")) {
      held = ::open((machine_ + "/import/lock").c_str(), O_RDWR | O_CREAT, 0644);
      ASSERT_EQ(::flock(held, LOCK_EX), 0);
    }
    const auto run = applyWithin10s();
    if (held >= 0) ::close(held);
    EXPECT_EQ(run.status, row.status) << run.err;
    EXPECT_NE(run.err.find(row.said), std::string::npos) << run.err;
    for (const std::string& said : row.alsoSaid) EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    auto after = files();
    const std::string windows = row.beforeImport ? "WIN98/" : "WINDOWS/";
    for (const std::string hive : {"SYSTEM.DAT", "USER.DAT"})
      EXPECT_EQ(after[windows + hive], before.at(windows + hive)) << hive;
    if (row.status != 0) {
      EXPECT_EQ(after, before);
      continue;
    }
    EXPECT_NE(after["MORVINNG.REG"].find("NoNetSetup"), std::string::npos);  // the rest went
    if (!row.alsoSaid.empty()) {
      EXPECT_EQ(after["Dobry.txt"], "goes");
    }
    if (row.image) {
      EXPECT_EQ(imageAttributes(target_, offset_, "WINDOWS/SYSTEM.DAT"), 0x20);
      EXPECT_EQ(after.count("WINDOWS/SYSTEM.TXT"), 0u);
    }
  }
}

TEST_F(Win98ApplyHostile, AStartupFolderNoBatchFileCanStandInIsRefusedBeforeAnyWrite) {
  const std::string shell =
      "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const std::vector<std::pair<std::string, std::string>> rows = {
      {"C:\\WINDOWS\\" + std::string(300, 'a'), "longer than"},
      {"C:\\WINDOWS\\Auto*?<>", "the character *"},
      {"C:\\WINDOWS\\CON", "device"},
      {"C:\\WINDOWS\\Auto\x01start", "control character"},
      {"C:\\WINDOWS\\Auto\"start", "quotation mark"},
      {"C:\\WINDOWS\\Auto\rstart", "control character"},
      {"C:\\WINDOWS\\Auto\nstart", "control character"},
      {"C:\\WINDOWS\\SYSTEM.DAT", "WINDOWS/SYSTEM.DAT is a file"},
      {"C:\\WINDOWS\\*", "the character *"},
  };
  for (const auto& [startup, said] : rows) {
    SCOPED_TRACE(said);
    makeDrive(true);
    setRegistry(shell, "\"Startup\"=" + hex1(startup));
    const auto before = files();
    const auto run = applyWithin10s();
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find(said), std::string::npos) << run.err;
    EXPECT_EQ(files(), before);
  }
}

TEST_F(Win98ApplyHostile, AnApplyKilledAtARenameLeavesEachFileWholeAndTheNextOneFinishes) {
  for (const int killedAt : {1, 2}) {
    SCOPED_TRACE("killed at rename " + std::to_string(killedAt));
    makeDrive(true);
    // mren as mtools has it, but the apply running it is killed at one call.
    const std::string bin = dir_ + "/bin", count = dir_ + "/count";
    fs::remove(count);
    put(bin + "/mren", "#!/bin/sh\necho x >> " + count + "\n[ $(wc -l < " + count + ") -eq " +
                           std::to_string(killedAt) + " ] && kill -9 $PPID && exit 9\nexec /usr/bin/mren \"$@\"\n");
    fs::permissions(bin + "/mren", fs::perms::owner_all);
    const auto killed =
        platform::win9x::runTool({"env", "PATH=" + bin + ":" + std::getenv("PATH"), MORVIN_REG_PROGRAM,
                                  "--machine", machine_, "apply", target_});
    EXPECT_NE(killed.status, 0);
    const std::string changes = reg({"changes"}).out;
    const std::string batch = "WINDOWS/Menu Start/Programy/Autostart/MORVINNG.BAT";
    auto after = files();
    EXPECT_TRUE(!after.count("MORVINNG.REG") || after["MORVINNG.REG"] == changes);
    EXPECT_EQ(after.count(batch), 0u);

    const auto finished = reg({"apply", target_});
    ASSERT_EQ(finished.status, 0) << finished.err;
    after = files();
    EXPECT_EQ(after["MORVINNG.REG"], changes);
    EXPECT_EQ(after.count(batch), 1u);
    for (const auto& [path, bytes] : after) EXPECT_EQ(path.find(".TMP"), std::string::npos) << path;
  }
}

TEST(Win98StartupBatch, IsWrittenInTheDrivesOemCodePageWithEachPercentDoubled) {
  // "Łukasz" in cp1250 is A3 75 6B 61 73 7A; in cp852 Ł is 9D.
  const std::string path = "C:\\WINDOWS\\Profiles\\\xA3ukasz\\Autostart 100%\\MORVINNG.BAT";
  const std::string cp852 =
      "@ECHO OFF\r\nregedit /s C:\\MORVINNG.REG\r\ndel C:\\MORVINNG.REG\r\n"
      "del \"C:\\WINDOWS\\Profiles\\\x9Dukasz\\Autostart 100%%\\MORVINNG.BAT\"\r\n";
  EXPECT_EQ(platform::win9x::startupBatch(path, 852), cp852);
  // An English Windows (437) has no Ł: refused, not written wrong.
  EXPECT_THROW(platform::win9x::startupBatch(path, 437), platform::win9x::DriveError);
}

}  // namespace
}  // namespace morvin::test
