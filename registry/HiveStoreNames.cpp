#include "HiveStoreNames.h"

#include "Cp1250.h"

namespace morvin::reg::hive {

std::string fold(std::string_view name) {
  std::string folded(name.size() * 2, '\0');
  for (std::size_t i = 0; i < name.size(); ++i) {
    const char32_t cp = cp1250::toUnicode(cp1250::toUpper(static_cast<unsigned char>(name[i])));
    folded[2 * i] = static_cast<char>((cp >> 8) & 0xFF);
    folded[2 * i + 1] = static_cast<char>(cp & 0xFF);
  }
  return folded;
}

std::string_view cString(const std::string& text) {
  const auto nul = text.find('\0');
  return nul == std::string::npos ? std::string_view(text) : std::string_view(text.data(), nul);
}

Status splitPath(std::string_view path, std::vector<std::string_view>& components) {
  components.clear();
  if (path.empty()) return err::Success;
  if (path.front() == '\\') return err::BadPathname;
  if (path.back() == '\\') path.remove_suffix(1);
  std::size_t start = 0;
  while (true) {
    const std::size_t end = path.find('\\', start);
    const std::string_view name = path.substr(start, end == std::string_view::npos ? end : end - start);
    if (name.empty()) return err::BadPathname;
    if (name.size() > kMaxKeyNameLength) return err::InvalidParameter;
    components.push_back(name);
    if (end == std::string_view::npos) return err::Success;
    start = end + 1;
  }
}

}  // namespace morvin::reg::hive
