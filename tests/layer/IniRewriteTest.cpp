// MsDos.sys is written back on every start with the values it already holds;
// such writes must not replace the file.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "registry/HostProfileStore.h"
#include "registry/TIniFile.h"

namespace {

namespace fs = std::filesystem;

ino_t inodeOf(const std::string& file) {
  struct stat st {};
  return ::stat(file.c_str(), &st) == 0 ? st.st_ino : 0;
}

TEST(IniRewrite, AWriteThatChangesNothingKeepsTheFileAndOneThatChangesReplacesIt) {
  std::string pattern = (fs::temp_directory_path() / "morvin-inirewrite-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::string file = pattern + "/MsDos.sys";
  std::ofstream(file, std::ios::binary) << "[Options]\r\nLogo=1\r\n;comment\r\n";
  morvin::reg::HostProfileStore store([&](const std::string&) { return std::optional<std::string>(file); });
  morvin::TIniFile ini(store, "C:\\MsDos.sys");
  const ino_t before = inodeOf(file);

  ini.IniWriteNumber("Options", "Logo", 1);
  ini.IniWriteText("options", "LOGO", "1");  // names match whatever their case
  EXPECT_EQ(inodeOf(file), before);

  ini.IniWriteNumber("Options", "Logo", 0);
  EXPECT_NE(inodeOf(file), before);
  EXPECT_EQ(ini.IniReadText("Options", "Logo", "?"), "0");
  fs::remove_all(pattern);
}

}  // namespace
