// Writing REGEDIT4: the form Windows 9x's editor exports, read by every later one.
#include <cstdio>

#include "RegFile.h"

namespace morvin::reg {

namespace {

constexpr const char* kEol = "\r\n";
constexpr size_t kLineWidth = 77;  // a hex line is broken with \ before it gets longer

bool hasLineBreak(std::string_view s) {
  return s.find_first_of("\r\n") != std::string_view::npos;
}

std::string quoted(std::string_view s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  return out + '"';
}

// A REG_SZ whose bytes the quoted form gives back exactly: text + one NUL,
// no NUL inside and no line break.
bool plainText(const std::string& data) {
  if (data.empty() || data.back() != '\0') return false;
  std::string_view text(data.data(), data.size() - 1);
  return text.find('\0') == std::string_view::npos && !hasLineBreak(text);
}

void appendHex(std::string& out, std::string_view prefix, const std::string& data) {
  out += prefix;
  size_t column = prefix.size();
  char byte[4];
  for (size_t i = 0; i < data.size(); ++i) {
    std::snprintf(byte, sizeof byte, "%02x", static_cast<unsigned char>(data[i]));
    out += byte;
    column += 2;
    if (i + 1 == data.size()) break;
    out += ',';
    ++column;
    if (column + 3 > kLineWidth) {
      out += "\\";
      out += kEol;
      out += "  ";
      column = 2;
    }
  }
}

void appendValue(std::string& out, const RegValueEntry& v) {
  if (hasLineBreak(v.name))
    throw Exception("A value name with a line break cannot be written to a .reg file");
  std::string prefix = v.name.empty() ? "@=" : quoted(v.name) + "=";
  if (v.remove) {
    out += prefix + "-";
  } else if (v.type == type::Sz && plainText(v.data)) {
    out += prefix + quoted(std::string_view(v.data.data(), v.data.size() - 1));
  } else if (v.type == type::Dword && v.data.size() == 4) {
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = n << 8 | static_cast<unsigned char>(v.data[i]);
    char digits[16];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(n));
    out += prefix + "dword:" + digits;
  } else if (v.type == type::Binary) {
    appendHex(out, prefix + "hex:", v.data);
  } else {
    char kind[24];
    std::snprintf(kind, sizeof kind, "hex(%x):", static_cast<unsigned>(v.type));
    appendHex(out, prefix + kind, v.data);
  }
  out += kEol;
}

}  // namespace

std::string writeRegText(const RegDocument& document) {
  std::string out = "REGEDIT4";
  out += kEol;
  for (const RegKeyEntry& key : document.keys) {
    if (hasLineBreak(key.path))
      throw Exception("A key name with a line break cannot be written to a .reg file");
    out += kEol;
    out += key.remove ? "[-" : "[";
    out += rootName(key.root);
    if (!key.path.empty()) out += "\\" + key.path;
    out += "]";
    out += kEol;
    for (const RegValueEntry& v : key.values) appendValue(out, v);
  }
  out += kEol;
  return out;
}

}  // namespace morvin::reg
