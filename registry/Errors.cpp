#include "Errors.h"

namespace morvin {

std::string formatMessage(const std::string& pattern, const std::string& argument) {
  std::string result = pattern;
  if (auto at = result.find("%s"); at != std::string::npos) result.replace(at, 2, argument);
  return result;
}

}  // namespace morvin
