// Windows metafiles (16-bit records), with or without the placeable header.
#include <cmath>

#include "MetafileDc.h"
#include "MetafileDib.h"
#include "MetafilePlayers.h"

namespace morvin::metafile {

namespace {

// Record functions.
enum : std::uint16_t {
  kEof = 0x0000,
  kSaveDc = 0x001E,
  kSetBkMode = 0x0102,
  kSetMapMode = 0x0103,
  kSetRop2 = 0x0104,
  kSetPolyFillMode = 0x0106,
  kSelectObject = 0x012D,
  kRestoreDc = 0x0127,
  kSetTextAlign = 0x012E,
  kDibCreatePatternBrush = 0x0142,
  kDeleteObject = 0x01F0,
  kCreatePatternBrush = 0x01F9,
  kCreatePalette = 0x00F7,
  kSetBkColor = 0x0201,
  kSetTextColor = 0x0209,
  kSetWindowOrg = 0x020B,
  kSetWindowExt = 0x020C,
  kSetViewportOrg = 0x020D,
  kSetViewportExt = 0x020E,
  kOffsetWindowOrg = 0x020F,
  kOffsetViewportOrg = 0x0211,
  kLineTo = 0x0213,
  kMoveTo = 0x0214,
  kCreatePenIndirect = 0x02FA,
  kCreateFontIndirect = 0x02FB,
  kCreateBrushIndirect = 0x02FC,
  kPolygon = 0x0324,
  kPolyline = 0x0325,
  kScaleWindowExt = 0x0410,
  kScaleViewportExt = 0x0412,
  kExcludeClipRect = 0x0415,
  kIntersectClipRect = 0x0416,
  kEllipse = 0x0418,
  kRectangle = 0x041B,
  kSetPixel = 0x041F,
  kTextOut = 0x0521,
  kPolyPolygon = 0x0538,
  kRoundRect = 0x061C,
  kCreateRegion = 0x06FF,
  kArc = 0x0817,
  kPie = 0x081A,
  kChord = 0x0830,
  kDibBitBlt = 0x0940,
  kExtTextOut = 0x0A32,
  kDibStretchBlt = 0x0B41,
  kStretchDib = 0x0F43,
};

// One record: its size in words, its function, its parameters (16-bit words).
struct Record {
  Bytes bytes;
  std::uint16_t function;
  std::size_t words() const { return (bytes.size() - 6) / 2; }
  std::int16_t w(std::size_t i) const { return bytes.i16(6 + 2 * i); }
  std::uint16_t u(std::size_t i) const { return bytes.u16(6 + 2 * i); }
  std::uint32_t dword(std::size_t i) const { return bytes.u32(6 + 2 * i); }
  QPointF yx(std::size_t i) const { return QPointF(w(i + 1), w(i)); }  // stored y first
  QRectF rect(std::size_t i) const {                                   // bottom, right, top, left
    return QRectF(QPointF(w(i + 3), w(i + 2)), QPointF(w(i + 1), w(i)));
  }
  Bytes rest(std::size_t word) const { return bytes.sub(6 + 2 * word, bytes.size() - 6 - 2 * word); }
};

QPolygonF points(const Record& r, std::size_t word, std::size_t count) {
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(count));
  for (std::size_t i = 0; i < count; ++i) polygon.append(QPointF(r.w(word + 2 * i), r.w(word + 2 * i + 1)));
  return polygon;
}

GdiObject fontFrom(const Record& r) {
  GdiObject o;
  o.type = GdiObject::Type::Font;
  o.font.height = r.w(0);
  o.font.escapement = r.w(2);
  o.font.weight = r.w(4);
  const Bytes& b = r.bytes;
  o.font.italic = b.u8(16) != 0;
  o.font.underline = b.u8(17) != 0;
  o.font.strikeOut = b.u8(18) != 0;
  o.font.charset = b.u8(19);
  QByteArray face;
  for (std::size_t i = 24; i < b.size() && i < 24 + 32 && b.u8(i) != 0; ++i)
    face.append(static_cast<char>(b.u8(i)));
  o.font.face = decodeText(face, o.font.charset);
  return o;
}

// The placeholder an object record leaves in the table when the player has no use for it.
GdiObject otherObject() {
  GdiObject o;
  o.type = GdiObject::Type::Other;
  return o;
}

void play(Dc& dc, const Record& r) {
  switch (r.function) {
    case kSaveDc:
      return dc.save();
    case kRestoreDc:
      return dc.restore(r.w(0));
    case kSetBkMode:
      return dc.setBkMode(r.u(0));
    case kSetMapMode:
      return dc.setMapMode(r.u(0));
    case kSetRop2:
      return dc.setRasterOp(r.u(0));
    case kSetPolyFillMode:
      return dc.setPolyFillMode(r.u(0));
    case kSetTextAlign:
      return dc.setTextAlign(r.u(0));
    case kSetBkColor:
      return dc.setBkColour(colourRef(r.dword(0)));
    case kSetTextColor:
      return dc.setTextColour(colourRef(r.dword(0)));
    case kSetWindowOrg:
      return dc.setWindowOrg(r.yx(0));
    case kSetWindowExt:
      return dc.setWindowExt(QSizeF(r.w(1), r.w(0)));
    case kSetViewportOrg:
      return dc.setViewportOrg(r.yx(0));
    case kSetViewportExt:
      return dc.setViewportExt(QSizeF(r.w(1), r.w(0)));
    case kOffsetWindowOrg:
      return dc.setWindowOrg(dc.windowOrg() + r.yx(0));
    case kOffsetViewportOrg:
      return dc.setViewportOrg(dc.viewportOrg() + r.yx(0));
    case kScaleWindowExt:
    case kScaleViewportExt: {
      // yDenom, yNum, xDenom, xNum
      if (r.w(0) == 0 || r.w(2) == 0) return;
      const bool window = r.function == kScaleWindowExt;
      const QSizeF ext = window ? dc.windowExt() : dc.viewportExt();
      const QSizeF scaled(ext.width() * r.w(3) / r.w(2), ext.height() * r.w(1) / r.w(0));
      return window ? dc.setWindowExt(scaled) : dc.setViewportExt(scaled);
    }
    case kIntersectClipRect:
      return dc.intersectClip(r.rect(0));
    case kExcludeClipRect:
      return dc.excludeClip(r.rect(0));
    case kMoveTo:
      return dc.moveTo(r.yx(0));
    case kLineTo:
      return dc.lineTo(r.yx(0));
    case kRectangle:
      return dc.rectangle(r.rect(0));
    case kEllipse:
      return dc.ellipse(r.rect(0));
    case kRoundRect:  // height, width, bottom, right, top, left
      return dc.roundRect(r.rect(2), QSizeF(r.w(1), r.w(0)));
    case kArc:
    case kPie:
    case kChord: {  // yEnd, xEnd, yStart, xStart, bottom, right, top, left
      const auto kind = r.function == kArc   ? Dc::ArcKind::Arc
                        : r.function == kPie ? Dc::ArcKind::Pie
                                             : Dc::ArcKind::Chord;
      return dc.arc(r.rect(4), r.yx(2), r.yx(0), kind);
    }
    case kPolygon:
      return dc.polygon(points(r, 1, r.u(0)));
    case kPolyline:
      return dc.polyline(points(r, 1, r.u(0)));
    case kPolyPolygon: {
      const std::size_t n = r.u(0);
      std::vector<QPolygonF> polygons;
      std::size_t word = 1 + n;
      for (std::size_t i = 0; i < n; ++i) {
        const std::size_t count = r.u(1 + i);
        polygons.push_back(points(r, word, count));
        word += 2 * count;
      }
      return dc.polyPolygon(polygons);
    }
    case kSetPixel:  // colour (2 words), y, x
      return dc.setPixel(r.yx(2), colourRef(r.dword(0)));
    case kTextOut: {
      const std::size_t count = r.u(0);
      const std::size_t after = 1 + (count + 1) / 2;
      const QString text = decodeText(r.bytes.bytes(8, count), dc.fontCharset());
      return dc.text(r.yx(after), text, 0, {}, {});
    }
    case kExtTextOut: {  // y, x, count, options, [rect], text, [dx]
      const std::size_t count = r.u(2);
      const unsigned options = r.u(3);
      std::size_t word = 4;
      QRectF rect;
      if (options & (kEtoOpaque | kEtoClipped)) {
        rect = QRectF(QPointF(r.w(4), r.w(5)), QPointF(r.w(6), r.w(7)));  // left, top, right, bottom
        word = 8;
      }
      const QString text = decodeText(r.bytes.bytes(6 + 2 * word, count), dc.fontCharset());
      std::vector<double> dx;
      const std::size_t dxWord = word + (count + 1) / 2;
      if (r.words() >= dxWord + count)
        for (std::size_t i = 0; i < count; ++i) dx.push_back(r.w(dxWord + i));
      return dc.text(QPointF(r.w(1), r.w(0)), text, options, rect, dx);
    }
    case kCreatePenIndirect:  // style, width (x, y), colour
      return dc.addObject(makePen(r.u(0), r.w(1), colourRef(r.dword(3))));
    case kCreateBrushIndirect:  // style, colour, hatch
      return dc.addObject(makeBrush(r.u(0), colourRef(r.dword(1)), r.u(3)));
    case kCreateFontIndirect:
      return dc.addObject(fontFrom(r));
    case kDibCreatePatternBrush: {  // style, colour usage, packed DIB
      GdiObject o = makeBrush(0, Qt::black, 0);
      const QImage pattern = readPackedDib(r.rest(2));
      if (!pattern.isNull()) o.brush = QBrush(pattern);
      return dc.addObject(o);
    }
    case kCreatePatternBrush:
    case kCreatePalette:
    case kCreateRegion:
      return dc.addObject(otherObject());
    case kSelectObject:
      return dc.selectObject(r.u(0));
    case kDeleteObject:
      return dc.deleteObject(r.u(0));
    case kStretchDib: {  // rop, usage, srcH, srcW, ySrc, xSrc, destH, destW, yDest, xDest, DIB
      const QImage image = readPackedDib(r.rest(11));
      const QRectF source = dibSourceRect(r.rest(11), image, QRectF(r.w(6), r.w(5), r.w(4), r.w(3)));
      const QRectF dest(r.w(10), r.w(9), r.w(8), r.w(7));
      return dc.image(dest, image, source, r.dword(0));
    }
    case kDibStretchBlt: {  // rop, srcH, srcW, ySrc, xSrc, destH, destW, yDest, xDest, DIB
      const bool noBitmap = r.words() == 10 + 1;
      if (noBitmap)  // rop, reserved, then the destination
        return dc.patternFill(QRectF(r.w(10), r.w(9), r.w(8), r.w(7)), r.dword(0));
      const QRectF source(r.w(5), r.w(4), r.w(3), r.w(2));
      const QRectF dest(r.w(9), r.w(8), r.w(7), r.w(6));
      return dc.image(dest, readPackedDib(r.rest(10)), source, r.dword(0));
    }
    case kDibBitBlt: {  // rop, ySrc, xSrc, height, width, yDest, xDest, DIB
      const bool noBitmap = r.words() == 8 + 1;
      if (noBitmap) return dc.patternFill(QRectF(r.w(8), r.w(7), r.w(6), r.w(5)), r.dword(0));
      const QRectF dest(r.w(7), r.w(6), r.w(5), r.w(4));
      const QRectF source(r.w(3), r.w(2), r.w(5), r.w(4));
      return dc.image(dest, readPackedDib(r.rest(8)), source, r.dword(0));
    }
    default:
      return;  // records without a picture of their own (palettes, escapes, regions) are skipped
  }
}

}  // namespace

