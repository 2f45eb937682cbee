// Enhanced metafiles (32-bit records).
#include <cmath>

#include "MetafileDc.h"
#include "MetafileDib.h"
#include "MetafilePlayers.h"

namespace morvin::metafile {

namespace {

enum : std::uint32_t {
  kHeader = 1,
  kPolyBezier = 2,
  kPolygon = 3,
  kPolyline = 4,
  kPolyBezierTo = 5,
  kPolylineTo = 6,
  kPolyPolyline = 7,
  kPolyPolygon = 8,
  kSetWindowExtEx = 9,
  kSetWindowOrgEx = 10,
  kSetViewportExtEx = 11,
  kSetViewportOrgEx = 12,
  kEof = 14,
  kSetPixelV = 15,
  kSetMapMode = 17,
  kSetBkMode = 18,
  kSetPolyFillMode = 19,
  kSetRop2 = 20,
  kSetTextAlign = 22,
  kSetTextColor = 24,
  kSetBkColor = 25,
  kMoveToEx = 27,
  kExcludeClipRect = 29,
  kIntersectClipRect = 30,
  kScaleViewportExtEx = 31,
  kScaleWindowExtEx = 32,
  kSaveDc = 33,
  kRestoreDc = 34,
  kSetWorldTransform = 35,
  kModifyWorldTransform = 36,
  kSelectObject = 37,
  kCreatePen = 38,
  kCreateBrushIndirect = 39,
  kDeleteObject = 40,
  kAngleArc = 41,
  kEllipse = 42,
  kRectangle = 43,
  kRoundRect = 44,
  kArc = 45,
  kChord = 46,
  kPie = 47,
  kCreatePalette = 49,
  kLineTo = 54,
  kArcTo = 55,
  kSetArcDirection = 57,
  kBeginPath = 59,
  kEndPath = 60,
  kCloseFigure = 61,
  kFillPath = 62,
  kStrokeAndFillPath = 63,
  kStrokePath = 64,
  kAbortPath = 68,
  kExtSelectClipRgn = 75,
  kBitBlt = 76,
  kStretchBlt = 77,
  kSetDiBitsToDevice = 80,
  kStretchDiBits = 81,
  kExtCreateFontIndirectW = 82,
  kExtTextOutA = 83,
  kExtTextOutW = 84,
  kPolyBezier16 = 85,
  kPolygon16 = 86,
  kPolyline16 = 87,
  kPolyBezierTo16 = 88,
  kPolylineTo16 = 89,
  kPolyPolyline16 = 90,
  kPolyPolygon16 = 91,
  kCreateMonoBrush = 93,
  kCreateDibPatternBrushPt = 94,
  kExtCreatePen = 95,
};

constexpr std::uint32_t kStockFlag = 0x80000000;

QPointF point(const Bytes& r, std::size_t o) {
  return QPointF(r.i32(o), r.i32(o + 4));
}

QRectF rectAt(const Bytes& r, std::size_t o) {
  return QRectF(point(r, o), point(r, o + 8));
}

QSizeF sizeAt(const Bytes& r, std::size_t o) {
  return QSizeF(r.i32(o), r.i32(o + 4));
}

QPolygonF pointsAt(const Bytes& r, std::size_t o, std::size_t count, bool small) {
  if (!r.has(o, count * (small ? 4 : 8))) throw OutOfRange();
  QPolygonF polygon;
  polygon.reserve(static_cast<qsizetype>(count));
  for (std::size_t i = 0; i < count; ++i)
    polygon.append(small ? QPointF(r.i16(o + 4 * i), r.i16(o + 4 * i + 2)) : point(r, o + 8 * i));
  return polygon;
}

// bounds, count, points
QPolygonF polyPoints(const Bytes& r, bool small) {
  return pointsAt(r, 28, r.u32(24), small);
}

// bounds, number of polygons, number of points, counts, points
std::vector<QPolygonF> polyPolyPoints(const Bytes& r, bool small) {
  const std::size_t n = r.u32(24);
  if (!r.has(32, 4 * n)) throw OutOfRange();
  std::vector<QPolygonF> polygons;
  std::size_t offset = 32 + 4 * n;
  for (std::size_t i = 0; i < n; ++i) {
    const std::size_t count = r.u32(32 + 4 * i);
    polygons.push_back(pointsAt(r, offset, count, small));
    offset += count * (small ? 4 : 8);
  }
  return polygons;
}

QTransform xform(const Bytes& r, std::size_t o) {
  return QTransform(r.f32(o), r.f32(o + 4), r.f32(o + 8), r.f32(o + 12), r.f32(o + 16), r.f32(o + 20));
}

// A bitmap held in the record: its BITMAPINFO and its rows at the given offsets.
QImage bitmapAt(const Bytes& r, std::size_t infoOffset, std::size_t infoSize, std::size_t bitsOffset,
                std::size_t bitsSize) {
  if (infoSize == 0 || bitsSize == 0) return {};
  return readDib(r.sub(infoOffset, infoSize), r.sub(bitsOffset, bitsSize));
}

GdiObject fontAt(const Bytes& r) {
  GdiObject o;
  o.type = GdiObject::Type::Font;
  o.font.height = r.i32(12);
  o.font.escapement = r.i32(20);
  o.font.weight = r.i32(28);
  o.font.italic = r.u8(32) != 0;
  o.font.underline = r.u8(33) != 0;
  o.font.strikeOut = r.u8(34) != 0;
  o.font.charset = r.u8(35);
  QString face = r.utf16(40, 32);
  face.truncate(face.indexOf(QChar(0)) < 0 ? face.size() : face.indexOf(QChar(0)));
  o.font.face = face;
  return o;
}

void text(Dc& dc, const Bytes& r, bool wide) {
  const QPointF reference = point(r, 36);
  const std::size_t count = r.u32(44);
  const std::size_t offString = r.u32(48);
  const unsigned options = r.u32(52);
  const QRectF rect = rectAt(r, 56);
  const std::size_t offDx = r.u32(72);
  const QString s =
      wide ? r.utf16(offString, count) : decodeText(r.bytes(offString, count), dc.fontCharset());
  std::vector<double> dx;
  const bool pairs = options & 0x2000;  // ETO_PDY: x and y advances
  if (offDx && r.has(offDx, count * (pairs ? 8 : 4)))
    for (std::size_t i = 0; i < count; ++i) dx.push_back(r.i32(offDx + i * (pairs ? 8 : 4)));
  dc.text(reference, s, options, rect, dx);
}

void play(Dc& dc, const Bytes& r, std::uint32_t type) {
  switch (type) {
    case kPolyBezier:
    case kPolyBezier16:
      return dc.polyBezier(polyPoints(r, type == kPolyBezier16), false);
    case kPolyBezierTo:
    case kPolyBezierTo16:
      return dc.polyBezier(polyPoints(r, type == kPolyBezierTo16), true);
    case kPolygon:
    case kPolygon16:
      return dc.polygon(polyPoints(r, type == kPolygon16));
    case kPolyline:
    case kPolyline16:
      return dc.polyline(polyPoints(r, type == kPolyline16));
    case kPolylineTo:
    case kPolylineTo16:
      return dc.polylineTo(polyPoints(r, type == kPolylineTo16));
    case kPolyPolygon:
    case kPolyPolygon16:
      return dc.polyPolygon(polyPolyPoints(r, type == kPolyPolygon16));
    case kPolyPolyline:
    case kPolyPolyline16:
      for (const QPolygonF& line : polyPolyPoints(r, type == kPolyPolyline16)) dc.polyline(line);
      return;
    case kSetWindowExtEx:
      return dc.setWindowExt(sizeAt(r, 8));
    case kSetWindowOrgEx:
      return dc.setWindowOrg(point(r, 8));
    case kSetViewportExtEx:
      return dc.setViewportExt(sizeAt(r, 8));
    case kSetViewportOrgEx:
      return dc.setViewportOrg(point(r, 8));
    case kScaleViewportExtEx:
    case kScaleWindowExtEx: {  // xNum, xDenom, yNum, yDenom
      if (r.i32(12) == 0 || r.i32(20) == 0) return;
      const bool window = type == kScaleWindowExtEx;
      const QSizeF ext = window ? dc.windowExt() : dc.viewportExt();
      const QSizeF scaled(ext.width() * r.i32(8) / r.i32(12), ext.height() * r.i32(16) / r.i32(20));
      return window ? dc.setWindowExt(scaled) : dc.setViewportExt(scaled);
    }
    case kSetPixelV:
      return dc.setPixel(point(r, 8), colourRef(r.u32(16)));
    case kSetMapMode:
      return dc.setMapMode(static_cast<int>(r.u32(8)));
    case kSetBkMode:
      return dc.setBkMode(r.u32(8));
    case kSetPolyFillMode:
      return dc.setPolyFillMode(r.u32(8));
    case kSetRop2:
      return dc.setRasterOp(r.u32(8));
    case kSetTextAlign:
      return dc.setTextAlign(r.u32(8));
    case kSetTextColor:
      return dc.setTextColour(colourRef(r.u32(8)));
    case kSetBkColor:
      return dc.setBkColour(colourRef(r.u32(8)));
    case kMoveToEx:
      return dc.moveTo(point(r, 8));
    case kLineTo:
      return dc.lineTo(point(r, 8));
    case kExcludeClipRect:
      return dc.excludeClip(rectAt(r, 8));
    case kIntersectClipRect:
      return dc.intersectClip(rectAt(r, 8));
    case kSaveDc:
      return dc.save();
    case kRestoreDc:
      return dc.restore(r.i32(8));
    case kSetWorldTransform:
      return dc.setWorldTransform(xform(r, 8));
    case kModifyWorldTransform:
      switch (r.u32(32)) {
        case 1:  // MWT_IDENTITY
          return dc.setWorldTransform(QTransform());
        case 2:  // MWT_LEFTMULTIPLY: the new transform applies first
          return dc.setWorldTransform(xform(r, 8) * dc.worldTransform());
        case 3:  // MWT_RIGHTMULTIPLY
          return dc.setWorldTransform(dc.worldTransform() * xform(r, 8));
        case 4:  // MWT_SET
          return dc.setWorldTransform(xform(r, 8));
        default:
          return;
      }
    case kSelectObject: {
      const std::uint32_t index = r.u32(8);
      return index & kStockFlag ? dc.selectStockObject(index & ~kStockFlag) : dc.selectObject(index);
    }
    case kDeleteObject:
      return dc.deleteObject(r.u32(8));
    case kCreatePen:  // index, style, width (x, y), colour
      return dc.putObject(r.u32(8), makePen(r.u32(12), r.i32(16), colourRef(r.u32(24))));
    case kExtCreatePen: {  // index, bitmap offsets, style, width, brush style, colour, hatch
      const std::uint32_t style = r.u32(28);
      const bool geometric = style & 0x10000;
      GdiObject pen = makePen(style, geometric ? r.u32(32) : 0, colourRef(r.u32(40)));
      if (r.u32(36) == 1) pen.pen.setStyle(Qt::NoPen);  // BS_NULL
      return dc.putObject(r.u32(8), pen);
    }
    case kCreateBrushIndirect:  // index, style, colour, hatch
      return dc.putObject(r.u32(8), makeBrush(r.u32(12), colourRef(r.u32(16)), r.u32(20)));
    case kCreateMonoBrush:
    case kCreateDibPatternBrushPt: {  // index, usage, bitmap info and rows
      GdiObject brush = makeBrush(0, Qt::black, 0);
      const QImage pattern = bitmapAt(r, r.u32(16), r.u32(20), r.u32(24), r.u32(28));
      if (!pattern.isNull()) brush.brush = QBrush(pattern);
      return dc.putObject(r.u32(8), brush);
    }
    case kExtCreateFontIndirectW:
      return dc.putObject(r.u32(8), fontAt(r));
    case kCreatePalette: {
      GdiObject other;
      other.type = GdiObject::Type::Other;
      return dc.putObject(r.u32(8), other);
    }
    case kEllipse:
      return dc.ellipse(rectAt(r, 8));
    case kRectangle:
      return dc.rectangle(rectAt(r, 8));
    case kRoundRect:
      return dc.roundRect(rectAt(r, 8), sizeAt(r, 24));
    case kArc:
    case kArcTo:
    case kChord:
    case kPie: {
      const auto kind = type == kArc     ? Dc::ArcKind::Arc
                        : type == kArcTo ? Dc::ArcKind::ArcTo
                        : type == kChord ? Dc::ArcKind::Chord
                                         : Dc::ArcKind::Pie;
      return dc.arc(rectAt(r, 8), point(r, 24), point(r, 32), kind);
    }
    case kAngleArc: {  // centre, radius, start angle, sweep angle (degrees, counter-clockwise)
      const QPointF c = point(r, 8);
      const double radius = r.u32(16);
      const double start = r.f32(20), sweep = r.f32(24);
      if (!std::isfinite(start) || !std::isfinite(sweep) || radius > 1e7) return;
      const QRectF box(c.x() - radius, c.y() - radius, 2 * radius, 2 * radius);
      const auto at = [&](double degrees) {
        const double a = degrees * M_PI / 180;
        return QPointF(c.x() + radius * std::cos(a), c.y() - radius * std::sin(a));
      };
      dc.lineTo(at(start));
      if (std::abs(sweep) >= 360) return dc.ellipse(box);
      dc.setArcClockwise(sweep < 0);
      dc.arc(box, at(start), at(start + sweep), Dc::ArcKind::ArcTo);
      return dc.setArcClockwise(false);
    }
    case kSetArcDirection:
      return dc.setArcClockwise(r.u32(8) == 2);
    case kBeginPath:
      return dc.beginPath();
    case kEndPath:
      return dc.endPath();
    case kCloseFigure:
      return dc.closeFigure();
    case kFillPath:
      return dc.fillPath();
    case kStrokePath:
      return dc.strokePath();
    case kStrokeAndFillPath:
      return dc.strokeAndFillPath();
    case kAbortPath:
      return dc.abortPath();
    case kExtSelectClipRgn: {  // size of the region data, mode, RGNDATA (in device units)
      const std::size_t size = r.u32(8);
      const std::uint32_t mode = r.u32(12);
      if (size == 0) return mode == 5 ? dc.clearClip() : void();
      const std::size_t count = r.u32(16 + 8);
      QPainterPath region;
      for (std::size_t i = 0; i < count && i < 100000; ++i)
        region.addRect(rectAt(r, 16 + 32 + 16 * i).normalized());
      return dc.setDeviceClip(region, mode != 1);  // RGN_AND intersects, the rest replaces
    }
    case kBitBlt:
    case kStretchBlt: {
      const QRectF dest(point(r, 24), sizeAt(r, 32));
      const std::uint32_t rop = r.u32(40);
      const std::size_t infoSize = r.u32(88);
      if (infoSize == 0) return dc.patternFill(dest, rop);
      const QImage image = bitmapAt(r, r.u32(84), infoSize, r.u32(92), r.u32(96));
      const QRectF source(point(r, 44), type == kStretchBlt ? sizeAt(r, 100) : sizeAt(r, 32));
      return dc.image(dest, image, source, rop);
    }
    case kSetDiBitsToDevice: {
      const QImage image = bitmapAt(r, r.u32(48), r.u32(52), r.u32(56), r.u32(60));
      const QRectF source =
          dibSourceRect(r.sub(r.u32(48), r.u32(52)), image, QRectF(point(r, 32), sizeAt(r, 40)));
      return dc.image(QRectF(point(r, 24), sizeAt(r, 40)), image, source, 0x00CC0020);
    }
    case kStretchDiBits: {
      const QImage image = bitmapAt(r, r.u32(48), r.u32(52), r.u32(56), r.u32(60));
      const QRectF source =
          dibSourceRect(r.sub(r.u32(48), r.u32(52)), image, QRectF(point(r, 32), sizeAt(r, 40)));
      return dc.image(QRectF(point(r, 24), sizeAt(r, 72)), image, source, r.u32(68));
    }
    case kExtTextOutA:
    case kExtTextOutW:
      return text(dc, r, type == kExtTextOutW);
    default:
      return;  // palettes, comments, colour adjustment and the like are skipped
  }
}

}  // namespace

QImage renderEmf(const Bytes& file) {
  const QRectF bounds = QRectF(point(file, 8), point(file, 16)).normalized();
  const QRectF frame = QRectF(point(file, 24), point(file, 32)).normalized();  // 0.01 mm
  const QSizeF device = sizeAt(file, 72), millimetres = sizeAt(file, 80);
  const double pixelsPerMm = 96 / 25.4;

  // Device units of the reference device onto picture pixels at 96 dpi.
  QTransform base;
  QSizeF size;
  if (frame.width() > 0 && frame.height() > 0 && device.width() > 0 && device.height() > 0 &&
      millimetres.width() > 0 && millimetres.height() > 0) {
    const double unitsPerMmX = device.width() / millimetres.width();
    const double unitsPerMmY = device.height() / millimetres.height();
    base = QTransform(pixelsPerMm / unitsPerMmX, 0, 0, pixelsPerMm / unitsPerMmY,
                      -frame.left() / 100 * pixelsPerMm, -frame.top() / 100 * pixelsPerMm);
    size = QSizeF(frame.width() / 100 * pixelsPerMm, frame.height() / 100 * pixelsPerMm);
  } else {
    base = QTransform::fromTranslate(-bounds.left(), -bounds.top());
    size = bounds.size() + QSizeF(1, 1);
  }
  double fit = 1;
  QImage picture = blankPicture(size, &fit);
  if (picture.isNull()) return {};
  base *= QTransform::fromScale(fit, fit);
  const double unitsPerMm = millimetres.width() > 0 ? device.width() / millimetres.width() : pixelsPerMm;

  QPainter painter(&picture);
  Dc dc(painter, base, unitsPerMm);
  dc.reserveTable(file.u16(56));
  for (std::size_t pos = file.u32(4); file.has(pos, 8);) {
    const std::uint32_t type = file.u32(pos);
    const std::size_t size = file.u32(pos + 4);
    if (size < 8 || size % 4 != 0 || !file.has(pos, size) || type == kEof) break;
    try {
      play(dc, file.sub(pos, size), type);
    } catch (const OutOfRange&) {
      // a record that claims more than it holds is skipped
    }
    pos += size;
  }
  painter.end();
  return picture;
}

}  // namespace morvin::metafile
