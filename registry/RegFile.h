// Registry files (.reg): REGEDIT4 (cp1250) and "Windows Registry Editor
// Version 5.00" (UTF-16LE) in, REGEDIT4 out. Everything inside is cp1250 bytes
// and value data is the exact bytes a store holds (REG_SZ = text + NUL).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Errors.h"
#include "RegistryStore.h"

namespace morvin::reg {

// A .reg file that cannot be read. The message begins "line N: ".
class RegFileError : public Exception {
 public:
  RegFileError(int line, const std::string& what);
  int line() const noexcept { return line_; }

 private:
  int line_;
};

struct RegValueEntry {
  std::string name;     // empty = the key's default value (@)
  bool remove = false;  // "name"=-
  std::uint32_t type = 0;
  std::string data;
  bool operator==(const RegValueEntry&) const = default;
};

struct RegKeyEntry {
  Key root = 0;
  std::string path;     // below the root, no leading backslash; empty = the root itself
  bool remove = false;  // [-KEY]: the key with its whole tree
  std::vector<RegValueEntry> values;
  bool operator==(const RegKeyEntry&) const = default;
};

struct RegDocument {
  std::vector<RegKeyEntry> keys;
  bool operator==(const RegDocument&) const = default;
};

// Root names. The short forms (HKLM, HKCU, HKCR, HKCC, HKU) are for the command line.
std::optional<Key> rootFromName(std::string_view name, bool allowShortForms);
std::string rootName(Key root);  // "HKEY_CURRENT_USER"
// "HKEY_CURRENT_USER\Software\X" -> root and "Software\X"; false for an unknown root.
bool splitKeyName(std::string_view fullName, bool allowShortForms, Key* root, std::string* path);

// Parses a whole file (REGEDIT4 in cp1250, UTF-8 with BOM, or version 5 in
// UTF-16LE with BOM, converted to cp1250). Throws RegFileError.
RegDocument parseRegText(std::string_view bytes);

// A line left out of a document read leniently.
struct RegSkippedLine {
  int line = 0;
  std::string reason;
  std::string text;  // the line as it stands in the file, cp1250
  bool operator==(const RegSkippedLine&) const = default;
};

// Reads as the registry editor of Windows imports files written by others:
// a malformed line is left out and listed in `skipped` (with the values under
// a key that was left out), every other entry is kept. Throws RegFileError
// only for a file that is no registry file at all (its first line).
RegDocument parseRegTextSkippingBadLines(std::string_view bytes, std::vector<RegSkippedLine>& skipped);

// REGEDIT4 text, cp1250, CRLF line ends. Strings that the quoted form would not
// give back byte for byte are written as hex(1). Throws morvin::Exception for a
// name the format cannot hold (one with a line break).
std::string writeRegText(const RegDocument& document);

// Applies a document as one transaction: all of it or nothing. Throws
// morvin::Exception naming the key that the store refused.
void applyRegDocument(RegistryStore& store, const RegDocument& document);

// Parses and applies a .reg file; a malformed file writes nothing.
void importRegText(RegistryStore& store, std::string_view bytes);

// The key's tree as a document: the key and its values, then each subkey's
// tree in enumeration order. FileNotFound when the key is missing.
Status readRegTree(RegistryStore& store, Key root, const std::string& path, RegDocument* document);

// readRegTree + writeRegText; throws morvin::Exception when the key cannot be read.
std::string exportRegText(RegistryStore& store, Key root, const std::string& path);

// A short English description of a store status ("access denied").
std::string describeStatus(Status status);

}  // namespace morvin::reg
