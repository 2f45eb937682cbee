// Virtual machine disks as kept by VirtualBox, VMware, QEMU and Virtual PC:
// init --from and apply through QEMU's tools, in place, only what changed;
// formats that cannot be written safely and disks in use are refused.
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "Win98Fixture.h"
#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/Win9xApply.h"
#include "platform/Win9xVirtualDisk.h"
#include "registry/HiveStore.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;
using platform::host::readFile;
using platform::win9x::runTool;

constexpr const char* kStartup = "WINDOWS/Menu Start/Programy/Autostart/MORVINNG.BAT";

class VirtualDisk : public Win98CommandTest {
 protected:
  // A FAT32 drive with an MBR as a raw image; returns the volume's offset.
  long long rawImage() {
    fixture_.writeFolder(dir_ + "/drive");
    return makeImage(dir_ + "/drive", raw_, 32, true);
  }
  void convert(const std::vector<std::string>& options, const std::string& disk) {
    std::vector<std::string> argv = {"qemu-img", "convert", "-f", "raw"};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.insert(argv.end(), {raw_, disk});
    const auto run = runTool(argv);
    ASSERT_EQ(run.status, 0) << run.err;
  }
  void change() {
    const std::string file = dir_ + "/change.reg";
    platform::host::writeFileDurably(
        file,
        "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\"
        "CurrentVersion\\Policies\\Network]\r\n\"NoNetSetup\"=dword:00000001\r\n\r\n");
    ASSERT_EQ(reg({"import", file}).status, 0);
  }

  Win98Drive fixture_;
  std::string raw_;
  void SetUp() override {
    Win98CommandTest::SetUp();
    raw_ = dir_ + "/disk.raw";
  }
};

// The bytes a virtual machine knows its disk by, at a place each format fixes.
std::string identity(const std::string& disk, std::size_t offset, bool fromEnd) {
  const std::string bytes = readFile(disk).value_or("");
  if (bytes.size() < offset + 16) return {};
  return bytes.substr(fromEnd ? bytes.size() - 512 + offset : offset, 16);
}

TEST_F(VirtualDisk, EveryFormatTakesTheChangeInPlaceAndKeepsTheRest) {
  struct Case {
    const char* name;
    const char* format;
    std::vector<std::string> options;
    std::size_t identityAt;  // 0: none kept in a fixed place
    bool identityFromEnd;
  };
  const std::vector<Case> cases = {
      {"disk.vdi", "vdi", {"-O", "vdi"}, 0x188, false},  // the UUID VirtualBox registers
      {"disk.vmdk", "vmdk", {"-O", "vmdk"}, 0, false},
      {"disk.qcow2", "qcow2", {"-O", "qcow2"}, 0, false},
      {"dynamic.vhd", "vpc", {"-O", "vpc"}, 0x44, true},  // the footer's unique id
      {"fixed.vhd", "vpc", {"-O", "vpc", "-o", "subformat=fixed"}, 0x44, true},
  };
  const long long offset = rawImage();
  const auto before = imageFiles(raw_, offset);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(machine_);
    const std::string disk = dir_ + "/" + c.name;
    convert(c.options, disk);
    const std::string id = c.identityAt ? identity(disk, c.identityAt, c.identityFromEnd) : "";
    if (c.identityAt) {
      ASSERT_EQ(id.size(), 16u);
    }

    const auto made = reg({"init", "--from", disk});
    ASSERT_EQ(made.status, 0) << made.err;
    change();
    const auto applied = reg({"apply", disk});
    ASSERT_EQ(applied.status, 0) << applied.err;

    // qemu-img checks every format here but Virtual PC's (status 63: no checks).
    const auto check = runTool({"qemu-img", "check", "-f", c.format, disk});
    EXPECT_EQ(check.status, std::string(c.format) == "vpc" ? 63 : 0) << check.out << check.err;
    if (c.identityAt) {
      EXPECT_EQ(identity(disk, c.identityAt, c.identityFromEnd), id);
    }
    const std::string back = dir_ + "/back.raw";
    ASSERT_EQ(runTool({"qemu-img", "convert", "-f", c.format, "-O", "raw", disk, back}).status, 0);
    auto after = imageFiles(back, offset);
    EXPECT_NE(after["MORVINNG.REG"].find("\"NoNetSetup\"=dword:00000001"), std::string::npos);
    after.erase("MORVINNG.REG");
    after.erase(kStartup);
    EXPECT_EQ(after, before);
  }
}

