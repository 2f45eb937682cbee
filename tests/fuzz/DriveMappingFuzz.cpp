// Fuzz target: no Windows path, however odd, maps outside the drive folder.
#include <stdint.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "platform/DriveMapping.h"

namespace {

namespace fs = std::filesystem;

// A small drive with folders in several letter cases, Polish names, and links
// that point inside, outside and nowhere.
struct Drive {
  Drive() {
    std::string pattern = fs::temp_directory_path().string() + "/morvin-fuzz-drive-XXXXXX";
    if (!::mkdtemp(pattern.data())) ::abort();
    base = pattern;
    root = base + "/drive_c";
    fs::create_directories(root + "/WINDOWS/SYSTEM");
    fs::create_directories(root + "/windows");
    fs::create_directories(root + "/Moje dokumenty/Żółw");
    fs::create_directories(base + "/outside");
    std::ofstream(root + "/MsDos.sys") << "x";
    fs::create_directory_symlink("../outside", root + "/out");
    fs::create_directory_symlink("WINDOWS", root + "/in");
    fs::create_directory_symlink("../..", root + "/WINDOWS/up");
    fs::create_symlink("/nonexistent-morvin-fuzz", root + "/dangling");
    canonicalRoot = fs::canonical(root).string();
  }
  ~Drive() {
    std::error_code ec;
    fs::remove_all(base, ec);
  }
  std::string base, root, canonicalRoot;
};

[[noreturn]] void escaped(const std::string& input, const std::string& result, const char* why) {
  std::fprintf(stderr, "drive mapping escaped (%s): input of %zu bytes -> %s\n", why, input.size(),
               result.c_str());
  ::abort();
}

void check(const Drive& drive, const std::string& input) {
  const auto result = morvin::platform::mapToHost(drive.root, input);
  if (!result) return;
  if (*result != drive.root && !result->starts_with(drive.root + "/")) escaped(input, *result, "prefix");
  const std::string rest = result->substr(drive.root.size());
  for (const auto& part : fs::path(rest)) {
    if (part == "." || part == "..") escaped(input, *result, "dot component");
  }
  // What exists of the result must lie on the drive once links are resolved.
  fs::path existing = *result;
  std::error_code ec;
  while (!fs::exists(fs::symlink_status(existing, ec)) && existing.has_parent_path() &&
         existing != existing.parent_path())
    existing = existing.parent_path();
  const fs::path resolved = fs::weakly_canonical(existing, ec);
  if (ec) escaped(input, *result, "unresolvable link kept");
  const std::string text = resolved.string();
  if (text != drive.canonicalRoot && !text.starts_with(drive.canonicalRoot + "/"))
    escaped(input, *result, "link outside");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const Drive drive;
  const std::string input(reinterpret_cast<const char*>(data), size);
  check(drive, input);
  check(drive, "C:\\" + input);  // most inputs then reach the resolver
  return 0;
}
