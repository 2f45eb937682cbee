// A small Windows 98 drive C: for the tests: hives written by the test
// writer and checked with libcreg's own tools, MSDOS.SYS, the Windows
// folder's bitmaps, a Start menu, a user profile, documents and a program;
// as a folder or as a disk image (mkfs.fat, mtools).
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "CregWriter.h"
#include "platform/Win9xTools.h"

namespace morvin::test {

// A test with a folder of its own (removed afterwards), a machine folder in
// it, and morvin-reg run on that machine.
class Win98CommandTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  platform::win9x::ToolRun reg(std::vector<std::string> args);

  std::string dir_, machine_;
};

// Names as a copied drive may spell them (a vfat mount shows short names in
// lower case), or as Windows shows them.
enum class Spelling { Windows, Lower };

struct Win98Drive {
  CregKey system, user, profileUser;  // SYSTEM.DAT, USER.DAT, Profiles\Jan\USER.DAT
  std::string msDosSys;

  Win98Drive();
  // Writes the drive into `folder`; the hives are checked by creginfo and
  // cregexport first (gtest failures when they do not read back).
  void writeFolder(const std::string& folder, Spelling spelling = Spelling::Windows) const;
};

// A disk image of `folder`: FAT16 or FAT32, with an MBR partition table
// (partition 1 at sector 2048) or bare. MSDOS.SYS is made read-only, hidden
// and system. The image is `size` bytes, sparse. Returns the volume's byte offset.
long long makeImage(const std::string& folder, const std::string& image, int fatBits, bool partitioned,
                    long long size = 48ll << 20);

// The volume's files: path -> bytes (folders as "/"-ended paths with no bytes).
std::map<std::string, std::string> imageFiles(const std::string& image, long long offset);
std::map<std::string, std::string> folderFiles(const std::string& folder);

// DOS attributes of a file of an image (mattrib), -1 when missing.
int imageAttributes(const std::string& image, long long offset, const std::string& path);

// Registry content as a comparable map: key path (upper case) -> value name
// -> (type, bytes); every key appears, also the empty ones.
using RegistryContent = std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>>;
RegistryContent contentOf(const CregKey& root, const std::string& below = "");

}  // namespace morvin::test