// The preview's dry run and the hand-back share one scratch copy of the disk,
// unless the disk changed between them.
TEST_F(VirtualDisk, AHandBackConvertsTheDiskOnceUnlessItChangesBetweenItsRuns) {
  struct Case {
    bool touchedBetween;
    std::uint64_t conversions;
  };
  const long long offset = rawImage();
  const std::string disk = dir_ + "/disk.vdi";
  for (const Case c : {Case{false, 1}, Case{true, 2}}) {
    SCOPED_TRACE(c.touchedBetween ? "touched between" : "untouched");
    fs::remove_all(machine_);
    convert({"-O", "vdi"}, disk);
    ASSERT_EQ(reg({"init", "--from", disk}).status, 0);
    change();
    const platform::Machine machine(machine_);
    reg::HiveStore store(machine.systemDat(), machine.userDat());
    platform::win9x::KeptDrive kept;
    const std::uint64_t before = platform::win9x::diskConversions();
    platform::win9x::applyToDrive(machine_, {.target = disk, .dryRun = true, .kept = &kept}, store);
    if (c.touchedBetween) fs::last_write_time(disk, fs::last_write_time(disk) + std::chrono::seconds(5));
    platform::win9x::applyToDrive(machine_, {.target = disk, .kept = &kept}, store);
    EXPECT_EQ(platform::win9x::diskConversions() - before, c.conversions);
    const std::string back = dir_ + "/back.raw";
    ASSERT_EQ(runTool({"qemu-img", "convert", "-f", "vdi", "-O", "raw", disk, back}).status, 0);
    EXPECT_NE(imageFiles(back, offset)["MORVINNG.REG"].find("\"NoNetSetup\"=dword:00000001"),
              std::string::npos);
  }
}

TEST_F(VirtualDisk, AQcow2WithABackingFileIsWrittenIntoItsTopLayer) {
  const long long offset = rawImage();
  const std::string base = dir_ + "/base.qcow2", top = dir_ + "/top.qcow2";
  convert({"-O", "qcow2"}, base);
  ASSERT_EQ(runTool({"qemu-img", "create", "-f", "qcow2", "-b", base, "-F", "qcow2", top}).status, 0);
  const auto baseBytes = readFile(base);
  ASSERT_EQ(reg({"init", "--from", top}).status, 0);
  change();
  const auto applied = reg({"apply", top});
  ASSERT_EQ(applied.status, 0) << applied.err;
  EXPECT_EQ(readFile(base), baseBytes);
  EXPECT_EQ(runTool({"qemu-img", "check", top}).status, 0);
  ASSERT_EQ(runTool({"qemu-img", "convert", "-O", "raw", top, dir_ + "/back.raw"}).status, 0);
  EXPECT_NE(imageFiles(dir_ + "/back.raw", offset)["MORVINNG.REG"].find("NoNetSetup"), std::string::npos);
}

