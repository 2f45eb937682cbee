// The conformance suite on the system registry. Each test folder stands for
// a private registry: a key below HKEY_CURRENT_USER\Software\MorvinConformance
// holding one key per hive, and the predefined roots of this process are
// pointed at them (RegOverridePredefKey), so the suite sees an empty registry
// while the store under test passes every call unchanged to advapi32.
#include <windows.h>

#include <filesystem>
#include <stdexcept>
#include <vector>

#include "StoreFixture.h"
#include "registry/Win32Store.h"

namespace morvin::test {

namespace {

constexpr const char* kSandboxes = "Software\\MorvinConformance";

struct Override {
  HKEY root;
  const char* path;  // below the sandbox
};

// HKEY_CLASSES_ROOT and HKEY_CURRENT_CONFIG are views into HKEY_LOCAL_MACHINE, as on Windows.
const Override kOverrides[] = {
    {HKEY_LOCAL_MACHINE, "HKLM"},
    {HKEY_CURRENT_USER, "HKCU"},
    {HKEY_USERS, "HKU"},
    {HKEY_CLASSES_ROOT, "HKLM\\Software\\Classes"},
    {HKEY_CURRENT_CONFIG, "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current"},
};

// Removes every test registry, before the suite and after it.
class SandboxCleaner : public ::testing::Environment {
 public:
  void SetUp() override { clean(); }
  void TearDown() override { clean(); }

 private:
  static void clean() {
    for (const Override& o : kOverrides) RegOverridePredefKey(o.root, nullptr);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSandboxes);
  }
};

const auto* const kCleaner = ::testing::AddGlobalTestEnvironment(new SandboxCleaner);

}  // namespace

void pointRootsAt(const std::string& sandboxName) {
  for (const Override& o : kOverrides) RegOverridePredefKey(o.root, nullptr);
  HKEY user = nullptr;
  RegOpenKeyExA(HKEY_CURRENT_USER, "", 0, KEY_ALL_ACCESS, &user);
  std::vector<HKEY> targets;
  for (const Override& o : kOverrides) {
    HKEY target = nullptr;
    const std::string path = std::string(kSandboxes) + "\\" + sandboxName + "\\" + o.path;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &target, nullptr) != ERROR_SUCCESS)
      throw std::runtime_error("cannot create the test registry " + path);
    targets.push_back(target);
  }
  for (std::size_t i = 0; i < targets.size(); ++i) {
    RegOverridePredefKey(kOverrides[i].root, targets[i]);
    RegCloseKey(targets[i]);
  }
  if (user) RegCloseKey(user);
}

bool runsUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

StoreTraits storeTraits() {
  if (!runsUnderWine()) return {};
  return {.valuesInCreationOrder = false, .strictKeyNames = false};
}

std::shared_ptr<reg::RegistryStore> makeStore(const std::string& folder, const StoreOptions& options) {
  if (options.readOnlyLocalMachine || options.readOnlyCurrentUser) return nullptr;
  pointRootsAt(std::filesystem::path(folder).filename().string());
  return std::make_shared<reg::Win32Store>();
}

}  // namespace morvin::test
