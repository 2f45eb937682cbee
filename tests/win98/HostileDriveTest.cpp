// morvin-reg init --from a hostile drive: names that could mean another place
// on the host, hives that loop, lie or end early, links out of the drive.
// Each is refused whole (exit status 2, naming what is wrong), leaves no
// machine and touches nothing beside it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>

#include "Win98Fixture.h"
#include "platform/HostFiles.h"

namespace morvin::test {
namespace {

namespace fs = std::filesystem;

// Gives the file of the image whose long name is `placeholder` the long name
// `wanted` (as long, at most 13 characters: one long-name entry), written
// straight into the directory entry, as no tool would write it.
void renameInImage(const std::string& image, const std::string& placeholder, const std::string& wanted) {
  ASSERT_EQ(placeholder.size(), wanted.size());
  auto bytes = *platform::host::readFile(image);
  std::string first;
  for (size_t i = 0; i < std::min<size_t>(5, placeholder.size()); ++i) first += {placeholder[i], '\0'};
  const size_t at = bytes.find(first);
  ASSERT_NE(at, std::string::npos) << placeholder;
  const size_t entry = at - 1;
  for (size_t i = 0; i < wanted.size(); ++i) {
    const size_t slot = i < 5 ? 1 + 2 * i : i < 11 ? 14 + 2 * (i - 5) : 28 + 2 * (i - 11);
    bytes[entry + slot] = wanted[i];
  }
  std::fstream(image, std::ios::binary | std::ios::in | std::ios::out).write(bytes.data(), bytes.size());
}

// A key table entry's link (16: first subkey, 20: next sibling) of key `index`
// set to key `to`, in a file written by the test writer.
void link(const std::string& hive, int index, int field, int to) {
  auto bytes = *platform::host::readFile(hive);
  const std::uint32_t offset = 32 + to * 28;
  for (int i = 0; i < 4; ++i) bytes[64 + index * 28 + field + i] = static_cast<char>(offset >> (8 * i));
  platform::host::writeFileDurably(hive, bytes);
}

std::set<std::string> listing(const std::string& folder, const std::string& except) {
  std::set<std::string> paths;
  for (auto it = fs::recursive_directory_iterator(folder); it != fs::end(it); ++it) {
    if (it->path() == except) {
      it.disable_recursion_pending();
      continue;
    }
    paths.insert(it->path().string());
  }
  return paths;
}

class Win98HostileDrive : public Win98CommandTest {};

TEST_F(Win98HostileDrive, IsRefusedWholeNamingWhatIsWrongAndTouchesNothingOutside) {
  const std::string system = "/WINDOWS/SYSTEM.DAT";
  // Keys in the test writer's order: the root, Software (1), Morvin (2), Typy (3), Pusty (4).
  struct Case {
    const char* name;
    std::function<std::string(const std::string& drive)> spoil;  // returns the source
    const char* said;
  } cases[] = {
      {"long name ../../escaped",
       [&](const std::string& d) {
         platform::host::writeFileDurably(d + "/Qq-Qq-escaped", "escaped");
         makeImage(d, d + ".img", 16, true);
         renameInImage(d + ".img", "Qq-Qq-escaped", "../../escaped");
         return d + ".img";
       },
       "../../escaped"},
      {"long name ../x",
       [&](const std::string& d) {
         platform::host::writeFileDurably(d + "/WINDOWS/Qq.x", "x");
         makeImage(d, d + ".img", 32, false);
         renameInImage(d + ".img", "Qq.x", "../x");
         return d + ".img";
       },
       "WINDOWS/../x"},
      {"long name holding /",
       [&](const std::string& d) {
         platform::host::writeFileDurably(d + "/Qqq", "x");
         makeImage(d, d + ".img", 16, false);
         renameInImage(d + ".img", "Qqq", "a/b");
         return d + ".img";
       },
       "a/b"},
      {"key below itself",
       [&](const std::string& d) {
         link(d + system, 1, 16, 1);
         return d;
       },
       "WINDOWS/SYSTEM.DAT: the hive is damaged (its keys form a loop)"},
      {"two keys each the other's next",
       [&](const std::string& d) {
         link(d + system, 4, 20, 3);  // Pusty's next sibling is Typy, whose next is Pusty
         return d;
       },
       "WINDOWS/SYSTEM.DAT: the hive is damaged (its keys form a loop)"},
      {"value size 0xFFFFFFFF",
       [&](const std::string& d) {
         auto bytes = *platform::host::readFile(d + system);
         // The data block's first key entry declares its size, then its used size.
         const size_t entry = bytes.find("RGDB") + 32;
         bytes.replace(entry, 4, "\xFF\xFF\xFF\xFF");
         bytes.replace(entry + 8, 4, "\xFF\xFF\xFF\xFF");
         platform::host::writeFileDurably(d + system, bytes);
         return d;
       },
       "WINDOWS/SYSTEM.DAT: the hive is damaged"},
      {"larger than any hive",
       [&](const std::string& d) {
         fs::resize_file(d + system, (64 << 20) + 1);
         return d;
       },
       "WINDOWS/SYSTEM.DAT: is larger than 64 MB"},
      {"SYSTEM.DAT a link leading out",
       [&](const std::string& d) {
         fs::rename(d + system, dir_ + "/elsewhere.dat");
         fs::create_symlink(dir_ + "/elsewhere.dat", d + system);
         return d;
       },
       "WINDOWS/SYSTEM.DAT: is a link"},
      {"a second .DEFAULT",
       [&](const std::string& d) {
         Win98Drive fixture;
         fixture.user.keys.push_back(CregKey{".default", {}, {}});
         platform::host::writeFileDurably(d + "/WINDOWS/USER.DAT", writeCreg(fixture.user));
         return d;
       },
       "WINDOWS/USER.DAT: the hive is damaged: \"\" holds two keys named \".default\""},
      {"key names differing after a NUL",
       [&](const std::string& d) {
         CregKey root;
         root.keys = {{std::string("a\0one", 5), {}, {}}, {std::string("a\0two", 5), {}, {}}};
         platform::host::writeFileDurably(d + system, writeCreg(root));
         return d;
       },
       "WINDOWS/SYSTEM.DAT: the hive is damaged: a name under \"\" holds a NUL byte"},
      {"a key name holding a backslash",
       [&](const std::string& d) {
         Win98Drive fixture;
         fixture.user.path(".DEFAULT").keys.push_back({"Software\\Microsoft\\Windows", {}, {}});
         platform::host::writeFileDurably(d + "/WINDOWS/USER.DAT", writeCreg(fixture.user));
         return d;
       },
       "WINDOWS/USER.DAT: the hive is damaged: the key name \"Software\\Microsoft\\Windows\" under "
       "\".DEFAULT\" holds a backslash"},
      {"SYSTEM.DAT and system.dat",
       [&](const std::string& d) {
         fs::copy_file(d + system, d + "/WINDOWS/system.dat");
         return d;
       },
       "refused as ambiguous"},
  };
  // Copies off the drive go under $TMPDIR, here inside the listed folder: one
  // left behind is a difference.
  fs::create_directories(dir_ + "/tmp");
  const std::string temporary = getenv("TMPDIR") ? getenv("TMPDIR") : "";
  setenv("TMPDIR", (dir_ + "/tmp").c_str(), 1);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string drive = dir_ + "/drive";
    fs::remove_all(drive);
    fs::remove(drive + ".img");
    fs::remove(dir_ + "/elsewhere.dat");
    Win98Drive().writeFolder(drive);
    const std::string source = c.spoil(drive);
    const auto before = listing(dir_, machine_);
    const auto run = reg({"init", "--from", source});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find(c.said), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(machine_)) << "a machine was left";
    EXPECT_EQ(listing(dir_, machine_), before);
  }
  if (temporary.empty())
    unsetenv("TMPDIR");
  else
    setenv("TMPDIR", temporary.c_str(), 1);
  // A hive cut short anywhere: in its header, its key table, its data block's
  // header, its last key.
  const std::string drive = dir_ + "/drive";
  for (const double share : {0.0, 0.3, 0.98, 0.9995}) {
    SCOPED_TRACE(share);
    fs::remove_all(drive);
    Win98Drive().writeFolder(drive);
    const auto bytes = *platform::host::readFile(drive + system);
    const size_t cut = share == 0.0 ? 20 : static_cast<size_t>(bytes.size() * share);
    platform::host::writeFileDurably(drive + system, bytes.substr(0, cut));
    const auto run = reg({"init", "--from", drive});
    EXPECT_EQ(run.status, 2) << run.err;
    EXPECT_NE(run.err.find("WINDOWS/SYSTEM.DAT"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(machine_));
  }
}

// Deeper than any real key tree: refused as such, without a crash.
TEST_F(Win98HostileDrive, AChainOfThirtyThousandKeysIsRefusedCleanly) {
  Win98Drive().writeFolder(dir_ + "/drive");
  CregKey root;
  CregKey* key = &root;
  for (int i = 0; i < 30000; ++i) key = &key->key("k");
  platform::host::writeFileDurably(dir_ + "/drive/WINDOWS/SYSTEM.DAT", writeCreg(root));
  const auto run = reg({"init", "--from", dir_ + "/drive"});
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(run.err.find("WINDOWS/SYSTEM.DAT: the hive is damaged (its keys lie deeper than"),
            std::string::npos)
      << run.err;
}

// mtools dying on an image (as on a looping folder) is said as such.
TEST_F(Win98HostileDrive, AnMtoolsCrashIsNamedAsOne) {
  Win98Drive().writeFolder(dir_ + "/drive");
  makeImage(dir_ + "/drive", dir_ + "/drive.img", 16, true);
  fs::create_directories(dir_ + "/bin");
  platform::host::writeFileDurably(dir_ + "/bin/mdir", "#!/bin/sh\nkill -SEGV $$\n");
  fs::permissions(dir_ + "/bin/mdir", fs::perms::owner_all);
  const std::string path = getenv("PATH");
  setenv("PATH", (dir_ + "/bin:" + path).c_str(), 1);
  const auto run = reg({"init", "--from", dir_ + "/drive.img"});
  setenv("PATH", path.c_str(), 1);
  EXPECT_EQ(run.status, 2) << run.err;
  EXPECT_NE(run.err.find("drive.img: cannot be read (mtools stopped on signal 11"), std::string::npos)
      << run.err;
  EXPECT_FALSE(fs::exists(machine_));
}

}  // namespace
}  // namespace morvin::test
