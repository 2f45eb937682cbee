// Provisioning of the default machine: complete, never over an existing one,
// never half done.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/DefaultMachine.h"
#include "platform/DriveMapping.h"
#include "platform/HostFileAttributes.h"
#include "platform/HostFiles.h"
#include "platform/Machine.h"
#include "platform/MachineState.h"
#include "platform/SystemLanguage.h"
#include "registry/HiveStore.h"
#include "registry/RegFile.h"

namespace morvin::platform {
namespace {

namespace fs = std::filesystem;

const std::string kComputerNameKey = "System\\CurrentControlSet\\Control\\ComputerName\\ComputerName";

std::string computerName(reg::RegistryStore& store) {
  reg::Key key = 0;
  if (store.openKey(reg::kLocalMachine, kComputerNameKey, reg::access::Read, &key) != reg::err::Success)
    return {};
  std::string data(64, '\0');
  std::uint32_t type = 0, size = 64;
  const reg::Status status =
      store.queryValue(key, "ComputerName", &type, reinterpret_cast<std::uint8_t*>(data.data()), &size);
  store.closeKey(key);
  return status == reg::err::Success ? data.substr(0, data.find('\0')) : std::string();
}

bool hasLeftovers(const std::string& folder) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (entry.path().filename().string().starts_with(".drive_c")) return true;
  return false;
}

class ProvisioningTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = fs::temp_directory_path().string() + "/morvin-provision-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    base_ = pattern;
    folder_ = base_ + "/machine";
  }
  void TearDown() override {
    closeCurrentMachine();
    std::error_code ec;
    fs::remove_all(base_, ec);
  }

  // Whether the machine folder holds a whole machine (hives with the default
  // keys and the boot file), checked without making it current.
  bool isComplete(const std::string& folder) {
    const Machine machine(folder);
    const auto bootFile = host::readFile(machine.driveC() + "/MsDos.sys");
    const auto expected = host::readFile(defaultMsDosSysFor(defaultMachineRegFile()));
    if (!bootFile || !expected || bootFile->size() != expected->size()) return false;
    reg::HiveStore store(machine.systemDat(), machine.userDat(), true, true);
    return computerName(store) == "KOMPUTER";
  }

  std::string base_;
  std::string folder_;
};

TEST_F(ProvisioningTest, AFreshMachineHoldsTheDefaultRegistryFoldersAndBootFile) {
  ASSERT_TRUE(provisionMachine(folder_, defaultMachineRegFile()));
  const Machine machine(folder_);
  EXPECT_TRUE(machine.exists());
  EXPECT_TRUE(fs::is_regular_file(machine.systemDat()));
  EXPECT_TRUE(fs::is_regular_file(machine.userDat()));
  EXPECT_FALSE(hasLeftovers(folder_));

  const std::string bootFile = *host::readFile(machine.driveC() + "/MsDos.sys");
  EXPECT_GT(bootFile.size(), 1024u);  // Windows refuses a shorter one
  EXPECT_NE(bootFile.find("[Options]\r\nBootMulti=1\r\nBootGUI=1\r\n"), std::string::npos);
  EXPECT_NE(bootFile.find("WinDir=C:\\WINDOWS\r\n"), std::string::npos);
  EXPECT_NE(bootFile.find("WinVer=4.10.2222\r\n"), std::string::npos);
  for (size_t i = bootFile.find('\n'); i != std::string::npos; i = bootFile.find('\n', i + 1))
    ASSERT_EQ(bootFile[i - 1], '\r') << "line end at byte " << i;
  EXPECT_TRUE(bootFile.ends_with("\r\n"));
  EXPECT_EQ(getHostFileAttributes(machine.driveC() + "/MsDos.sys"),
            attr::ReadOnly | attr::Hidden | attr::System);

  openMachine(folder_);
  EXPECT_EQ(computerName(reg::currentStore()), "KOMPUTER");
  // Every shell folder the registry names exists on the drive.
  reg::RegistryStore& store = reg::currentStore();
  reg::Key key = 0;
  ASSERT_EQ(store.openKey(reg::kCurrentUser,
                          "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
                          reg::access::Read, &key),
            reg::err::Success);
  std::string name, data;
  int folders = 0;
  for (std::uint32_t i = 0; store.enumValue(key, i, &name, nullptr, &data) == reg::err::Success;
       ++i, ++folders) {
    const auto hostPath = toHostPath(data.substr(0, data.find('\0')));
    ASSERT_TRUE(hostPath) << name;
    EXPECT_TRUE(fs::is_directory(*hostPath)) << name << " -> " << *hostPath;
  }
  store.closeKey(key);
  EXPECT_GE(folders, 15);
  EXPECT_TRUE(fs::is_directory(*toHostPath("C:\\WINDOWS\\Web\\Wallpaper")));
  EXPECT_EQ(*toHostPath("C:\\WINDOWS\\Menu Start\\Programy\\Autostart"),
            machine.driveC() + "/WINDOWS/Menu Start/Programy/Autostart");
}