QImage renderWmf(const Bytes& file) {
  std::size_t header = 0;
  QRectF frame;
  double unitsPerInch = 0;
  if (file.u32(0) == kPlaceableKey) {
    frame = QRectF(QPointF(file.i16(6), file.i16(8)), QPointF(file.i16(10), file.i16(12))).normalized();
    unitsPerInch = file.u16(14);
    header = 22;
  }
  const std::size_t records = header + 2 * std::size_t{file.u16(header + 2)};
  const std::size_t objects = file.u16(header + 10);

  // Without a placeable header the picture's size is the window extent the records set.
  if (unitsPerInch <= 0) {
    QPointF origin;
    QSizeF extent;
    for (std::size_t pos = records; file.has(pos, 6);) {
      const std::size_t size = 2 * std::size_t{file.u32(pos)};
      const std::uint16_t function = file.u16(pos + 4);
      if (size < 6 || function == kEof) break;
      if (function == kSetWindowOrg && size >= 10) origin = QPointF(file.i16(pos + 8), file.i16(pos + 6));
      if (function == kSetWindowExt && size >= 10 && extent.isEmpty())
        extent = QSizeF(file.i16(pos + 8), file.i16(pos + 6));
      pos += size;
    }
    if (extent.isEmpty()) return {};
    frame = QRectF(origin, extent);
    unitsPerInch = 96;
  }
  double fit = 1;
  QImage picture = blankPicture(frame.size() * 96 / unitsPerInch, &fit);
  if (picture.isNull()) return {};

  QPainter painter(&picture);
  Dc dc(painter, QTransform(), 96 / 25.4);
  dc.reserveTable(objects);
  // The frame fills the picture until the records set a mapping of their own.
  dc.setMapMode(8);
  dc.setWindowOrg(frame.topLeft());
  dc.setWindowExt(frame.size());
  dc.setViewportExt(QSizeF(picture.width(), picture.height()));
  for (std::size_t pos = records; file.has(pos, 6);) {
    const std::size_t size = 2 * std::size_t{file.u32(pos)};
    const std::uint16_t function = file.u16(pos + 4);
    if (size < 6 || function == kEof || !file.has(pos, size)) break;
    try {
      play(dc, Record{file.sub(pos, size), function});
    } catch (const OutOfRange&) {
      // a record that claims more than it holds is skipped
    }
    pos += size;
  }
  painter.end();
  return picture;
}

}  // namespace morvin::metafile
