// Byte-to-text decoding for RTF: the document's ANSI code page and the
// character sets of its fonts.
#pragma once

#include <QByteArray>
#include <QString>

namespace morvin::guide {

// The system's ANSI code page: what an RTF file without \ansicpg means.
inline constexpr int kDefaultCodePage = 1250;

// The code page of a font's \fcharset; `documentCodePage` for the ANSI and
// default sets and for sets the program does not know.
int codePageForCharset(int charset, int documentCodePage);

// Decodes bytes in a Windows code page. Code pages the system cannot decode
// fall back to cp1250, so no text is ever dropped.
QString decodeCodePage(const QByteArray& bytes, int codePage);

}  // namespace morvin::guide
