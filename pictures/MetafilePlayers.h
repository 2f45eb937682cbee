// The two record players behind metafile::render.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include "MetafileBytes.h"

namespace morvin::metafile {

inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr std::uint32_t kEmfSignature = 0x464D4520;  // " EMF"
// Pictures larger than this on either side are drawn scaled down to it.
inline constexpr int kMaxSide = 4096;

QImage renderWmf(const Bytes& file);
QImage renderEmf(const Bytes& file);

// 8-bit text in the code page of a font's character set (the system's, cp1250, by default).
QString decodeText(const QByteArray& bytes, int charset);
// A picture of `size` pixels, clamped to kMaxSide; `scale` receives the factor applied.
QImage blankPicture(QSizeF size, double* scale);

}  // namespace morvin::metafile
