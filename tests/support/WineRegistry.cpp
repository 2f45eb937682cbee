#include "WineRegistry.h"

#include <unistd.h>

#include <filesystem>
#include <vector>

#include "platform/HostFiles.h"
#include "platform/Win9xTools.h"
#include "registry/Cp1250.h"

namespace morvin::test {

namespace fs = std::filesystem;
using platform::win9x::runTool;

namespace {

bool onPath(const std::string& program) {
  return runTool({"sh", "-c", "command -v " + program}).status == 0;
}

std::string windowsPath(const std::string& hostPath) {
  std::string path = "Z:" + fs::absolute(hostPath).string();
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::vector<std::string> environmentOf(const std::string& folder) {
  return {"WINEPREFIX=" + folder + "/prefix",
          "WINEDEBUG=-all",
          "WINEDLLOVERRIDES=mscoree,mshtml=",
          "DISPLAY=",
          "LOCPATH=" + folder + "/locale",
          "LANG=pl_PL.UTF-8",
          "LC_ALL=pl_PL.UTF-8"};
}

}  // namespace

bool WineRegistry::available() {
  return onPath("wine") && onPath("wineboot") && onPath("localedef") &&
         fs::exists("/usr/share/i18n/locales/pl_PL");
}

WineRegistry::WineRegistry(const std::string& folder) : folder_(folder) {
  fs::create_directories(folder + "/locale");
  const auto locale = runTool({"localedef", "-i", "pl_PL", "-f", "UTF-8", folder + "/locale/pl_PL.UTF-8"});
  if (!fs::exists(folder + "/locale/pl_PL.UTF-8/LC_CTYPE")) {
    problem_ = "localedef: " + locale.err;
    return;
  }
  const auto boot = runTool({"wineboot", "-i"}, environmentOf(folder));
  if (boot.status != 0) {
    problem_ = "wineboot: " + boot.err;
    return;
  }
  ready_ = true;
}

WineRegistry::~WineRegistry() {
  runTool({"wineserver", "-k"}, environmentOf(folder_));
}

bool WineRegistry::apply(const std::string& regFile) {
  return runTool({"wine", "regedit", "/s", windowsPath(regFile)}, environmentOf(folder_)).status == 0;
}

std::optional<reg::RegDocument> WineRegistry::exportKey(const std::string& key) {
  const std::string file = folder_ + "/export.reg";
  fs::remove(file);
  const auto run =
      runTool({"wine", "regedit", "/e", windowsPath(file), cp1250::toUtf8(key)}, environmentOf(folder_));
  const auto bytes = platform::host::readFile(file);
  if (run.status != 0 || !bytes || bytes->empty()) return std::nullopt;
  return reg::parseRegText(*bytes);
}

}  // namespace morvin::test
