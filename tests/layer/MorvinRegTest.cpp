// morvin-reg end to end: the built program against a throw-away machine.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "registry/Cp1250.h"

namespace {

namespace fs = std::filesystem;

struct Result {
  int code = -1;
  std::string out, err;
};

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

class MorvinReg : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "morvin-reg-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    machine_ = dir_ + "/machine";
  }
  void TearDown() override { fs::remove_all(dir_); }

  // Runs the program with `args` (and `env`, "NAME=value" entries) and waits for it.
  Result run(std::vector<std::string> args, std::vector<std::string> env = {}) {
    pid_t pid = start(args, env);
    int status = 0;
    waitpid(pid, &status, 0);
    Result r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    r.out = readFile(dir_ + "/stdout");
    r.err = readFile(dir_ + "/stderr");
    return r;
  }
  Result reg(std::vector<std::string> args) {
    args.insert(args.begin(), {"--machine", machine_});
    return run(args);
  }
  pid_t start(const std::vector<std::string>& args, const std::vector<std::string>& env) {
    pid_t pid = fork();
    if (pid == 0) {
      freopen((dir_ + "/stdout").c_str(), "wb", stdout);
      freopen((dir_ + "/stderr").c_str(), "wb", stderr);
      unsetenv("MORVIN_MACHINE");
      for (const auto& e : env) putenv(const_cast<char*>(e.c_str()));
      std::vector<char*> argv{const_cast<char*>(MORVIN_REG_PROGRAM)};
      for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(MORVIN_REG_PROGRAM, argv.data());
      _exit(127);
    }
    return pid;
  }
  void init() {
    Result r = reg({"init"});
    ASSERT_EQ(r.code, 0) << r.err;
  }

  std::string dir_, machine_;
};

