// The Windows 9x hive reader never crashes, never loops and never runs out
// of memory on any file: it gives a registry document or a HiveError. What it
// gives holds only names a key path can carry.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>

#include "registry/Win9xHive.h"

// libcreg keeps a few bytes of a file it could not open (its data block
// entries): its own leak, not the reader's.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libcreg.so\n";
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  using namespace morvin::reg;
  const int fd = ::memfd_create("hive", MFD_CLOEXEC);
  if (fd < 0 || ::write(fd, data, size) != static_cast<ssize_t>(size)) std::abort();
  for (const char* subKey : {"", ".DEFAULT"}) {
    try {
      const RegDocument document = win9x::readHive(fd, subKey, kLocalMachine, "fuzz");
      for (const RegKeyEntry& key : document.keys) {
        // No empty name inside a path, none holding a NUL.
        if (key.path.find('\0') != std::string::npos || key.path.starts_with('\\') ||
            key.path.ends_with('\\') || key.path.find("\\\\") != std::string::npos)
          std::abort();
        for (const RegValueEntry& value : key.values)
          if (value.name.find('\0') != std::string::npos) std::abort();
      }
    } catch (const win9x::HiveError&) {
    }
  }
  ::close(fd);
  return 0;
}
