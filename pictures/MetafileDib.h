// Device-independent bitmaps as metafiles carry them: a BITMAPINFO (header and
// colour table) followed by the pixel rows, bottom row first unless the height
// is negative.
#pragma once

#include <QImage>

#include "MetafileBytes.h"

namespace morvin::metafile {

// `info` holds the header and colour table, `bits` the pixel rows.
QImage readDib(const Bytes& info, const Bytes& bits);
// A packed DIB: the rows follow the colour table directly.
QImage readPackedDib(const Bytes& dib);
// The source rectangle of a StretchDIBits-like copy, whose y counts from the
// bottom row of a bottom-up bitmap, in the rows of the decoded picture.
QRectF dibSourceRect(const Bytes& info, const QImage& image, QRectF source);

}  // namespace morvin::metafile
