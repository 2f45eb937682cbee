// What a drive offers before a machine is made from it: the FAT partitions of
// an image (as a raw file and as a VirtualBox disk), the user profiles and
// the computer's name of each; and partition tables that make no sense.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/Win9xChoices.h"
#include "platform/Win9xTools.h"
#include "tests/win98/Win98Fixture.h"

namespace morvin::platform::win9x {
void PrintTo(const Partition& p, std::ostream* out) {
  *out << "partition " << p.number << " at " << p.offset << ", " << p.bytes << " bytes, FAT" << p.fatBits
       << " \"" << p.label << '"';
}
}  // namespace morvin::platform::win9x

namespace morvin::test {
namespace {

namespace fs = std::filesystem;
using platform::win9x::DriveError;
using platform::win9x::runTool;

constexpr long long kMB = 1 << 20;

std::string le32(std::uint32_t v) {
  return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF), static_cast<char>(v >> 16 & 0xFF),
          static_cast<char>(v >> 24)};
}

// An MBR with the given entries (type, first sector, sectors) in slots 1-4.
std::string mbr(const std::vector<std::tuple<int, std::uint32_t, std::uint32_t>>& entries) {
  std::string sector(512, '\0');
  for (size_t i = 0; i < entries.size(); ++i) {
    const auto [type, start, count] = entries[i];
    sector[446 + i * 16 + 4] = static_cast<char>(type);
    sector.replace(446 + i * 16 + 8, 4, le32(start));
    sector.replace(446 + i * 16 + 12, 4, le32(count));
  }
  sector[510] = '\x55';
  sector[511] = '\xAA';
  return sector;
}

