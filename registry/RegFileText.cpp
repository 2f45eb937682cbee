#include "RegFileText.h"

#include "Cp1250.h"

namespace morvin::reg {

namespace {

char toCp1250Byte(char32_t codePoint) {
  int byte = cp1250::fromUnicode(codePoint);
  return byte < 0 ? '?' : static_cast<char>(byte);
}

}  // namespace

std::string utf16leToCp1250(std::string_view bytes) {
  if (bytes.size() % 2 != 0) return std::string(bytes);
  std::string out;
  out.reserve(bytes.size() / 2);
  auto unit = [&](size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                 static_cast<unsigned char>(bytes[i + 1]) << 8);
  };
  for (size_t i = 0; i < bytes.size(); i += 2) {
    char16_t u = unit(i);
    if (u >= 0xD800 && u <= 0xDBFF && i + 2 < bytes.size()) {
      char16_t low = unit(i + 2);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        out += '?';  // outside the BMP: never in cp1250
        i += 2;
        continue;
      }
    }
    out += (u >= 0xD800 && u <= 0xDFFF) ? '?' : toCp1250Byte(u);
  }
  return out;
}

std::string decodeRegFileBytes(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
      static_cast<unsigned char>(bytes[1]) == 0xFE)
    return utf16leToCp1250(bytes.substr(2).size() % 2 ? bytes.substr(2, bytes.size() - 3) : bytes.substr(2));
  if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xEF &&
      static_cast<unsigned char>(bytes[1]) == 0xBB && static_cast<unsigned char>(bytes[2]) == 0xBF)
    return cp1250::fromUtf8(bytes.substr(3));
  return std::string(bytes);
}

}  // namespace morvin::reg
