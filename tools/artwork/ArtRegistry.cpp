#include "ArtRegistry.h"

#include <vector>

namespace morvin::art {

namespace {
std::map<std::string, DrawFunction>& table() {
  static std::map<std::string, DrawFunction> pictures;
  return pictures;
}
std::vector<std::string>& duplicates() {
  static std::vector<std::string> paths;
  return paths;
}
}  // namespace

Registration::Registration(const char* path, DrawFunction draw) {
  if (!table().emplace(path, std::move(draw)).second) duplicates().push_back(path);
}

const std::map<std::string, DrawFunction>& pictures() {
  return table();
}
const std::vector<std::string>& duplicatePaths() {
  return duplicates();
}

}  // namespace morvin::art
