// Reading a drive whose hives hold 20,000 values: what libcreg itself needs
// to walk them (every key, every value's name, type and data), what our hive
// reader needs on top (the key table checked, the tree turned into a .reg
// document), and the whole `morvin-reg init --from` of the drive as a folder
// and as a FAT32 disk image. Medians of five runs, wall time.
#include <libcreg.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "registry/Win9xHive.h"
#include "tests/win98/Win98Fixture.h"

namespace {

namespace fs = std::filesystem;
using morvin::platform::win9x::runTool;

constexpr int kKeys = 400, kValuesPerKey = 50;  // 20,000 values in USER.DAT
constexpr int kRuns = 5;

double medianSeconds(const std::function<bool()>& run) {
  std::vector<double> times;
  for (int i = 0; i < kRuns; ++i) {
    const auto start = std::chrono::steady_clock::now();
    if (!run()) {
      std::fprintf(stderr, "a run failed\n");
      std::exit(1);
    }
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return times[kRuns / 2];
}

// libcreg alone: the values a walk of the whole tree reads.
long walk(libcreg_key_t* key) {
  long read = 0;
  int values = 0, keys = 0;
  libcreg_key_get_number_of_values(key, &values, nullptr);
  for (int i = 0; i < values; ++i) {
    libcreg_value_t* value = nullptr;
    if (libcreg_key_get_value_by_index(key, i, &value, nullptr) != 1) continue;
    std::size_t size = 0;
    uint32_t type = 0;
    libcreg_value_get_name_size(value, &size, nullptr);
    std::string name(size, '\0');
    libcreg_value_get_name(value, reinterpret_cast<uint8_t*>(name.data()), size, nullptr);
    libcreg_value_get_value_type(value, &type, nullptr);
    libcreg_value_get_value_data_size(value, &size, nullptr);
    std::string data(size, '\0');
    libcreg_value_get_value_data(value, reinterpret_cast<uint8_t*>(data.data()), size, nullptr);
    libcreg_value_free(&value, nullptr);
    ++read;
  }
  libcreg_key_get_number_of_sub_keys(key, &keys, nullptr);
  for (int i = 0; i < keys; ++i) {
    libcreg_key_t* sub = nullptr;
    if (libcreg_key_get_sub_key_by_index(key, i, &sub, nullptr) != 1) continue;
    read += walk(sub);
    libcreg_key_free(&sub, nullptr);
  }
  return read;
}

long libcregRead(const std::string& path) {
  libcreg_file_t* file = nullptr;
  libcreg_key_t* root = nullptr;
  long read = -1;
  if (libcreg_file_initialize(&file, nullptr) == 1 &&
      libcreg_file_open(file, path.c_str(), LIBCREG_OPEN_READ, nullptr) == 1 &&
      libcreg_file_get_root_key(file, &root, nullptr) == 1) {
    read = walk(root);
    libcreg_key_free(&root, nullptr);
  }
  if (file) {
    libcreg_file_close(file, nullptr);
    libcreg_file_free(&file, nullptr);
  }
  return read;
}

}  // namespace

int main() {
  std::string pattern = (fs::temp_directory_path() / "morvin-bench-drive-XXXXXX").string();
  if (!::mkdtemp(pattern.data())) return 1;
  const std::string dir = pattern, folder = dir + "/drive", image = dir + "/disk.img";

  morvin::test::Win98Drive drive;
  for (int k = 0; k < kKeys; ++k) {
    auto& key = drive.user.path(".DEFAULT\\Software\\Bench\\Key" + std::to_string(k));
    for (int v = 0; v < kValuesPerKey; ++v)
      key.values.push_back({"Value" + std::to_string(v), 4, std::string("\x01\x00\x00\x00", 4)});
  }
  drive.writeFolder(folder);
  morvin::test::makeImage(folder, image, 32, true, 256ll << 20);
  const std::string user = folder + "/WINDOWS/USER.DAT", system = folder + "/WINDOWS/SYSTEM.DAT";
  const long values = libcregRead(user) + libcregRead(system);

  const double creg = medianSeconds([&] { return libcregRead(user) >= 0 && libcregRead(system) >= 0; });
  const double reader = medianSeconds([&] {
    using namespace morvin::reg;
    return !win9x::readHive(user, "", kUsers, "USER.DAT").keys.empty() &&
           !win9x::readHive(system, "", kLocalMachine, "SYSTEM.DAT").keys.empty();
  });
  auto init = [&](const std::string& source) {
    const std::string machine = dir + "/machine";
    fs::remove_all(machine);
    return runTool({MORVIN_REG_PROGRAM, "--machine", machine, "init", "--from", source}).status == 0;
  };
  const double fromFolder = medianSeconds([&] { return init(folder); });
  const double fromImage = medianSeconds([&] { return init(image); });

  std::printf("Hives of %ld values (USER.DAT %lld bytes), medians of %d runs:\n\n", values,
              static_cast<long long>(fs::file_size(user)), kRuns);
  std::printf("| What | Wall | Beyond libcreg's own walk |\n|---|---|---|\n");
  std::printf("| libcreg's own walk of both hives | %.0f ms | |\n", creg * 1e3);
  std::printf("| our hive reader (checks, .reg document) | %.0f ms | %.0f ms |\n", reader * 1e3,
              (reader - creg) * 1e3);
  std::printf("| morvin-reg init --from the folder | %.0f ms | %.0f ms |\n", fromFolder * 1e3,
              (fromFolder - creg) * 1e3);
  std::printf("| morvin-reg init --from a FAT32 image | %.0f ms | %.0f ms |\n", fromImage * 1e3,
              (fromImage - creg) * 1e3);
  fs::remove_all(dir);
  return 0;
}
