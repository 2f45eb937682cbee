#include "WindowsFolder.h"

namespace morvin::platform {

std::string KatalogWindows() {
  return "C:\\WINDOWS";
}

}  // namespace morvin::platform
