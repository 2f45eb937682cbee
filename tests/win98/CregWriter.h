// Test-only writer of Windows 9x registry files ("CREG": SYSTEM.DAT,
// USER.DAT), from the public description of the format: a 32-byte file
// header, the key navigation record (RGKN) with one 28-byte entry per key, and
// one data block (RGDB) holding each key's name and values. Fixtures only;
// the program never writes this format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace morvin::test {

struct CregValue {
  std::string name;  // bytes as stored (cp1250)
  std::uint32_t type = 1;
  std::string data;
};

struct CregKey {
  std::string name;  // empty for the root
  std::vector<CregValue> values;
  std::vector<CregKey> keys;

  // The subkey `name`, added when missing.
  CregKey& key(const std::string& name);
  // Walks a backslash path, adding what is missing.
  CregKey& path(const std::string& path);
};

// How the file is laid out. Windows 9x keeps texts (REG_SZ, REG_EXPAND_SZ)
// without their terminating NUL and the key table in whole 4 KB pages; a
// terminator given in CregValue::data is dropped unless `textTerminators`.
struct CregStyle {
  bool textTerminators = false;
  bool wholePages = true;  // false: the smallest file (fuzzing seeds)
};

std::string writeCreg(const CregKey& root, CregStyle style = {});

}  // namespace morvin::test
