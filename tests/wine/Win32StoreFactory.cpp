// The conformance suite on the system registry. Each test folder stands for
// a private registry: a key below HKEY_CURRENT_USER\Software\MorvinConformance
// holding one key per hive, and the predefined roots of this process are
// pointed at them (RegOverridePredefKey), so the suite sees an empty registry
// while the store under test passes every call unchanged to advapi32. A
// read-only hive is one whose keys grant reading only, as the keys of
// HKEY_LOCAL_MACHINE do for a user without rights over it.
#include <windows.h>
// After <windows.h>, which it needs.
#include <sddl.h>

#include <filesystem>
#include <stdexcept>

#include "StoreFixture.h"
#include "registry/Win32Store.h"

namespace morvin::test {

namespace {

constexpr const char* kSandboxes = "Software\\MorvinConformance";
// Protected lists, inherited by keys made later: everyone may read, or do anything.
constexpr const char* kReadOnly = "D:P(A;OICI;KR;;;WD)";
constexpr const char* kFullAccess = "D:P(A;OICI;KA;;;WD)";

struct Override {
  HKEY root;
  const char* path;  // below the sandbox
  bool machine;      // part of HKEY_LOCAL_MACHINE
};

// HKEY_CLASSES_ROOT and HKEY_CURRENT_CONFIG are views into HKEY_LOCAL_MACHINE, as on Windows.
const Override kOverrides[] = {
    {HKEY_LOCAL_MACHINE, "HKLM", true},
    {HKEY_CURRENT_USER, "HKCU", false},
    {HKEY_USERS, "HKU", false},
    {HKEY_CLASSES_ROOT, "HKLM\\Software\\Classes", true},
    {HKEY_CURRENT_CONFIG, "HKLM\\System\\CurrentControlSet\\Hardware Profiles\\Current", true},
};

void resetRoots() {
  for (const Override& o : kOverrides) RegOverridePredefKey(o.root, nullptr);
}

// Gives `path` and every key below it the access list `sddl`. The owner may
// always read and change a key's list, also of a read-only key.
void setAccessTree(const std::string& path, const char* sddl) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, WRITE_DAC, &key) != ERROR_SUCCESS) return;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (ConvertStringSecurityDescriptorToSecurityDescriptorA(sddl, SDDL_REVISION_1, &descriptor, nullptr)) {
    RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor);
    LocalFree(descriptor);
  }
  RegCloseKey(key);
  // Opened again: the new list may be what allows listing the subkeys.
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &key) != ERROR_SUCCESS)
    return;
  char name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    setAccessTree(path + "\\" + std::string(name, length), sddl);
  }
  RegCloseKey(key);
}

// Removes every test registry, before the suite and after it.
class SandboxCleaner : public ::testing::Environment {
 public:
  void SetUp() override { clean(); }
  void TearDown() override { clean(); }

 private:
  static void clean() {
    resetRoots();
    setAccessTree(kSandboxes, kFullAccess);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSandboxes);
  }
};

const auto* const kCleaner = ::testing::AddGlobalTestEnvironment(new SandboxCleaner);

void pointRootsAt(const std::string& sandboxName, const StoreOptions& options) {
  resetRoots();
  const std::string sandbox = std::string(kSandboxes) + "\\" + sandboxName;
  setAccessTree(sandbox, kFullAccess);
  for (const Override& o : kOverrides) {
    HKEY made = nullptr;
    const std::string path = sandbox + "\\" + o.path;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                        nullptr, &made, nullptr) != ERROR_SUCCESS)
      throw std::runtime_error("cannot create the test registry " + path);
    RegCloseKey(made);
  }
  if (options.readOnlyLocalMachine) setAccessTree(sandbox + "\\HKLM", kReadOnly);
  if (options.readOnlyCurrentUser) setAccessTree(sandbox + "\\HKCU", kReadOnly);
  // Every target is opened through the real HKEY_CURRENT_USER before any root moves.
  HKEY targets[std::size(kOverrides)] = {};
  for (std::size_t i = 0; i < std::size(kOverrides); ++i) {
    const Override& o = kOverrides[i];
    const bool readOnly = o.machine ? options.readOnlyLocalMachine : options.readOnlyCurrentUser;
    const std::string path = sandbox + "\\" + o.path;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, readOnly ? KEY_READ : KEY_ALL_ACCESS,
                      &targets[i]) != ERROR_SUCCESS)
      throw std::runtime_error("cannot open the test registry " + path);
  }
  for (std::size_t i = 0; i < std::size(kOverrides); ++i) {
    RegOverridePredefKey(kOverrides[i].root, targets[i]);
    RegCloseKey(targets[i]);
  }
}

bool runsUnderWine() {
  const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

}  // namespace

StoreTraits storeTraits() {
  if (!runsUnderWine()) return {};
  return {.valuesInCreationOrder = false, .strictKeyNames = false, .rightsGuardCreationAndDeletion = false};
}

std::shared_ptr<reg::RegistryStore> makeStore(const std::string& folder, const StoreOptions& options) {
  pointRootsAt(std::filesystem::path(folder).filename().string(), options);
  return std::make_shared<reg::Win32Store>();
}

}  // namespace morvin::test
