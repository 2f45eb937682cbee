#include "DefaultMachine.h"

#include <unistd.h>

#include <climits>
#include <filesystem>

namespace morvin::platform {
namespace {

std::string executableFolder() {
  char buffer[PATH_MAX];
  const ssize_t n = ::readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n <= 0) return {};
  return std::filesystem::path(std::string(buffer, static_cast<size_t>(n))).parent_path().string();
}

}  // namespace

std::string defaultMachineRegFile(SystemLanguage language) {
  const std::string name = language == SystemLanguage::English ? "english.reg" : "default.reg";
  const std::string folder = executableFolder();
  if (!folder.empty()) {
    for (const std::string& candidate :
         {folder + "/machine/" + name, folder + "/../share/morvin-ng/machine/" + name}) {
      std::error_code ec;
      if (std::filesystem::is_regular_file(candidate, ec)) return candidate;
    }
  }
  return (std::filesystem::path(MORVIN_DEFAULT_MACHINE_REG).parent_path() / name).string();
}

std::string defaultMsDosSysFor(const std::string& defaultRegFile) {
  return (std::filesystem::path(defaultRegFile).parent_path() / "MsDos.sys").string();
}

}  // namespace morvin::platform
