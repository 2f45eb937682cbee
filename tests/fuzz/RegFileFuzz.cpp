// The .reg reader never crashes, and whatever it accepts is written back by
// the REGEDIT4 writer into a text that reads as the same document.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "registry/RegFile.h"

namespace {

// The lenient reading (import --skip-bad) never crashes either; each line it
// leaves out is a line of the file, in order.
void readSkippingBadLines(std::string_view text) {
  using namespace morvin::reg;
  std::vector<RegSkippedLine> skipped;
  try {
    (void)parseRegTextSkippingBadLines(text, skipped);
  } catch (const RegFileError&) {
    return;
  }
  int previous = 0;
  for (const RegSkippedLine& line : skipped) {
    if (line.line <= previous) std::abort();
    previous = line.line;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace morvin::reg;
  readSkippingBadLines(std::string_view(reinterpret_cast<const char*>(data), size));
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
