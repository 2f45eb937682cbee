#include "Cp1250.h"

#include <algorithm>
#include <array>
#include <utility>

namespace morvin::cp1250 {
namespace {

// Code points of the bytes 0x80..0xFF. The five bytes the code page leaves
// undefined (0x81, 0x83, 0x88, 0x90, 0x98) stand for the C1 control of the same
// number, so every byte survives a trip through Unicode.
constexpr std::array<char16_t, 128> kHighHalf = {
    0x20AC, 0x0081, 0x201A, 0x0083, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x0088, 0x2030, 0x0160, 0x2039, 0x015A, 0x0164, 0x017D, 0x0179,  // 88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0161, 0x203A, 0x015B, 0x0165, 0x017E, 0x017A,  // 98
    0x00A0, 0x02C7, 0x02D8, 0x0141, 0x00A4, 0x0104, 0x00A6, 0x00A7,  // A0
    0x00A8, 0x00A9, 0x015E, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x017B,  // A8
    0x00B0, 0x00B1, 0x02DB, 0x0142, 0x00B4, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x00B8, 0x0105, 0x015F, 0x00BB, 0x013D, 0x02DD, 0x013E, 0x017C,  // B8
    0x0154, 0x00C1, 0x00C2, 0x0102, 0x00C4, 0x0139, 0x0106, 0x00C7,  // C0
    0x010C, 0x00C9, 0x0118, 0x00CB, 0x011A, 0x00CD, 0x00CE, 0x010E,  // C8
    0x0110, 0x0143, 0x0147, 0x00D3, 0x00D4, 0x0150, 0x00D6, 0x00D7,  // D0
    0x0158, 0x016E, 0x00DA, 0x0170, 0x00DC, 0x00DD, 0x0162, 0x00DF,  // D8
    0x0155, 0x00E1, 0x00E2, 0x0103, 0x00E4, 0x013A, 0x0107, 0x00E7,  // E0
    0x010D, 0x00E9, 0x0119, 0x00EB, 0x011B, 0x00ED, 0x00EE, 0x010F,  // E8
    0x0111, 0x0144, 0x0148, 0x00F3, 0x00F4, 0x0151, 0x00F6, 0x00F7,  // F0
    0x0159, 0x016F, 0x00FA, 0x0171, 0x00FC, 0x00FD, 0x0163, 0x02D9,  // F8
};

// Lower-case letters above ASCII and their capitals, as byte pairs.
constexpr std::array<std::pair<unsigned char, unsigned char>, 10> kHighCasePairs = {{
    {0x9A, 0x8A},  // š Š
    {0x9C, 0x8C},  // ś Ś
    {0x9D, 0x8D},  // ť Ť
    {0x9E, 0x8E},  // ž Ž
    {0x9F, 0x8F},  // ź Ź
    {0xB3, 0xA3},  // ł Ł
    {0xB9, 0xA5},  // ą Ą
    {0xBA, 0xAA},  // ş Ş
    {0xBE, 0xBC},  // ľ Ľ
    {0xBF, 0xAF},  // ż Ż
}};

constexpr std::array<unsigned char, 256> makeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int b = 0; b < 256; ++b) table[b] = static_cast<unsigned char>(b);
  for (int b = 'a'; b <= 'z'; ++b) table[b] = static_cast<unsigned char>(b - 0x20);
  for (auto [lower, upper] : kHighCasePairs) table[lower] = upper;
  // 0xE0..0xFE are the small letters of 0xC0..0xDE, except the division sign;
  // ß (0xDF) and ˙ (0xFF) have no capital here.
  for (int b = 0xE0; b <= 0xFE; ++b)
    if (b != 0xF7) table[b] = static_cast<unsigned char>(b - 0x20);
  return table;
}

constexpr std::array<unsigned char, 256> kUpper = makeUpperTable();

struct ReverseEntry {
  char16_t codePoint;
  unsigned char byte;
};

// The high half sorted by code point, for the way back from Unicode.
const std::array<ReverseEntry, 128>& reverseTable() {
  static const std::array<ReverseEntry, 128> table = [] {
    std::array<ReverseEntry, 128> t{};
    for (int i = 0; i < 128; ++i) t[i] = {kHighHalf[i], static_cast<unsigned char>(0x80 + i)};
    std::sort(t.begin(), t.end(),
              [](const ReverseEntry& a, const ReverseEntry& b) { return a.codePoint < b.codePoint; });
    return t;
  }();
  return table;
}

void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one UTF-8 sequence at `pos`; returns false for a malformed one
// (overlong forms, surrogates and truncated sequences included), consuming one byte.
bool decodeUtf8(std::string_view text, std::size_t& pos, char32_t& cp) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  int length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    cp = lead;
    ++pos;
    return true;
  } else if ((lead & 0xE0) == 0xC0) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    ++pos;
    return false;
  }
  if (pos + length > text.size()) {
    ++pos;
    return false;
  }
  for (int i = 1; i < length; ++i) {
    const auto next = static_cast<unsigned char>(text[pos + i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return false;
    }
    cp = (cp << 6) | (next & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return false;
  }
  pos += length;
  return true;
}

}  // namespace

char32_t toUnicode(unsigned char byte) {
  return byte < 0x80 ? byte : kHighHalf[byte - 0x80];
}

int fromUnicode(char32_t codePoint) {
  if (codePoint < 0x80) return static_cast<int>(codePoint);
  if (codePoint > 0xFFFF) return -1;
  const auto& table = reverseTable();
  auto it = std::lower_bound(table.begin(), table.end(), codePoint,
                             [](const ReverseEntry& e, char32_t cp) { return e.codePoint < cp; });
  if (it == table.end() || it->codePoint != codePoint) return -1;
  return it->byte;
}

std::string toUtf8(std::string_view cp1250Text) {
  std::string out;
  out.reserve(cp1250Text.size() + cp1250Text.size() / 4);
  for (char c : cp1250Text) appendUtf8(out, toUnicode(static_cast<unsigned char>(c)));
  return out;
}

std::string fromUtf8(std::string_view utf8Text, char replacement) {
  std::string out;
  out.reserve(utf8Text.size());
  std::size_t pos = 0;
  while (pos < utf8Text.size()) {
    char32_t cp = 0;
    if (!decodeUtf8(utf8Text, pos, cp)) {
      out += replacement;
      continue;
    }
    const int byte = fromUnicode(cp);
    out += byte < 0 ? replacement : static_cast<char>(byte);
  }
  return out;
}

unsigned char toUpper(unsigned char byte) {
  return kUpper[byte];
}

std::string toUpper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(kUpper[static_cast<unsigned char>(c)]);
  return out;
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (kUpper[static_cast<unsigned char>(a[i])] != kUpper[static_cast<unsigned char>(b[i])]) return false;
  return true;
}

int compareIgnoreCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < common; ++i) {
    const int ua = kUpper[static_cast<unsigned char>(a[i])];
    const int ub = kUpper[static_cast<unsigned char>(b[i])];
    if (ua != ub) return ua < ub ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

}  // namespace morvin::cp1250
