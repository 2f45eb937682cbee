// The drawing state a metafile's records act on, as a Windows device context
// keeps it: selected pen, brush and font, colours, text alignment, mapping of
// logical to device units, the current position, the object table and the
// path bracket. Everything is drawn with one QPainter.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QPolygonF>
#include <QTransform>
#include <vector>

namespace morvin::metafile {

// A COLORREF (0x00BBGGRR).
QColor colourRef(std::uint32_t value);

struct LogFont {
  double height = 0;      // logical units; negative: character height, positive: cell height
  double escapement = 0;  // tenths of a degree, counter-clockwise
  int weight = 400;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  int charset = 1;
  QString face;
};

struct GdiObject {
  enum class Type { Free, Pen, Brush, Font, Other };
  Type type = Type::Free;
  QPen pen;
  QBrush brush;
  LogFont font;
  bool cosmeticPen = true;
};

GdiObject makePen(unsigned style, double width, QColor colour);
GdiObject makeBrush(unsigned style, QColor colour, unsigned hatch);

// Text alignment flags (TA_...).
inline constexpr unsigned kTaUpdateCp = 1, kTaRight = 2, kTaCenter = 6, kTaBottom = 8, kTaBaseline = 24;
// ExtTextOut options.
inline constexpr unsigned kEtoOpaque = 2, kEtoClipped = 4;

class Dc {
 public:
  // `base` maps device units to picture pixels; `deviceUnitsPerMm` sizes the metric map modes.
  Dc(QPainter& painter, QTransform base, double deviceUnitsPerMm);

  // Object table.
  void reserveTable(std::size_t count);
  void addObject(const GdiObject& object);                     // lowest free slot (WMF)
  void putObject(std::size_t index, const GdiObject& object);  // given slot (EMF)
  void selectObject(std::size_t index);
  void selectStockObject(unsigned id);
  void deleteObject(std::size_t index);

  // State.
  void save();
  void restore(int which);  // negative: relative to the current level
  void setTextColour(QColor c) { s_.textColour = c; }
  void setBkColour(QColor c) { s_.bkColour = c; }
  void setBkMode(unsigned mode) { s_.opaqueBk = mode == 2; }
  void setTextAlign(unsigned align) { s_.textAlign = align; }
  void setPolyFillMode(unsigned mode) { s_.fillRule = mode == 2 ? Qt::WindingFill : Qt::OddEvenFill; }
  void setMapMode(int mode) { s_.mapMode = mode; }
  void setWindowOrg(QPointF p) { s_.windowOrg = p; }
  void setWindowExt(QSizeF s);
  void setViewportOrg(QPointF p) { s_.viewportOrg = p; }
  void setViewportExt(QSizeF s);
  QPointF windowOrg() const { return s_.windowOrg; }
  QPointF viewportOrg() const { return s_.viewportOrg; }
  QSizeF windowExt() const { return s_.windowExt; }
  QSizeF viewportExt() const { return s_.viewportExt; }
  void setWorldTransform(const QTransform& t) { s_.world = t; }
  const QTransform& worldTransform() const { return s_.world; }
  void setArcClockwise(bool clockwise) { s_.arcClockwise = clockwise; }
  void setRasterOp(std::uint32_t rop) { s_.rop = rop; }
  void intersectClip(const QRectF& logical);
  void excludeClip(const QRectF& logical);
  void setDeviceClip(const QPainterPath& deviceUnits, bool replace);
  void clearClip();

  // Drawing, in logical units.
  QPointF position() const { return s_.position; }
  void moveTo(QPointF p);
  void lineTo(QPointF p);
  void polyline(const QPolygonF& points);
  void polylineTo(const QPolygonF& points);
  void polygon(const QPolygonF& points);
  void polyPolygon(const std::vector<QPolygonF>& polygons);
  void polyBezier(const QPolygonF& points, bool fromCurrent);
  void rectangle(const QRectF& r);
  void roundRect(const QRectF& r, QSizeF corner);
  void ellipse(const QRectF& r);
  enum class ArcKind { Arc, ArcTo, Chord, Pie };
  void arc(const QRectF& r, QPointF start, QPointF end, ArcKind kind);
  void setPixel(QPointF p, QColor c);
  void text(QPointF at, const QString& text, unsigned options, const QRectF& rect,
            const std::vector<double>& dx);
  void image(const QRectF& dest, const QImage& image, const QRectF& source, std::uint32_t rop);
  void patternFill(const QRectF& dest, std::uint32_t rop);

  // Path bracket.
  void beginPath();
  void endPath() { s_.inPath = false; }
  void abortPath();
  void closeFigure();
  void fillPath();
  void strokePath();
  void strokeAndFillPath();

  // The charset of the selected font, for 8-bit texts.
  int fontCharset() const { return s_.font.font.charset; }
  // The transform of logical units to picture pixels.
  QTransform fullTransform() const;

 private:
  struct State {
    GdiObject pen, brush, font;
    QColor textColour = Qt::black;
    QColor bkColour = Qt::white;
    bool opaqueBk = true;
    unsigned textAlign = 0;
    Qt::FillRule fillRule = Qt::OddEvenFill;
    int mapMode = 1;
    QPointF windowOrg, viewportOrg;
    QSizeF windowExt{1, 1}, viewportExt{1, 1};
    QTransform world;
    QPointF position;
    bool arcClockwise = false;
    std::uint32_t rop = 13;  // R2_COPYPEN
    bool inPath = false;
  };

  QTransform pageTransform() const;
  void prepare(bool fill, bool stroke);
  void drawPath(const QPainterPath& logical, bool fill, bool stroke);
  QPainterPath arcPath(const QRectF& r, QPointF start, QPointF end, ArcKind kind) const;
  double scale() const;  // device pixels per logical unit (mean)
  QFont qfont(double* pixelSize) const;
  void addToPath(const QPainterPath& logical);
  QPen scaledPen() const;

  QPainter& p_;
  QTransform base_;
  double unitsPerMm_;
  State s_;
  std::vector<State> saved_;
  std::vector<GdiObject> table_;
  QPainterPath path_;  // picture pixels
};

}  // namespace morvin::metafile
