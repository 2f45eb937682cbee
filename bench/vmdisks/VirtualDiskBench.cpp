// init --from and apply on a 2 GB sparse disk with an MBR and a FAT32
// partition holding the test drive, in every format a virtual machine keeps;
// what apply writes into the disk is counted in its own file (every 512-byte
// sector of the image file that differs afterwards), so a one-value change
// shows as kilobytes, not as the disk.
#include <sys/stat.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/HostFiles.h"
#include "platform/Win9xTools.h"
#include "platform/Win9xVirtualDisk.h"
#include "tests/win98/Win98Fixture.h"

namespace {

namespace fs = std::filesystem;
using morvin::platform::win9x::runTool;
using morvin::platform::win9x::ToolRun;

struct Format {
  const char* name;
  std::vector<std::string> options;
};

double seconds(const std::chrono::steady_clock::time_point& since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

ToolRun reg(const std::string& machine, std::vector<std::string> args) {
  args.insert(args.begin(), {MORVIN_REG_PROGRAM, "--machine", machine});
  return runTool(args);
}

bool sparseCopy(const std::string& from, const std::string& to) {
  return runTool({"cp", "--sparse=always", from, to}).status == 0;
}

}  // namespace

int main() {
  std::string pattern = (fs::temp_directory_path() / "morvin-bench-disk-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return 1;
  const std::string dir = pattern, raw = dir + "/disk.raw", change = dir + "/change.reg";
  morvin::test::Win98Drive drive;
  drive.writeFolder(dir + "/drive");
  morvin::test::makeImage(dir + "/drive", raw, 32, true, 2ll << 30);
  morvin::platform::host::writeFileDurably(
      change,
      "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Network]"
      "\r\n"
      "\"NoNetSetup\"=dword:00000001\r\n\r\n");

  const std::vector<Format> formats = {{"raw", {}},
                                       {"vdi", {"-O", "vdi"}},
                                       {"vmdk", {"-O", "vmdk"}},
                                       {"qcow2", {"-O", "qcow2"}},
                                       {"vhd (dynamic)", {"-O", "vpc"}},
                                       {"vhd (fixed)", {"-O", "vpc", "-o", "subformat=fixed"}}};
  std::printf(
      "| Format | Image file | init --from | apply | Bytes apply wrote into the image "
      "|\n|---|---|---|---|---|\n");
  for (const Format& format : formats) {
    const std::string disk = dir + "/disk." + std::to_string(&format - formats.data()),
                      machine = dir + "/machine";
    fs::remove_all(machine);
    std::vector<std::string> convert = {"qemu-img", "convert", "-f", "raw"};
    convert.insert(convert.end(), format.options.begin(), format.options.end());
    convert.insert(convert.end(), {raw, disk});
    if (format.options.empty() ? !sparseCopy(raw, disk) : runTool(convert).status != 0) return 1;

    auto start = std::chrono::steady_clock::now();
    if (reg(machine, {"init", "--from", disk}).status != 0) return 1;
    const double read = seconds(start);
    if (reg(machine, {"import", change}).status != 0) return 1;
    const std::string before = dir + "/before";
    if (!sparseCopy(disk, before)) return 1;
    start = std::chrono::steady_clock::now();
    if (const auto applied = reg(machine, {"apply", disk}); applied.status != 0) {
      std::fprintf(stderr, "%s", applied.err.c_str());
      return 1;
    }
    const double apply = seconds(start);
    std::uint64_t written = 0;
    for (const auto& [offset, length] : morvin::platform::win9x::changedRanges(before, disk))
      written += length;
    struct stat st {};
    ::stat(disk.c_str(), &st);
    std::printf("| %s | %.1f MB used of %.0f MB | %.2f s | %.2f s | %.1f KB |\n", format.name,
                static_cast<double>(st.st_blocks) * 512 / (1 << 20),
                static_cast<double>(st.st_size) / (1 << 20), read, apply, written / 1024.0);
    fs::remove(disk);
    fs::remove(before);
  }
  fs::remove_all(dir);
  return 0;
}
