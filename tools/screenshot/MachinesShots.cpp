// "Maszyny" with the default machine in use and one made from a VirtualBox
// disk, in a data folder of its own so the user's machines never show.
#include <QDir>
#include <QTemporaryDir>
#include <cstdlib>
#include <filesystem>

#include "machines/kodMaszyny.h"
#include "platform/DefaultMachine.h"
#include "platform/Machine.h"
#include "platform/Win9xRecord.h"
#include "platform/Win9xTools.h"
#include "shell/WindowSet.h"
#include "tools/screenshot/ShotRegistry.h"

namespace morvin::shots {
namespace {

namespace fs = std::filesystem;

QImage machinesWindow() {
  static QTemporaryDir data;
  const std::string root = data.path().toStdString();
  ::setenv("XDG_DATA_HOME", root.c_str(), 1);
  fs::create_directories(root + "/morvin-ng/machines");
  std::error_code ec;
  fs::create_directory_symlink(platform::currentMachine().folder(), root + "/morvin-ng/machine", ec);
  // A machine read from a VirtualBox disk (an empty one stands for it).
  const std::string disk = root + "/VirtualBox VMs/Win98/Win98.vdi";
  fs::create_directories(fs::path(disk).parent_path());
  platform::win9x::runTool({"qemu-img", "create", "-q", "-f", "vdi", disk, "2G"});
  const platform::Machine win98(root + "/morvin-ng/machines/win98");
  platform::provisionMachine(win98.folder(), platform::defaultMachineRegFile());
  platform::win9x::ImportRecord record;
  record.source = disk;
  record.windowsFolder = "WINDOWS";
  platform::win9x::writeRecord(win98.record(), record);

  TfmMaszyny machines(window(WindowId::MainForm));
  const QImage picture = grabWindow(&machines);
  ::unsetenv("XDG_DATA_HOME");
  return picture;
}

const Registration machines("TfmMaszyny", machinesWindow);

}  // namespace
}  // namespace morvin::shots
