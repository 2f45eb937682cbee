#include "ValueText.h"

#include <cstdio>

#include "registry/Cp1250.h"
#include "registry/WinReg.h"

namespace morvin::tool {

namespace {

std::string hexBytes(const std::string& data) {
  std::string out;
  char byte[4];
  for (unsigned char c : data) {
    std::snprintf(byte, sizeof byte, "%02X", c);
    out += byte;
  }
  return out;
}

}  // namespace

std::string typeName(std::uint32_t type) {
  static const char* const names[] = {"REG_NONE",
                                      "REG_SZ",
                                      "REG_EXPAND_SZ",
                                      "REG_BINARY",
                                      "REG_DWORD",
                                      "REG_DWORD_BIG_ENDIAN",
                                      "REG_LINK",
                                      "REG_MULTI_SZ",
                                      "REG_RESOURCE_LIST",
                                      "REG_FULL_RESOURCE_DESCRIPTOR",
                                      "REG_RESOURCE_REQUIREMENTS_LIST",
                                      "REG_QWORD"};
  if (type < sizeof names / sizeof names[0]) return names[type];
  char text[24];
  std::snprintf(text, sizeof text, "0x%X", static_cast<unsigned>(type));
  return text;
}

std::string dataText(std::uint32_t type, const std::string& data) {
  using namespace reg::type;
  if (type == Sz || type == ExpandSz) return cp1250::toUtf8(data.substr(0, data.find('\0')));
  if (type == Dword && data.size() == 4) {
    std::uint32_t n = 0;
    for (int i = 3; i >= 0; --i) n = n << 8 | static_cast<unsigned char>(data[i]);
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(n));
    return text;
  }
  if (type == MultiSz) {
    // The strings joined by \0, as the Windows console tool shows them.
    std::string out;
    size_t start = 0;
    while (start < data.size()) {
      size_t nul = data.find('\0', start);
      if (nul == start) break;  // the empty string that ends the list
      if (!out.empty()) out += "\\0";
      out += cp1250::toUtf8(data.substr(start, nul == std::string::npos ? std::string::npos : nul - start));
      if (nul == std::string::npos) break;
      start = nul + 1;
    }
    return out;
  }
  return hexBytes(data);
}

}  // namespace morvin::tool
