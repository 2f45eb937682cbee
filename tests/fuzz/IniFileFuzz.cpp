// The profile-file reader and writer never crash; a written key reads back,
// and a write never changes another key of the file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "registry/Cp1250.h"
#include "registry/HostProfileStoreText.h"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "%s\n", what);
    std::abort();
  }
}

std::string trimmed(const std::string& s) {
  size_t b = s.find_first_not_of(" \t"), e = s.find_last_not_of(" \t");
  return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace morvin::reg::profile;
  const std::string file(reinterpret_cast<const char*>(data), size);
  // The section and key are taken from the input too, so odd names get tried.
  std::string section = "Options", key = "BootGUI";
  if (size > 0 && data[0] % 3 == 0) {
    size_t open = file.find('['), close = file.find(']', open == std::string::npos ? 0 : open);
    if (open != std::string::npos && close != std::string::npos)
      section = file.substr(open + 1, close - open - 1);
  }
  if (size > 1 && data[1] % 3 == 0) {
    size_t eq = file.find('=');
    size_t start = eq == std::string::npos ? 0 : file.rfind('\n', eq);
    start = start == std::string::npos ? 0 : start + 1;
    if (eq != std::string::npos) key = file.substr(start, eq - start);
  }
  const std::string otherKey = "WinVer";
  const auto before = findValue(file, section, otherKey);
  findValue(file, key, section);

  const std::string value = "v" + std::to_string(size);
  if (!writable(section, key, value)) return 0;
  const std::string written = withValue(file, section, key, value);
  check(findValue(written, section, key) == value, "the written value does not read back");
  if (morvin::cp1250::equalsIgnoreCase(trimmed(key), otherKey)) return 0;
  check(findValue(written, section, otherKey) == before, "a write changed another key");
  check(written.size() >= value.size(), "the file shrank below the new value");
  return 0;
}