void writeAt(const std::string& file, long long at, const std::string& bytes) {
  std::fstream f(file, std::ios::binary | std::ios::in | std::ios::out);
  f.seekp(at);
  f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

void formatAt(const std::string& image, int fatBits, const char* label, long long sector, long long bytes) {
  const auto made = runTool({"mkfs.fat", "-F", std::to_string(fatBits), "-n", label, "--offset",
                             std::to_string(sector), image, std::to_string(bytes / 1024)});
  ASSERT_EQ(made.status, 0) << made.err;
}

class DriveChoicesTest : public Win98CommandTest {
 protected:
  // The fixture's drive with a second profile, Anna's, and the computer's name when `named`.
  std::string writeDrive(const std::string& folder, bool named) {
    Win98Drive drive;
    if (named) drive.system.path(platform::win9x::kComputerNameKey).values = {{"ComputerName", 1, "DOMOWY"}};
    drive.writeFolder(folder);
    CregKey anna;
    anna.path("Software\\Anna").values = {{"Kto", 1, "Anna Nowak"}};
    fs::create_directories(folder + "/WINDOWS/Profiles/Anna");
    std::ofstream(folder + "/WINDOWS/Profiles/Anna/USER.DAT", std::ios::binary) << writeCreg(anna);
    fs::create_directories(folder + "/WINDOWS/Profiles/Puste");  // no USER.DAT: not a profile
    return folder;
  }

  // Partition 1: 16 MB FAT16 "DANE" without Windows; partition 2: 48 MB FAT32 with the drive.
  std::string twoPartitions(const std::string& image, const std::string& drive) {
    std::ofstream(image, std::ios::binary).close();
    fs::resize_file(image, 2048 * 512 + 16 * kMB + 48 * kMB);
    writeAt(image, 0, mbr({{0x06, 2048, 16 * kMB / 512}, {0x0C, 2048 + 16 * kMB / 512, 48 * kMB / 512}}));
    formatAt(image, 16, "DANE", 2048, 16 * kMB);
    formatAt(image, 32, "WIN98", 2048 + 16 * kMB / 512, 48 * kMB);
    std::vector<std::string> copy = {"mcopy", "-s", "-Q", "-i",
                                     image + "@@" + std::to_string(2048 * 512 + 16 * kMB)};
    for (const auto& entry : fs::directory_iterator(drive)) copy.push_back(entry.path().string());
    copy.push_back("::/");
    const auto copied = runTool(copy, {"MTOOLS_SKIP_CHECK=1", "LC_ALL=C.UTF-8", "MTOOLSRC=/dev/null"});
    EXPECT_EQ(copied.status, 0) << copied.err;
    return image;
  }
};

TEST_F(DriveChoicesTest, PartitionsProfilesAndTheComputerNameOfEachKindOfSource) {
  const std::string drive = writeDrive(dir_ + "/drive", true);
  const std::string raw = twoPartitions(dir_ + "/two.img", drive);
  ASSERT_EQ(runTool({"qemu-img", "convert", "-O", "vdi", raw, dir_ + "/two.vdi"}).status, 0);
  makeImage(writeDrive(dir_ + "/plain", false), dir_ + "/bare.img", 16, false);

  using platform::win9x::Partition;
  struct Volume {
    Partition partition;
    bool windows;
    std::vector<std::string> profiles;
    std::optional<std::string> computerName;
  };
  const Volume data{{1, 2048 * 512, 16 * kMB, 16, "DANE"}, false, {}, std::nullopt};
  const Volume windows{{2, 2048 * 512 + 16 * kMB, 48 * kMB, 32, "WIN98"}, true, {"Anna", "Jan"}, "DOMOWY"};
  const Volume whole{{}, true, {"Anna", "Jan"}, "DOMOWY"};
  struct Case {
    std::string source;
    std::vector<Volume> volumes;
    std::size_t preferred;
  } cases[] = {{drive, {whole}, 0},
               {raw, {data, windows}, 1},
               {dir_ + "/two.vdi", {data, windows}, 1},
               {dir_ + "/bare.img", {{{0, 0, 0, 0, ""}, true, {"Anna", "Jan"}, std::nullopt}}, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.source);
    const auto choices = platform::win9x::surveyDrive(c.source);
    ASSERT_EQ(choices.volumes.size(), c.volumes.size());
    for (size_t i = 0; i < c.volumes.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(choices.volumes[i].partition, c.volumes[i].partition);
      EXPECT_EQ(choices.volumes[i].windows, c.volumes[i].windows);
      EXPECT_EQ(choices.volumes[i].profiles, c.volumes[i].profiles);
      EXPECT_EQ(choices.volumes[i].computerName, c.volumes[i].computerName);
    }
    EXPECT_EQ(choices.preferred, c.preferred);
    // The drive kept for the import is the source itself, open on the preferred volume.
    ASSERT_NE(choices.opened, nullptr);
    EXPECT_EQ(choices.opened->source(), c.source);
    EXPECT_NE(choices.opened->attributes("WINDOWS/SYSTEM.DAT"), -1);
  }
}

TEST_F(DriveChoicesTest, APartitionTableThatMakesNoSenseIsRefusedByName) {
  const std::uint32_t sectors = 8192;  // a 4 MB image
  struct Case {
    const char* name;
    std::string table;
    const char* said;
  } cases[] = {
      {"too short", "\x55\xAA", "too short"},
      {"no signature", std::string(512, '\0'), "holds no FAT volume"},
      {"past the end", mbr({{0x06, 2048, sectors}}), "partition 1 reaches past the end of the image"},
      {"sector 0", mbr({{0x0C, 0, 100}}), "partition 1 begins in the partition table's own sector"},
      {"no sectors", mbr({{0x06, 2048, 0}}), "partition 1 holds no sectors"},
      {"overlapping", mbr({{0x06, 2048, 4096}, {0x0B, 4000, 1000}}), "partition 2 overlaps partition 1"},
      {"no FAT volume in it", mbr({{0x06, 2048, 4096}}), "holds no FAT volume"},
      {"no FAT type", mbr({{0x83, 2048, 4096}}), "holds no FAT volume"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string image = dir_ + "/bad.img";
    fs::remove(image);
    std::ofstream(image, std::ios::binary) << c.table;
    if (c.table.size() == 512) fs::resize_file(image, sectors * 512ull);
    try {
      platform::win9x::listPartitions(image);
      ADD_FAILURE() << "accepted";
    } catch (const DriveError& e) {
      EXPECT_EQ(e.fault(), platform::win9x::Fault::BadInput);
      EXPECT_NE(std::string(e.what()).find(c.said), std::string::npos) << e.what();
    }
  }
}

}  // namespace
}  // namespace morvin::test