TEST_F(VirtualDisk, WhatCannotBeWrittenSafelyIsRefusedSayingWhy) {
  rawImage();
  // A VirtualBox differencing image: QEMU makes none, so a dynamic one is
  // marked as one (image type 4 in its header).
  auto differencing = [&](const std::string& disk) {
    convert({"-O", "vdi"}, disk);
    std::string bytes = *readFile(disk);
    bytes[0x4C] = 4;
    platform::host::writeFileDurably(disk, bytes);
  };
  struct Case {
    const char* name;
    std::vector<std::string> options;
    const char* said;
  };
  const std::vector<Case> cases = {
      {"compressed.qcow2", {"-c", "-O", "qcow2"}, "compressed qcow2"},
      {"stream.vmdk", {"-O", "vmdk", "-o", "subformat=streamOptimized"}, "compressed VMware"},
      {"encrypted.qcow2",
       {"--object", "secret,id=s,data=haslo", "-O", "qcow2", "-o",
        "encrypt.format=luks,encrypt.key-secret=s"},
       "encrypted"},
      {"snapshot.vdi", {}, "VirtualBox differencing image"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string disk = dir_ + "/" + c.name;
    if (c.options.empty())
      differencing(disk);
    else
      convert(c.options, disk);
    const auto bytes = readFile(disk);
    const auto run = reg({"init", "--from", disk});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(machine_ + "/drive_c"));
    EXPECT_EQ(readFile(disk), bytes);
  }
}

// A process holding the disk: a plain open for writing (VirtualBox), or
// QEMU's own lock (qemu-io standing for a running QEMU).
pid_t hold(const std::string& disk, bool qemu, int* stdinOfChild) {
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) return -1;
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::dup2(pipeFds[0], 0);
    ::close(pipeFds[1]);
    const int quiet = ::open("/dev/null", O_WRONLY);
    ::dup2(quiet, 1);
    if (qemu) ::execlp("qemu-io", "qemu-io", "-f", "vdi", disk.c_str(), static_cast<char*>(nullptr));
    const int fd = ::open(disk.c_str(), O_RDWR);
    char c;
    while (fd >= 0 && ::read(0, &c, 1) > 0) {
    }
    ::_exit(0);
  }
  ::close(pipeFds[0]);
  *stdinOfChild = pipeFds[1];
  for (int i = 0; i < 100 && platform::win9x::diskHolders(disk).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  return pid;
}

TEST_F(VirtualDisk, ADiskInUseIsNeverWritten) {
  rawImage();
  const std::string disk = dir_ + "/disk.vdi";
  convert({"-O", "vdi"}, disk);
  ASSERT_EQ(reg({"init", "--from", disk}).status, 0);
  change();
  for (const bool qemu : {false, true}) {
    SCOPED_TRACE(qemu ? "QEMU's lock" : "open for writing");
    int childStdin = -1;
    const pid_t holder = hold(disk, qemu, &childStdin);
    ASSERT_GT(holder, 0);
    const auto bytes = readFile(disk);
    const auto run = reg({"apply", disk});
    ::close(childStdin);
    ::kill(holder, SIGTERM);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(run.status, 3);
    EXPECT_NE(run.err.find("Turn off the virtual machine"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find(qemu ? "qemu-io" : "win98_tests"), std::string::npos) << run.err;
    EXPECT_EQ(readFile(disk), bytes);
  }
}

TEST(ChangedRanges, SectorsThatDifferAreJoinedAndHolesInBothAreEqual) {
  const std::string dir = (fs::temp_directory_path() / "morvin-ranges").string();
  fs::create_directories(dir);
  auto sparse = [&](const std::string& name, const std::vector<std::pair<long, std::string>>& writes) {
    const std::string path = dir + "/" + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (const auto& [at, bytes] : writes)
      EXPECT_EQ(::pwrite(fd, bytes.data(), bytes.size(), at), long(bytes.size()));
    EXPECT_EQ(::ftruncate(fd, 8 << 20), 0);
    ::close(fd);
    return path;
  };
  const std::string a = sparse("a", {{0, std::string(512, 'x')}, {4 << 20, "old"}});
  const std::string b =
      sparse("b", {{0, std::string(512, 'x')}, {1024, "new"}, {1536, "more"}, {4 << 20, "new"}});
  using Ranges = std::vector<std::pair<std::uint64_t, std::uint64_t>>;
  EXPECT_EQ(platform::win9x::changedRanges(a, b), (Ranges{{1024, 1024}, {4 << 20, 512}}));
  EXPECT_EQ(platform::win9x::changedRanges(a, a), Ranges{});
  fs::remove_all(dir);
}

}  // namespace
}  // namespace morvin::test
