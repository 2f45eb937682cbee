// Reads RTF as WordPad and Word write it into a QTextDocument: groups, fonts
// and their character sets, colours, bold/italic/underline/strike, sizes,
// paragraphs with alignment, indents, spacing and tab stops, \'xx bytes,
// \uN with its fallback, tabs, line and page breaks. Destinations that hold
// no visible text (style sheets, pictures, document information, anything
// marked \*) are skipped. Any input is read without crashing; broken RTF is
// shown as far as it makes sense.
#pragma once

#include <QByteArray>

class QTextDocument;

namespace morvin::guide {

// True when the data is an RTF document: it begins with "{\rtf".
bool isRtf(const QByteArray& data);

// Replaces the document's content with the RTF's formatted text. Returns
// false, leaving the document as it was, when the data is not RTF.
bool readRtf(const QByteArray& data, QTextDocument& document);

}  // namespace morvin::guide
