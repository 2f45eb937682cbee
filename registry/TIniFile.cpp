// One INI file through the profile store; numbers and flags are texts in it.
#include "TIniFile.h"

#include <limits>

#include "Errors.h"

namespace morvin {

namespace {

int digitValue(char c, int base) {
  int d = -1;
  if (c >= '0' && c <= '9')
    d = c - '0';
  else if (c >= 'a' && c <= 'f')
    d = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F')
    d = c - 'A' + 10;
  return d < base ? d : -1;
}

// "0x1F" (more than 2 characters) is hexadecimal, up to 8 digits, and may use
// the sign bit; anything else must be a decimal in the 32-bit range.
bool parseNumber(const std::string& text, std::int32_t* result) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() > 10) return false;
    std::uint32_t v = 0;
    for (size_t i = 2; i < text.size(); ++i) {
      int d = digitValue(text[i], 16);
      if (d < 0) return false;
      v = v << 4 | static_cast<std::uint32_t>(d);
    }
    *result = static_cast<std::int32_t>(v);
    return true;
  }
  size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return false;
  std::int64_t v = 0;
  for (; i < text.size(); ++i) {
    int d = digitValue(text[i], 10);
    if (d < 0) return false;
    v = v * 10 + d;
    if (v > std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1) return false;
  }
  if (negative) v = -v;
  if (v > std::numeric_limits<std::int32_t>::max()) return false;
  *result = static_cast<std::int32_t>(v);
  return true;
}

}  // namespace

TIniFile::TIniFile(std::string path) : store_(reg::currentProfileStore()), path_(std::move(path)) {}

TIniFile::TIniFile(reg::ProfileStore& store, std::string path) : store_(store), path_(std::move(path)) {}

std::string TIniFile::IniReadText(const std::string& section, const std::string& key,
                                  const std::string& def) {
  return store_.readString(path_, section, key, def);
}

std::int32_t TIniFile::IniReadNumber(const std::string& section, const std::string& key, std::int32_t def) {
  std::int32_t n = 0;
  return parseNumber(IniReadText(section, key, ""), &n) ? n : def;
}

bool TIniFile::IniReadFlag(const std::string& section, const std::string& key, bool def) {
  return IniReadNumber(section, key, def ? 1 : 0) != 0;
}

void TIniFile::IniWriteText(const std::string& section, const std::string& key, const std::string& text) {
  if (!store_.writeString(path_, section, key, text))
    throw EIniFileException(formatMessage(msg::IniWriteFailed, path_));
}

void TIniFile::IniWriteNumber(const std::string& section, const std::string& key, std::int32_t n) {
  IniWriteText(section, key, std::to_string(n));
}

void TIniFile::IniWriteFlag(const std::string& section, const std::string& key, bool b) {
  IniWriteText(section, key, b ? "1" : "0");
}

}  // namespace morvin
