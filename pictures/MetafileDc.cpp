#include "MetafileDc.h"

#include <QFontMetricsF>
#include <QtMath>
#include <algorithm>
#include <cmath>

namespace morvin::metafile {

namespace {

constexpr unsigned kPsNull = 5;
constexpr unsigned kBsNull = 1, kBsHatched = 2;

Qt::PenStyle penStyle(unsigned style) {
  switch (style & 0xF) {
    case 1:
      return Qt::DashLine;
    case 2:
      return Qt::DotLine;
    case 3:
      return Qt::DashDotLine;
    case 4:
      return Qt::DashDotDotLine;
    case kPsNull:
      return Qt::NoPen;
    default:
      return Qt::SolidLine;
  }
}

Qt::BrushStyle hatchStyle(unsigned hatch) {
  static constexpr Qt::BrushStyle styles[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                              Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  return hatch < 6 ? styles[hatch] : Qt::SolidPattern;
}

// Raster operations of bitmaps, as QPainter composition modes.
QPainter::CompositionMode compositionFor(std::uint32_t rop) {
  switch (rop) {
    case 0x008800C6:  // SRCAND
      return QPainter::RasterOp_SourceAndDestination;
    case 0x00EE0086:  // SRCPAINT
      return QPainter::RasterOp_SourceOrDestination;
    case 0x00660046:  // SRCINVERT
      return QPainter::RasterOp_SourceXorDestination;
    default:
      return QPainter::CompositionMode_SourceOver;
  }
}

double normalisedSweep(double sweep, bool clockwise) {
  if (clockwise) {
    while (sweep >= 0) sweep -= 360;
    while (sweep < -360) sweep += 360;
  } else {
    while (sweep <= 0) sweep += 360;
    while (sweep > 360) sweep -= 360;
  }
  return sweep;
}

}  // namespace

QColor colourRef(std::uint32_t value) {
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

GdiObject makePen(unsigned style, double width, QColor colour) {
  GdiObject o;
  o.type = GdiObject::Type::Pen;
  o.pen = QPen(colour);
  o.pen.setStyle(penStyle(style));
  o.cosmeticPen = width <= 1;
  o.pen.setWidthF(o.cosmeticPen ? 0 : width);
  // Geometric pens: end caps and joins (PS_ENDCAP_*, PS_JOIN_*).
  switch (style & 0xF00) {
    case 0x100:
      o.pen.setCapStyle(Qt::SquareCap);
      break;
    case 0x200:
      o.pen.setCapStyle(Qt::FlatCap);
      break;
    default:
      o.pen.setCapStyle(Qt::RoundCap);
  }
  switch (style & 0xF000) {
    case 0x1000:
      o.pen.setJoinStyle(Qt::BevelJoin);
      break;
    case 0x2000:
      o.pen.setJoinStyle(Qt::MiterJoin);
      break;
    default:
      o.pen.setJoinStyle(Qt::RoundJoin);
  }
  return o;
}

GdiObject makeBrush(unsigned style, QColor colour, unsigned hatch) {
  GdiObject o;
  o.type = GdiObject::Type::Brush;
  if (style == kBsNull)
    o.brush = QBrush(Qt::NoBrush);
  else if (style == kBsHatched)
    o.brush = QBrush(colour, hatchStyle(hatch));
  else
    o.brush = QBrush(colour);
  return o;
}

Dc::Dc(QPainter& painter, QTransform base, double deviceUnitsPerMm)
    : p_(painter), base_(base), unitsPerMm_(deviceUnitsPerMm > 0 ? deviceUnitsPerMm : 96 / 25.4) {
  selectStockObject(7);   // BLACK_PEN
  selectStockObject(0);   // WHITE_BRUSH
  selectStockObject(13);  // SYSTEM_FONT
  p_.setRenderHint(QPainter::Antialiasing);
  p_.setRenderHint(QPainter::SmoothPixmapTransform);
}

void Dc::reserveTable(std::size_t count) {
  table_.resize(std::min<std::size_t>(count, 65536));
}

void Dc::addObject(const GdiObject& object) {
  for (auto& slot : table_)
    if (slot.type == GdiObject::Type::Free) {
      slot = object;
      return;
    }
  if (table_.size() < 65536) table_.push_back(object);
}

void Dc::putObject(std::size_t index, const GdiObject& object) {
  if (index >= 65536) return;
  if (index >= table_.size()) table_.resize(index + 1);
  table_[index] = object;
}

void Dc::selectObject(std::size_t index) {
  if (index >= table_.size()) return;
  const GdiObject& o = table_[index];
  switch (o.type) {
    case GdiObject::Type::Pen:
      s_.pen = o;
      break;
    case GdiObject::Type::Brush:
      s_.brush = o;
      break;
    case GdiObject::Type::Font:
      s_.font = o;
      break;
    default:
      break;
  }
}

void Dc::selectStockObject(unsigned id) {
  switch (id) {
    case 0:    // WHITE_BRUSH
    case 1:    // LTGRAY_BRUSH
    case 2:    // GRAY_BRUSH
    case 3:    // DKGRAY_BRUSH
    case 4: {  // BLACK_BRUSH
      static constexpr int greys[] = {255, 192, 128, 64, 0};
      s_.brush = makeBrush(0, QColor(greys[id], greys[id], greys[id]), 0);
      break;
    }
    case 5:
      s_.brush = makeBrush(kBsNull, Qt::black, 0);
      break;
    case 6:
      s_.pen = makePen(0, 0, Qt::white);
      break;
    case 7:
      s_.pen = makePen(0, 0, Qt::black);
      break;
    case 8:
      s_.pen = makePen(kPsNull, 0, Qt::black);
      break;
    default:
      if (id >= 10 && id <= 17) {
        s_.font = GdiObject{};
        s_.font.type = GdiObject::Type::Font;
      }
  }
}

void Dc::deleteObject(std::size_t index) {
  if (index < table_.size()) table_[index] = GdiObject{};
}

void Dc::save() {
  saved_.push_back(s_);
  p_.save();
}

void Dc::restore(int which) {
  // Negative: that many levels back; positive: the absolute level.
  int levels = which < 0 ? -which : static_cast<int>(saved_.size()) - which + 1;
  if (levels <= 0 || levels > static_cast<int>(saved_.size())) return;
  while (levels-- > 0) {
    s_ = saved_.back();
    saved_.pop_back();
    p_.restore();
  }
}

void Dc::setWindowExt(QSizeF s) {
  if (s.width() != 0 && s.height() != 0) s_.windowExt = s;
}

void Dc::setViewportExt(QSizeF s) {
  if (s.width() != 0 && s.height() != 0) s_.viewportExt = s;
}

QTransform Dc::pageTransform() const {
  double sx = 1, sy = 1;
  switch (s_.mapMode) {
    case 2:  // MM_LOMETRIC, 0.1 mm, y up
      sx = unitsPerMm_ * 0.1, sy = -sx;
      break;
    case 3:  // MM_HIMETRIC, 0.01 mm
      sx = unitsPerMm_ * 0.01, sy = -sx;
      break;
    case 4:  // MM_LOENGLISH, 0.01 inch
      sx = unitsPerMm_ * 0.254, sy = -sx;
      break;
    case 5:  // MM_HIENGLISH, 0.001 inch
      sx = unitsPerMm_ * 0.0254, sy = -sx;
      break;
    case 6:  // MM_TWIPS
      sx = unitsPerMm_ * 25.4 / 1440, sy = -sx;
      break;
    case 7:    // MM_ISOTROPIC
    case 8: {  // MM_ANISOTROPIC
      sx = s_.viewportExt.width() / s_.windowExt.width();
      sy = s_.viewportExt.height() / s_.windowExt.height();
      if (s_.mapMode == 7) {
        const double m = std::min(std::abs(sx), std::abs(sy));
        sx = std::copysign(m, sx), sy = std::copysign(m, sy);
      }
      break;
    }
    default:
      break;
  }
  return QTransform(sx, 0, 0, sy, s_.viewportOrg.x() - s_.windowOrg.x() * sx,
                    s_.viewportOrg.y() - s_.windowOrg.y() * sy);
}

QTransform Dc::fullTransform() const {
  return s_.world * pageTransform() * base_;
}

double Dc::scale() const {
  const QTransform t = fullTransform();
  return std::sqrt(std::abs(t.determinant()));
}

void Dc::intersectClip(const QRectF& logical) {
  p_.setTransform(fullTransform());
  p_.setClipRect(logical.normalized(), p_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void Dc::excludeClip(const QRectF& logical) {
  p_.setTransform(fullTransform());
  QPainterPath outside;
  outside.addRect(fullTransform().inverted().mapRect(QRectF(-1e6, -1e6, 2e6, 2e6)));
  QPainterPath hole;
  hole.addRect(logical.normalized());
  p_.setClipPath(outside.subtracted(hole), p_.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
}

void Dc::setDeviceClip(const QPainterPath& deviceUnits, bool replace) {
  p_.setTransform(base_);
  p_.setClipPath(deviceUnits, replace || !p_.hasClipping() ? Qt::ReplaceClip : Qt::IntersectClip);
}

void Dc::clearClip() {
  p_.setClipping(false);
}

QPen Dc::scaledPen() const {
  QPen pen = s_.pen.pen;
  if (!s_.pen.cosmeticPen) pen.setWidthF(pen.widthF() * scale());
  return pen;
}

void Dc::prepare(bool fill, bool stroke) {
  p_.setTransform(fullTransform());
  p_.setPen(stroke ? s_.pen.pen : QPen(Qt::NoPen));
  p_.setBrush(fill ? s_.brush.brush : QBrush(Qt::NoBrush));
  p_.setCompositionMode(s_.rop == 6 ? QPainter::RasterOp_NotDestination
                                    : QPainter::CompositionMode_SourceOver);
}

void Dc::addToPath(const QPainterPath& logical) {
  path_.addPath(fullTransform().map(logical));
}

void Dc::drawPath(const QPainterPath& logical, bool fill, bool stroke) {
  if (s_.inPath) return addToPath(logical);
  const Qt::BrushStyle style = s_.brush.brush.style();
  if (fill && s_.opaqueBk && style >= Qt::HorPattern && style <= Qt::DiagCrossPattern) {
    // A hatched brush on an opaque background fills the gaps with the background colour.
    prepare(false, false);
    p_.setBrush(s_.bkColour);
    p_.drawPath(logical);
  }
  prepare(fill, stroke);
  p_.drawPath(logical);
}

void Dc::moveTo(QPointF p) {
  s_.position = p;
  if (s_.inPath) path_.moveTo(fullTransform().map(p));
}

void Dc::lineTo(QPointF p) {
  if (s_.inPath) {
    if (path_.elementCount() == 0) path_.moveTo(fullTransform().map(s_.position));
    path_.lineTo(fullTransform().map(p));
  } else {
    prepare(false, true);
    p_.drawLine(s_.position, p);
  }
  s_.position = p;
}

void Dc::polyline(const QPolygonF& points) {
  if (points.size() < 2) return;
  QPainterPath path;
  path.addPolygon(points);
  drawPath(path, false, true);
}

void Dc::polylineTo(const QPolygonF& points) {
  for (const QPointF& p : points) lineTo(p);
}

void Dc::polygon(const QPolygonF& points) {
  if (points.size() < 2) return;
  QPainterPath path;
  path.setFillRule(s_.fillRule);
  path.addPolygon(points);
  path.closeSubpath();
  drawPath(path, true, true);
}

void Dc::polyPolygon(const std::vector<QPolygonF>& polygons) {
  QPainterPath path;
  path.setFillRule(s_.fillRule);
  for (const QPolygonF& polygon : polygons) {
    if (polygon.size() < 2) continue;
    path.addPolygon(polygon);
    path.closeSubpath();
  }
  drawPath(path, true, true);
}

void Dc::polyBezier(const QPolygonF& points, bool fromCurrent) {
  QPainterPath path;
  qsizetype i = 0;
  if (fromCurrent) {
    path.moveTo(s_.position);
  } else {
    if (points.isEmpty()) return;
    path.moveTo(points[0]);
    i = 1;
  }
  for (; i + 2 < points.size(); i += 3) path.cubicTo(points[i], points[i + 1], points[i + 2]);
  if (fromCurrent && !points.isEmpty()) s_.position = path.currentPosition();
  if (s_.inPath) {
    if (fromCurrent && path_.elementCount() > 0) {
      // Continue the open figure instead of starting a new one.
      const QPainterPath mapped = fullTransform().map(path);
      for (int e = 1; e + 2 < mapped.elementCount(); e += 3) {
        path_.cubicTo(mapped.elementAt(e), mapped.elementAt(e + 1), mapped.elementAt(e + 2));
      }
      return;
    }
    return addToPath(path);
  }
  prepare(false, true);
  p_.drawPath(path);
}

void Dc::rectangle(const QRectF& r) {
  QPainterPath path;
  path.addRect(r.normalized());
  drawPath(path, true, true);
}

void Dc::roundRect(const QRectF& r, QSizeF corner) {
  QPainterPath path;
  path.addRoundedRect(r.normalized(), std::abs(corner.width()) / 2, std::abs(corner.height()) / 2);
  drawPath(path, true, true);
}

void Dc::ellipse(const QRectF& r) {
  QPainterPath path;
  path.addEllipse(r.normalized());
  drawPath(path, true, true);
}

QPainterPath Dc::arcPath(const QRectF& rect, QPointF start, QPointF end, ArcKind kind) const {
  const QRectF r = rect.normalized();
  const QPointF c = r.center();
  const double a0 = qRadiansToDegrees(std::atan2(-(start.y() - c.y()), start.x() - c.x()));
  const double a1 = qRadiansToDegrees(std::atan2(-(end.y() - c.y()), end.x() - c.x()));
  const double sweep = normalisedSweep(a1 - a0, s_.arcClockwise);
  QPainterPath path;
  if (kind == ArcKind::Pie) {
    path.moveTo(c);
    path.arcTo(r, a0, sweep);
    path.closeSubpath();
  } else {
    path.arcMoveTo(r, a0);
    if (kind == ArcKind::ArcTo) {
      QPainterPath withLine;
      withLine.moveTo(s_.position);
      withLine.lineTo(path.currentPosition());
      withLine.arcTo(r, a0, sweep);
      return withLine;
    }
    path.arcTo(r, a0, sweep);
    if (kind == ArcKind::Chord) path.closeSubpath();
  }
  return path;
}

void Dc::arc(const QRectF& r, QPointF start, QPointF end, ArcKind kind) {
  const QPainterPath path = arcPath(r, start, end, kind);
  const bool closed = kind == ArcKind::Chord || kind == ArcKind::Pie;
  drawPath(path, closed, true);
  if (kind == ArcKind::ArcTo) s_.position = path.currentPosition();
}

void Dc::setPixel(QPointF p, QColor c) {
  p_.setTransform(QTransform());
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p_.fillRect(QRectF(fullTransform().map(p), QSizeF(1, 1)), c);
}

QFont Dc::qfont(double* pixelSize) const {
  const LogFont& f = s_.font.font;
  QFont font;
  if (!f.face.isEmpty()) font.setFamilies({f.face, QStringLiteral("DejaVu Sans")});
  // A positive height is the cell (ascent and descent), a negative one the character alone.
  double px = f.height < 0 ? -f.height : f.height / 1.15;
  const QTransform t = fullTransform();
  px *= std::hypot(t.m21(), t.m22());  // the height follows the vertical scale
  if (f.height == 0) px = 16;          // the device's default size
  *pixelSize = std::clamp(px, 1.0, 4096.0);
  font.setPixelSize(std::max(1, qRound(*pixelSize)));
  font.setWeight(static_cast<QFont::Weight>(std::clamp(f.weight ? f.weight : 400, 100, 900)));
  font.setItalic(f.italic);
  font.setUnderline(f.underline);
  font.setStrikeOut(f.strikeOut);
  return font;
}

void Dc::text(QPointF at, const QString& text, unsigned options, const QRectF& rect,
              const std::vector<double>& dx) {
  const bool updateCp = s_.textAlign & kTaUpdateCp;
  if (updateCp) at = s_.position;
  const QTransform t = fullTransform();
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p_.save();
  if (options & (kEtoOpaque | kEtoClipped)) {
    p_.setTransform(t);
    if (options & kEtoOpaque) p_.fillRect(rect.normalized(), s_.bkColour);
    if (options & kEtoClipped) p_.setClipRect(rect.normalized(), Qt::IntersectClip);
  }
  double pixelSize = 0;
  const QFont font = qfont(&pixelSize);
  const QFontMetricsF metrics(font);
  // Character positions: the dx array (logical units) when given, else the font's advances.
  const double xScale = std::hypot(t.m11(), t.m12());
  std::vector<double> offsets;
  double width = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    offsets.push_back(width);
    width += static_cast<std::size_t>(i) < dx.size() ? dx[static_cast<std::size_t>(i)] * xScale
                                                     : metrics.horizontalAdvance(text.at(i));
  }
  double x = 0, y = 0;
  if ((s_.textAlign & kTaCenter) == kTaCenter)
    x = -width / 2;
  else if (s_.textAlign & kTaRight)
    x = -width;
  if ((s_.textAlign & kTaBaseline) == kTaBaseline)
    y = 0;
  else if (s_.textAlign & kTaBottom)
    y = -metrics.descent();
  else
    y = metrics.ascent();
  p_.setTransform(QTransform());
  p_.translate(t.map(at));
  p_.rotate(-s_.font.font.escapement / 10.0);
  if (s_.opaqueBk && !(options & kEtoOpaque))
    p_.fillRect(QRectF(x, y - metrics.ascent(), width, metrics.height()), s_.bkColour);
  p_.setFont(font);
  p_.setPen(s_.textColour);
  if (dx.empty()) {
    p_.drawText(QPointF(x, y), text);
  } else {
    for (qsizetype i = 0; i < text.size(); ++i)
      p_.drawText(QPointF(x + offsets[static_cast<std::size_t>(i)], y), QString(text.at(i)));
  }
  p_.restore();
  if (updateCp && xScale > 0) s_.position = at + QPointF(width / xScale, 0);
}

void Dc::image(const QRectF& dest, const QImage& image, const QRectF& source, std::uint32_t rop) {
  if (image.isNull() || s_.inPath) return;
  p_.setTransform(fullTransform());
  p_.setCompositionMode(compositionFor(rop));
  p_.drawImage(dest, image, source.isEmpty() ? QRectF(image.rect()) : source);
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void Dc::patternFill(const QRectF& dest, std::uint32_t rop) {
  if (s_.inPath) return;
  p_.setTransform(fullTransform());
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  switch (rop) {
    case 0x00000042:  // BLACKNESS
      p_.fillRect(dest.normalized(), Qt::black);
      break;
    case 0x00FF0062:  // WHITENESS
      p_.fillRect(dest.normalized(), Qt::white);
      break;
    case 0x00F00021:  // PATCOPY
      p_.fillRect(dest.normalized(), s_.brush.brush);
      break;
    default:
      break;  // other operations on the destination alone are left out
  }
}

void Dc::beginPath() {
  path_ = QPainterPath();
  s_.inPath = true;
}

void Dc::abortPath() {
  path_ = QPainterPath();
  s_.inPath = false;
}

void Dc::closeFigure() {
  if (s_.inPath) path_.closeSubpath();
}

void Dc::fillPath() {
  path_.setFillRule(s_.fillRule);
  p_.setTransform(QTransform());
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p_.fillPath(path_, s_.brush.brush);
  path_ = QPainterPath();
}

void Dc::strokePath() {
  p_.setTransform(QTransform());
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p_.strokePath(path_, scaledPen());
  path_ = QPainterPath();
}

void Dc::strokeAndFillPath() {
  path_.setFillRule(s_.fillRule);
  p_.setTransform(QTransform());
  p_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p_.fillPath(path_, s_.brush.brush);
  p_.strokePath(path_, scaledPen());
  path_ = QPainterPath();
}

}  // namespace morvin::metafile
