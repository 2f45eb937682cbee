// Symbol fonts (\fcharset2): their bytes are glyph numbers, not letters. The
// two that documents use for bullets and formulas are read as the Unicode
// characters they draw, so the text shows right in any font.
#pragma once

#include <QByteArray>
#include <QString>

namespace morvin::guide {

enum class SymbolFont { None, Symbol, Wingdings };

// Which table a font of the symbol character set uses, by its name.
SymbolFont symbolFontNamed(const QString& family);

// The characters the font draws for `bytes`; bytes without a known glyph
// are read as Latin-1.
QString decodeSymbolFont(const QByteArray& bytes, SymbolFont font);

}  // namespace morvin::guide
