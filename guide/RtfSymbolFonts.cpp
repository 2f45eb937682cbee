#include "RtfSymbolFonts.h"

#include <array>

namespace morvin::guide {

namespace {

// The Symbol font's glyphs from 0x20 on; 0 where the glyph is a piece of a
// larger bracket or has no character of its own.
constexpr std::array<char16_t, 224> kSymbol = {
    // 0x20
    u' ', u'!', 0x2200, u'#', 0x2203, u'%', u'&', 0x220B, u'(', u')', 0x2217, u'+', u',', 0x2212, u'.', u'/',
    // 0x30
    u'0', u'1', u'2', u'3', u'4', u'5', u'6', u'7', u'8', u'9', u':', u';', u'<', u'=', u'>', u'?',
    // 0x40
    0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399, 0x03D1, 0x039A, 0x039B,
    0x039C, 0x039D, 0x039F,
    // 0x50
    0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9, 0x039E, 0x03A8, 0x0396, u'[', 0x2234,
    u']', 0x22A5, u'_',
    // 0x60
    0, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5, 0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC,
    0x03BD, 0x03BF,
    // 0x70
    0x03C0, 0x03B8, 0x03C1, 0x03C3, 0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, u'{', u'|', u'}',
    0x223C, 0,
    // 0x80-0x9F: nothing
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xA0
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190,
    0x2191, 0x2192, 0x2193,
    // 0xB0
    0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248, 0x2026, 0,
    0, 0x21B5,
    // 0xC0
    0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283, 0x2287, 0x2284, 0x2282,
    0x2286, 0x2208, 0x2209,
    // 0xD0
    0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5, 0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0,
    0x21D1, 0x21D2, 0x21D3,
    // 0xE0
    0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    // 0xF0
    0, 0x232A, 0x222B, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

// The Wingdings glyphs that lists use as bullets.
char16_t wingdings(unsigned char byte) {
  switch (byte) {
    case 0x6C:
      return 0x25CF;  // black circle
    case 0x6E:
      return 0x25A0;  // black square
    case 0x71:
      return 0x2751;  // shadowed white square
    case 0x76:
      return 0x2756;  // black diamond minus white X
    case 0x9F:
      return 0x2022;  // bullet
    case 0xA7:
      return 0x25AA;  // small black square
    case 0xD8:
      return 0x27A2;  // arrowhead
    case 0xFC:
      return 0x2714;  // check mark
    default:
      return 0;
  }
}

}  // namespace

SymbolFont symbolFontNamed(const QString& family) {
  if (family.compare(QLatin1String("Symbol"), Qt::CaseInsensitive) == 0) return SymbolFont::Symbol;
  if (family.startsWith(QLatin1String("Wingdings"), Qt::CaseInsensitive)) return SymbolFont::Wingdings;
  return SymbolFont::None;
}

QString decodeSymbolFont(const QByteArray& bytes, SymbolFont font) {
  QString text;
  text.reserve(bytes.size());
  for (char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    char16_t glyph = 0;
    if (font == SymbolFont::Symbol && byte >= 0x20) glyph = kSymbol[byte - 0x20];
    if (font == SymbolFont::Wingdings) glyph = wingdings(byte);
    text.append(QChar(glyph ? glyph : char16_t(byte)));
  }
  return text;
}

}  // namespace morvin::guide
