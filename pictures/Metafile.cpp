#include "Metafile.h"

#include <cmath>

#include "MetafilePlayers.h"
#include "registry/Cp1250.h"

namespace morvin::metafile {

Kind detect(const QByteArray& data) {
  const Bytes b(data);
  if (!b.has(0, 44)) {
    if (b.has(0, 18) && (b.u16(0) == 1 || b.u16(0) == 2) && b.u16(2) == 9) return Kind::Wmf;
    return Kind::None;
  }
  if (b.u32(0) == kPlaceableKey) return Kind::Wmf;
  if (b.u32(0) == 1 && b.u32(40) == kEmfSignature) return Kind::Emf;
  // A WMF without the placeable header: memory or disk type, nine-word header, version 1.0 or 3.0.
  if ((b.u16(0) == 1 || b.u16(0) == 2) && b.u16(2) == 9 && (b.u16(4) == 0x0100 || b.u16(4) == 0x0300))
    return Kind::Wmf;
  return Kind::None;
}

QImage render(const QByteArray& data) {
  const Bytes b(data);
  try {
    switch (detect(data)) {
      case Kind::Wmf:
        return renderWmf(b);
      case Kind::Emf:
        return renderEmf(b);
      case Kind::None:
        break;
    }
  } catch (const OutOfRange&) {
  }
  return {};
}

QString decodeText(const QByteArray& bytes, int charset) {
  // ANSI_CHARSET and SYMBOL_CHARSET are Western; the rest is read in the system's code page.
  if (charset == 0 || charset == 2) return QString::fromLatin1(bytes);
  return QString::fromStdString(cp1250::toUtf8(bytes.toStdString()));
}

QImage blankPicture(QSizeF size, double* scale) {
  *scale = 1;
  if (!(size.width() >= 1 && size.height() >= 1) || !std::isfinite(size.width()) ||
      !std::isfinite(size.height()))
    return {};
  const double longest = std::max(size.width(), size.height());
  if (longest > kMaxSide) *scale = kMaxSide / longest;
  const QSize pixels(std::max(1, static_cast<int>(std::lround(size.width() * *scale))),
                     std::max(1, static_cast<int>(std::lround(size.height() * *scale))));
  QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  return image;
}

}  // namespace morvin::metafile