TEST_F(MorvinReg, InitCreatesTheDefaultMachineOnceAndSaysWhere) {
  Result r = reg({"init"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find(machine_), std::string::npos) << r.out;
  EXPECT_TRUE(fs::exists(machine_ + "/drive_c/WINDOWS/USER.DAT"));

  writeFile(dir_ + "/mark.reg",
            "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Morvin]\r\n\"Znak\"=dword:00000007\r\n");
  ASSERT_EQ(reg({"import", dir_ + "/mark.reg"}).code, 0);
  r = reg({"init"});
  EXPECT_EQ(r.code, 0);
  EXPECT_NE(r.out.find(machine_), std::string::npos);
  r = reg({"query", "HKCU\\Software\\Morvin", "Znak"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Znak    REG_DWORD    0x7"), std::string::npos) << r.out;

  // Without --machine the folder comes from MORVIN_MACHINE.
  std::string other = dir_ + "/other";
  r = run({"init"}, {"MORVIN_MACHINE=" + other});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find(other), std::string::npos);
  EXPECT_TRUE(fs::exists(other + "/drive_c/WINDOWS/SYSTEM.DAT"));
}

TEST_F(MorvinReg, InitInEnglishMakesAnEnglishWindows98) {
  Result r = reg({"init", "--lang", "en"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_TRUE(fs::is_directory(machine_ + "/drive_c/WINDOWS/Start Menu/Programs/StartUp"));
  r = reg({"query", "HKCU\\Control Panel\\International", "Locale"});
  EXPECT_NE(r.out.find("00000409"), std::string::npos) << r.out;
  EXPECT_EQ(reg({"init", "--lang", "de"}).code, 2);
}

TEST_F(MorvinReg, ImportExportAndQueryRoundTripPolishText) {
  init();
  const std::string file = morvin::cp1250::fromUtf8(
      "REGEDIT4\r\n\r\n"
      "[HKEY_CURRENT_USER\\Software\\Próba]\r\n"
      "\"Napis\"=\"Zażółć gęślą jaźń\"\r\n"
      "\"Liczba\"=dword:0000002a\r\n"
      "\"Bajty\"=hex:de,ad\r\n"
      "\r\n"
      "[HKEY_CURRENT_USER\\Software\\Próba\\Pod]\r\n"
      "@=hex(1):41\r\n"
      "\r\n");
  writeFile(dir_ + "/in.reg", file);
  Result r = reg({"import", dir_ + "/in.reg"});
  ASSERT_EQ(r.code, 0) << r.err;

  r = reg({"export", "HKCU\\Software\\Próba", dir_ + "/out.reg"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(readFile(dir_ + "/out.reg"), file);
  r = reg({"export", "HKEY_CURRENT_USER\\Software\\Próba"});
  EXPECT_EQ(r.out, file);

  r = reg({"query", "HKCU\\Software\\Próba"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out,
            "HKEY_CURRENT_USER\\Software\\Próba\n"
            "    Napis    REG_SZ    Zażółć gęślą jaźń\n"
            "    Liczba    REG_DWORD    0x2a\n"
            "    Bajty    REG_BINARY    DEAD\n"
            "\n"
            "HKEY_CURRENT_USER\\Software\\Próba\\Pod\n");
  r = reg({"query", "HKCU\\Software\\Próba\\Pod", ""});
  EXPECT_EQ(r.out, "HKEY_CURRENT_USER\\Software\\Próba\\Pod\n    (Default)    REG_SZ    A\n");
}

TEST_F(MorvinReg, ExportOfTheWholeUserHiveIsCrLfRegedit4) {
  init();
  Result r = reg({"export", "HKEY_CURRENT_USER"});
  ASSERT_EQ(r.code, 0) << r.err;
  EXPECT_EQ(r.out.rfind("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n", 0), 0u) << r.out.substr(0, 80);
  EXPECT_NE(r.out.find("[HKEY_CURRENT_USER\\Control Panel\\Desktop]\r\n"), std::string::npos);
  for (size_t at = r.out.find('\n'); at != std::string::npos; at = r.out.find('\n', at + 1))
    ASSERT_EQ(r.out[at - 1], '\r') << "bare line feed at byte " << at;
}

TEST_F(MorvinReg, ExitCodesTellWhatWentWrong) {
  Result r = reg({});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("usage: morvin-reg"), std::string::npos);
  EXPECT_EQ(reg({"frobnicate"}).code, 2);
  EXPECT_EQ(reg({"query"}).code, 2);
  EXPECT_EQ(reg({"export", "HKCU", "a", "b"}).code, 2);
  EXPECT_EQ(run({"--bogus", "init"}).code, 2);
  EXPECT_EQ(run({"--help"}).code, 0);

  r = reg({"query", "HKCU\\Software"});
  EXPECT_EQ(r.code, 3);  // no machine yet
  EXPECT_NE(r.err.find("morvin-reg init"), std::string::npos);

  init();
  EXPECT_EQ(reg({"query", "HKXX\\Software"}).code, 2);
  EXPECT_EQ(reg({"query", "HKCU\\Software\\☃"}).code, 2);  // no cp1250 character
  EXPECT_EQ(reg({"query", "HKCU\\Software\\Nie ma takiego"}).code, 1);
  EXPECT_EQ(reg({"query", "HKCU\\Software", "Nie ma takiej"}).code, 1);
  EXPECT_EQ(reg({"export", "HKLM\\Nie ma"}).code, 1);
  EXPECT_EQ(reg({"import", dir_ + "/missing.reg"}).code, 2);
  writeFile(dir_ + "/locked.reg", "old");
  chmod((dir_ + "/locked.reg").c_str(), 0444);
  EXPECT_EQ(reg({"export", "HKCU\\Software", dir_ + "/locked.reg"}).code, 3);
  EXPECT_EQ(readFile(dir_ + "/locked.reg"), "old");

  writeFile(dir_ + "/bad.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Zły]\r\n\"a\"=dword:xyz\r\n");
  r = reg({"import", dir_ + "/bad.reg"});
  EXPECT_EQ(r.code, 2);
  EXPECT_NE(r.err.find("line 3"), std::string::npos) << r.err;
  EXPECT_EQ(reg({"query", "HKCU\\Software\\Zły"}).code, 1);  // nothing was written
}

// The windows say a hive file's failure in the program's language; morvin-reg in English.
TEST_F(MorvinReg, AnImportIntoAMachineWhoseHiveIsNoRegistryFileSaysSoInEnglish) {
  init();
  const std::string hive = machine_ + "/drive_c/WINDOWS/USER.DAT";
  writeFile(hive, "To nie jest plik rejestru, tylko tekst.\n");
  writeFile(dir_ + "/tweak.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tweak]\r\n\"a\"=\"1\"\r\n");
  const Result r = reg({"import", dir_ + "/tweak.reg"});
  EXPECT_EQ(r.code, 3);
  EXPECT_EQ(r.err, "morvin-reg: The file " + hive + " is not a registry file\n");
}

TEST_F(MorvinReg, SkipBadImportsEveryValidValueAndNamesTheLinesItLeftOut) {
  init();
  writeFile(dir_ + "/tweak.reg",
            "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tweak]\r\n\"a\"=\"1\"\r\n\"x\"=00000001\r\n"
            "\"b\"=dword:00000002\r\n");
  Result r = reg({"import", dir_ + "/tweak.reg"});
  EXPECT_EQ(r.code, 2);  // all or nothing unless asked
  EXPECT_EQ(reg({"query", "HKCU\\Software\\Tweak"}).code, 1);

  r = reg({"import", "--skip-bad", dir_ + "/tweak.reg"});
  EXPECT_EQ(r.code, 5) << r.err;
  EXPECT_NE(r.err.find("line 4 skipped"), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("\"x\"=00000001"), std::string::npos) << r.err;
  r = reg({"query", "HKCU\\Software\\Tweak"});
  EXPECT_EQ(r.out, "HKEY_CURRENT_USER\\Software\\Tweak\n    a    REG_SZ    1\n    b    REG_DWORD    0x2\n");

  writeFile(dir_ + "/good.reg", "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Tweak]\r\n\"c\"=\"3\"\r\n");
  EXPECT_EQ(reg({"import", "--skip-bad", dir_ + "/good.reg"}).code, 0);
}

// One parser for every command: options before or after the operands, as
// "--opt value" or "--opt=value", and the machine before or after the command.
// Bad usage is exit status 2 with the usage text; a command that ran and
// failed says why without it.
TEST_F(MorvinReg, EveryCommandTakesItsOptionsInEitherOrder) {
  init();
  const std::string good = dir_ + "/good.reg", bad = dir_ + "/bad.reg", out = dir_ + "/out.reg";
  const std::string msdos = dir_ + "/msdos.sys", drive = dir_ + "/no-drive";
  writeFile(good, "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Opcje]\r\n\"a\"=\"1\"\r\n");
  writeFile(bad, "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Opcje]\r\n\"x\"=0001\r\n");
  const std::string key = "HKCU\\Software\\Opcje";
  const std::string m = "--machine=" + machine_;
  struct Row {
    std::vector<std::string> args;
    int code;
    bool usage;  // the usage text follows the problem
  };
  const Row rows[] = {
      {{m, "import", good, "--skip-bad"}, 0, false},
      {{m, "import", "--skip-bad", good}, 0, false},
      {{"import", bad, "--skip-bad", "--machine", machine_}, 5, false},
      {{m, "import"}, 2, true},
      {{m, "import", good, bad}, 2, true},
      {{m, "export", key, out}, 0, false},
      {{m, "export", key, out, "extra"}, 2, true},
      {{"query", key, "a", m}, 0, false},  // the imports above arrived
      {{m, "query", key, "--bogus"}, 2, true},
      {{m, "history", "--limit=1"}, 0, false},
      {{m, "history", "--limit", "1"}, 0, false},
      {{m, "history", "--limit=0"}, 2, true},
      {{m, "history", "--limit"}, 2, true},
      {{m, "changes", out, "--msdos", msdos}, 0, false},
      {{m, "changes", "--msdos=" + msdos, out}, 0, false},
      {{m, "changes", out, "--msdos="}, 2, true},
      {{m, "undo", "--force", "--last=1"}, 0, false},
      {{m, "undo", "--last", "1", "--force"}, 0, false},
      {{m, "undo"}, 2, true},
      {{m, "undo", "--all", "--last", "1"}, 2, true},
      {{m, "undo", "0"}, 2, true},
      {{m, "apply", drive, "--dry-run", "--partition=2"}, 3, false},
      {{m, "apply", "--partition", "2", "--dry-run", drive}, 3, false},
      {{m, "apply", drive, "--partition=5"}, 2, true},
      {{m, "apply", "--dry-run"}, 2, true},
      {{m, "init", "--user", "Jan"}, 2, true},
      {{m, "init", "--partition=1", "--from=" + drive, "--replace"}, 2, false},
      {{m, "init", "--from", drive, "--user="}, 2, true},
      {{"--machine=", "init"}, 2, true},
      {{m, "frobnicate"}, 2, true},
      {{"--version"}, 0, false},
  };
  for (const Row& row : rows) {
    std::string shown;
    for (const std::string& a : row.args) shown += " " + a;
    const Result r = run(row.args);
    EXPECT_EQ(r.code, row.code) << shown << "\n" << r.err;
    EXPECT_EQ(r.err.find("usage: morvin-reg") != std::string::npos, row.usage) << shown << "\n" << r.err;
  }
  EXPECT_EQ(run({"--version"}).out, "morvin-reg " MORVIN_VERSION "\n");
}

// Without user profiles HKEY_USERS\.DEFAULT and HKEY_CURRENT_USER are one key.
TEST_F(MorvinReg, TheDefaultUserIsTheCurrentUser) {
  init();
  writeFile(dir_ + "/default.reg",
            "REGEDIT4\r\n[HKEY_USERS\\.DEFAULT\\Software\\X]\r\n\"Przez\"=dword:00000001\r\n");
  Result r = reg({"import", dir_ + "/default.reg"});
  ASSERT_EQ(r.code, 0) << r.err;
  r = reg({"query", "HKEY_CURRENT_USER\\Software\\X", "Przez"});
  EXPECT_EQ(r.code, 0) << r.err;
  EXPECT_NE(r.out.find("Przez    REG_DWORD    0x1"), std::string::npos) << r.out;
  r = reg({"export", "HKU\\.DEFAULT\\Software\\X"});
  EXPECT_EQ(r.out, "REGEDIT4\r\n\r\n[HKEY_USERS\\.DEFAULT\\Software\\X]\r\n\"Przez\"=dword:00000001\r\n\r\n");
}

TEST_F(MorvinReg, AReadOnlyHiveRefusesTheImportAndKeepsTheOtherHiveUnchanged) {
  init();
  writeFile(dir_ + "/both.reg",
            "REGEDIT4\r\n[HKEY_CURRENT_USER\\Software\\Obie]\r\n\"a\"=\"1\"\r\n"
            "[HKEY_LOCAL_MACHINE\\Software\\Obie]\r\n\"b\"=\"2\"\r\n");
  Result r = run({"--machine", machine_, "import", dir_ + "/both.reg"}, {"MORVIN_READONLY_HIVES=HKLM"});
  EXPECT_EQ(r.code, 3) << r.err;
  EXPECT_NE(r.err.find("access denied"), std::string::npos) << r.err;
  EXPECT_EQ(reg({"query", "HKCU\\Software\\Obie"}).code, 1);
}

TEST_F(MorvinReg, AKilledImportLeavesAllOrNothing) {
  init();
  for (int attempt = 0; attempt < 4; ++attempt) {
    const std::string key = "Software\\Duzy" + std::to_string(attempt);
    std::string file = "REGEDIT4\r\n";
    const int keys = 200, values = 100;
    for (int k = 0; k < keys; ++k) {
      file += "[HKEY_CURRENT_USER\\" + key + "\\K" + std::to_string(k) + "]\r\n";
      for (int v = 0; v < values; ++v) file += "\"V" + std::to_string(v) + "\"=dword:00000001\r\n";
    }
    const std::string path = dir_ + "/big" + std::to_string(attempt) + ".reg";
    writeFile(path, file);

    pid_t pid = start({"--machine", machine_, "import", path}, {});
    std::this_thread::sleep_for(std::chrono::milliseconds(20 + 40 * attempt));
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);

    Result r = reg({"export", "HKCU\\" + key});
    if (r.code == 1) continue;  // nothing arrived
    ASSERT_EQ(r.code, 0) << r.err;
    size_t count = 0;
    for (size_t at = r.out.find("=dword:"); at != std::string::npos; at = r.out.find("=dword:", at + 1))
      ++count;
    EXPECT_EQ(count, static_cast<size_t>(keys * values)) << "attempt " << attempt;
  }
}

}  // namespace