TEST_F(ProvisioningTest, AnExistingMachineIsNeverOverwritten) {
  ASSERT_TRUE(provisionMachine(folder_, defaultMachineRegFile()));
  {
    reg::HiveStore store(Machine(folder_).systemDat(), Machine(folder_).userDat());
    reg::Key key = 0;
    ASSERT_EQ(store.openKey(reg::kLocalMachine, kComputerNameKey, reg::access::AllAccess, &key),
              reg::err::Success);
    const std::string name = std::string("ZMIENIONY") + '\0';
    store.setValue(key, "ComputerName", reg::type::Sz, reinterpret_cast<const std::uint8_t*>(name.data()),
                   static_cast<std::uint32_t>(name.size()));
    store.closeKey(key);
  }
  EXPECT_FALSE(provisionMachine(folder_, defaultMachineRegFile()));
  reg::HiveStore store(Machine(folder_).systemDat(), Machine(folder_).userDat(), true, true);
  EXPECT_EQ(computerName(store), "ZMIENIONY");

  // A drive folder of any content counts as a machine.
  const std::string other = base_ + "/other";
  fs::create_directories(other + "/drive_c");
  std::ofstream(other + "/drive_c/moje.txt") << "dane";
  EXPECT_FALSE(provisionMachine(other, defaultMachineRegFile()));
  EXPECT_EQ(*host::readFile(other + "/drive_c/moje.txt"), "dane");
  EXPECT_FALSE(fs::exists(other + "/drive_c/WINDOWS"));
}

TEST_F(ProvisioningTest, AnUnreadableOrMalformedDefaultLeavesNoMachine) {
  EXPECT_THROW(provisionMachine(folder_, base_ + "/brak/default.reg"), EFOpenError);
  EXPECT_FALSE(Machine(folder_).exists());

  const std::string data = base_ + "/data";
  fs::create_directories(data);
  std::ofstream(data + "/default.reg")
      << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\A]\r\n\"x\"=dword:zz\r\n";
  std::ofstream(data + "/MsDos.sys") << "[Options]\r\n";
  EXPECT_THROW(provisionMachine(folder_, data + "/default.reg"), reg::RegFileError);
  EXPECT_FALSE(Machine(folder_).exists());
  EXPECT_FALSE(hasLeftovers(folder_));

  // The boot file must be there too.
  fs::remove(data + "/MsDos.sys");
  std::ofstream(data + "/default.reg") << "REGEDIT4\r\n";
  EXPECT_THROW(provisionMachine(folder_, data + "/default.reg"), EFOpenError);
  EXPECT_FALSE(Machine(folder_).exists());
}

TEST_F(ProvisioningTest, AKilledProvisioningLeavesNoHalfMachineAndTheNextOneCompletes) {
  // Kill moments spread over a whole provisioning, so some land mid-build and
  // some after the machine is in place.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(provisionMachine(base_ + "/timed", defaultMachineRegFile()));
  const auto duration = std::chrono::steady_clock::now() - start;
  constexpr int kRounds = 12;
  int interrupted = 0, finished = 0;
  for (int round = 0; round < kRounds; ++round) {
    const std::string folder = base_ + "/killed" + std::to_string(round);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        provisionMachine(folder, defaultMachineRegFile());
      } catch (...) {
        ::_exit(2);
      }
      ::_exit(0);
    }
    std::this_thread::sleep_for(duration * (round + 1) / kRounds * 5 / 4);
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);

    const bool exists = Machine(folder).exists();
    if (exists) {
      ++finished;
      EXPECT_TRUE(isComplete(folder)) << "round " << round;
    } else {
      interrupted += hasLeftovers(folder) ? 1 : 0;
      EXPECT_TRUE(provisionMachine(folder, defaultMachineRegFile())) << "round " << round;
      EXPECT_TRUE(isComplete(folder)) << "round " << round;
    }
    EXPECT_FALSE(hasLeftovers(folder)) << "round " << round;
  }
  RecordProperty("interrupted_builds", interrupted);
  RecordProperty("finished_builds", finished);
}

