#include "Win9xHostPath.h"

#include <stdlib.h>

#include <filesystem>

#include "registry/Cp1250.h"
#include "registry/Errors.h"

namespace morvin::platform::win9x {

std::optional<std::string> hostPathBelow(const std::string& base, const std::string& relative) {
  if (base.empty() || relative.empty()) return std::nullopt;
  size_t start = 0;
  while (start <= relative.size()) {
    const size_t end = std::min(relative.find('/', start), relative.size());
    const std::string name = relative.substr(start, end - start);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    for (unsigned char c : name)
      if (c < 0x20 || c == 0x7F || c == '\\') return std::nullopt;
    start = end + 1;
  }
  return base + (base.ends_with('/') ? "" : "/") + relative;
}

ScratchFolder::ScratchFolder() {
  std::error_code ec;
  std::filesystem::path temporary = std::filesystem::temp_directory_path(ec);
  if (ec) temporary = "/tmp";
  std::string pattern = (temporary / "morvin-drive-XXXXXX").string();
  if (!::mkdtemp(pattern.data()))
    throw Exception("Cannot create a temporary folder in " + cp1250::fromUtf8(temporary.string()));
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

}  // namespace morvin::platform::win9x
