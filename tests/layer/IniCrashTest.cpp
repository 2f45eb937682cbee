// An INI write killed at any moment leaves the old file or the new one, whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include "registry/HostProfileStore.h"
#include "registry/TIniFile.h"

namespace {

namespace fs = std::filesystem;

TEST(IniCrash, AKilledWriterNeverLeavesAHalfWrittenFile) {
  std::string pattern = (fs::temp_directory_path() / "morvin-inicrash-XXXXXX").string();
  ASSERT_NE(mkdtemp(pattern.data()), nullptr);
  const std::string folder = pattern;
  const std::string file = folder + "/MsDos.sys";
  morvin::reg::HostProfileStore store([&](const std::string&) { return std::optional<std::string>(file); });
  const size_t size = 300000;  // big enough that a plain rewrite would be caught halfway
  auto content = [&](char c) { return "[Options]\r\nLogo=" + std::string(size, c) + "\r\n"; };
  morvin::TIniFile(store, "C:\\MsDos.sys").IniWriteText("Options", "Logo", std::string(size, 'a'));

  for (int attempt = 0; attempt < 5; ++attempt) {
    pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      morvin::TIniFile ini(store, "C:\\MsDos.sys");
      for (int i = 0;; ++i) ini.IniWriteText("Options", "Logo", std::string(size, i % 2 ? 'a' : 'b'));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(30 + 25 * attempt));
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);

    std::ifstream in(file, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    EXPECT_TRUE(s.str() == content('a') || s.str() == content('b'))
        << "attempt " << attempt << ": " << s.str().size() << " bytes";
  }
  // The next write clears what the killed writers left behind.
  morvin::TIniFile(store, "C:\\MsDos.sys").IniWriteText("Options", "Logo", "1");
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"MsDos.sys"});
  fs::remove_all(folder);
}

}  // namespace