TEST_F(ProvisioningTest, TwoProcessesProvisioningAtOnceBuildOneMachine) {
  pid_t children[2];
  for (pid_t& child : children) {
    child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      try {
        ::_exit(provisionMachine(folder_, defaultMachineRegFile()) ? 10 : 11);
      } catch (...) {
        ::_exit(12);
      }
    }
  }
  int provisioned = 0;
  for (pid_t child : children) {
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    ASSERT_NE(WEXITSTATUS(status), 12);
    provisioned += WEXITSTATUS(status) == 10 ? 1 : 0;
  }
  EXPECT_EQ(provisioned, 1);
  EXPECT_TRUE(isComplete(folder_));
  EXPECT_FALSE(hasLeftovers(folder_));
}

// The English machine beside the Polish one: the same build, the names and
// locale of an English Windows 98.
TEST_F(ProvisioningTest, AnEnglishMachineHasEnglishFoldersLocaleAndCodePages) {
  ASSERT_TRUE(provisionMachine(folder_, defaultMachineRegFile(SystemLanguage::English)));
  openMachine(folder_);
  const std::string drive = Machine(folder_).driveC();
  for (const char* folder :
       {"WINDOWS/Start Menu/Programs/StartUp", "WINDOWS/Start Menu/Programs/Accessories", "My Documents",
        "WINDOWS/Desktop", "WINDOWS/Favorites", "Program Files/Accessories"})
    EXPECT_TRUE(fs::is_directory(drive + "/" + folder)) << folder;
  for (const char* polish :
       {"WINDOWS/Menu Start", "Moje dokumenty", "WINDOWS/Pulpit", "Program Files/Akcesoria"})
    EXPECT_FALSE(fs::exists(drive + "/" + polish)) << polish;

  struct Value {
    reg::Key root;
    const char* key;
    const char* name;
    const char* expected;
  };
  const Value values[] = {
      {reg::kCurrentUser, "Control Panel\\International", "Locale", "00000409"},
      {reg::kLocalMachine, "System\\CurrentControlSet\\Control\\Nls\\Codepage", "ACP", "1252"},
      {reg::kLocalMachine, "System\\CurrentControlSet\\Control\\Nls\\Codepage", "OEMCP", "437"},
      {reg::kLocalMachine, "SOFTWARE\\Classes\\CLSID\\{645FF040-5081-101B-9F08-00AA002F954E}", "",
       "Recycle Bin"},
      {reg::kCurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Startup",
       "C:\\WINDOWS\\Start Menu\\Programs\\StartUp"},
  };
  for (const Value& v : values) {
    reg::Key handle = 0;
    ASSERT_EQ(reg::currentStore().openKey(v.root, v.key, reg::access::Read, &handle), reg::err::Success)
        << v.key;
    std::uint32_t type = 0;
    std::string data;
    EXPECT_EQ(reg::readWholeValue(reg::currentStore(), handle, v.name, &type, &data), reg::err::Success);
    reg::currentStore().closeKey(handle);
    EXPECT_EQ(data.substr(0, data.find('\0')), v.expected) << v.key << " " << v.name;
  }
  EXPECT_EQ(currentSystemLanguage(), SystemLanguage::English);
}

TEST(SystemLanguageTest, TheLocaleGivesTheSystemsLanguage) {
  const std::pair<const char*, SystemLanguage> cases[] = {
      {"00000415", SystemLanguage::Polish},
      {"00000409", SystemLanguage::English},
      {"00000809", SystemLanguage::English},
      {"00000407", SystemLanguage::English},  // any other: English
      {"", SystemLanguage::Polish},
      {"0000041G", SystemLanguage::Polish},  // none or garbage
      {"1FFFFFFFFFFF", SystemLanguage::Polish},
  };
  for (const auto& [locale, language] : cases) EXPECT_EQ(languageOfLocale(locale), language) << locale;
}

}  // namespace
}  // namespace morvin::platform
