// The .reg reader never crashes, and whatever it accepts is written back by
// the REGEDIT4 writer into a text that reads as the same document.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "registry/RegFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace morvin::reg;
  RegDocument document;
  try {
    document = parseRegText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const RegFileError& e) {
    if (e.line() < 0) std::abort();
    return 0;
  }
  std::string written;
  try {
    written = writeRegText(document);
  } catch (const morvin::Exception& e) {
    std::fprintf(stderr, "an accepted document cannot be written: %s\n", e.what());
    std::abort();
  }
  if (!(parseRegText(written) == document)) {
    std::fprintf(stderr, "the written document reads back differently\n");
    std::abort();
  }
  return 0;
}
