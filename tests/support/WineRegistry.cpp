#include "WineRegistry.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
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

void WineRegistry::expectHoldsMachineState(const reg::RegDocument& changes, reg::RegistryStore& machine) {
  for (const reg::RegKeyEntry& key : changes.keys) {
    const std::string name = reg::rootName(key.root) + "\\" + key.path;
    SCOPED_TRACE(cp1250::toUtf8(name));
    reg::RegDocument mine;
    const bool exists = reg::readRegTree(machine, key.root, key.path, &mine) == reg::err::Success;
    const auto exported = exportKey(name);
    ASSERT_EQ(exported.has_value(), exists);
    if (!exists) continue;
    const auto theirs = std::find_if(exported->keys.begin(), exported->keys.end(), [&](const auto& k) {
      return cp1250::equalsIgnoreCase(k.path, key.path);
    });
    ASSERT_NE(theirs, exported->keys.end());
    for (const auto& value : mine.keys.front().values) {
      auto it = std::find_if(theirs->values.begin(), theirs->values.end(),
                             [&](const auto& v) { return v.name == value.name; });
      ASSERT_NE(it, theirs->values.end()) << cp1250::toUtf8(value.name);
      EXPECT_EQ(it->type, value.type) << cp1250::toUtf8(value.name);
      EXPECT_EQ(it->data, value.data) << cp1250::toUtf8(value.name);
    }
    for (const auto& value : key.values) {
      if (!value.remove) continue;
      EXPECT_TRUE(std::none_of(theirs->values.begin(), theirs->values.end(), [&](const auto& v) {
        return cp1250::equalsIgnoreCase(v.name, value.name);
      })) << cp1250::toUtf8(value.name);
    }
  }
}

}  // namespace morvin::test
