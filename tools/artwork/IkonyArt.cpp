// Pictures of the Icons window: the five desktop objects with their names
// drawn under them (a Polish and an English set), and the Recycle Bin of the "Kosz systemowy" group. Drawn
// on a transparent background so they sit on any window colour.
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

#include "tools/artwork/ArtKit.h"
#include "tools/artwork/ArtRegistry.h"

namespace {

using namespace morvin::art;

constexpr int kWidth = 104;
constexpr int kHeight = 56;
const QRect kIcon((kWidth - 32) / 2, 2, 32, 32);

QImage transparent(int width, int height) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  return image;
}

QFont nameFont() {
  QFont font("Verdana");
  font.setFamilies({"Verdana", "DejaVu Sans"});
  font.setPixelSize(11);
  return font;
}

enum class Wrap { Never, WhenWide };

// The object's name under its icon, as the desktop shows it; an English name
// wider than the picture goes on two lines (the Polish set keeps its one line).
QImage withName(const char* utf8Name, void (*drawIcon)(QPainter&, const QRect&), Wrap wrap = Wrap::Never) {
  const QString name = QString::fromUtf8(utf8Name);
  const QFontMetrics metrics(nameFont());
  const bool wraps = wrap == Wrap::WhenWide && metrics.horizontalAdvance(name) > kWidth;
  QImage image = transparent(kWidth, wraps ? kHeight + metrics.lineSpacing() : kHeight);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  drawIcon(p, kIcon);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setFont(nameFont());
  p.setPen(Qt::black);
  p.drawText(QRect(0, kIcon.bottom() + 4, kWidth, image.height() - kIcon.bottom() - 4),
             Qt::AlignHCenter | Qt::AlignTop | (wraps ? Qt::TextWordWrap : 0), name);
  return image;
}

void myComputer(QPainter& p, const QRect& r) {
  p.setRenderHint(QPainter::Antialiasing, false);
  computer(p, r, kTeal);
}

void documentsFolder(QPainter& p, const QRect& r) {
  const QColor folder(0xF0, 0xD0, 0x60), edge(0x80, 0x60, 0x00);
  p.setPen(edge);
  p.setBrush(folder.darker(115));
  p.drawRect(r.x() + 1, r.y() + 6, r.width() - 3, r.height() - 10);  // back of the folder
  p.drawRect(r.x() + 1, r.y() + 3, 12, 4);                           // its tab
  p.setBrush(Qt::white);
  p.setPen(kShadow);
  p.drawRect(r.x() + 6, r.y() + 2, r.width() - 13, r.height() - 12);  // a sheet of paper
  for (int y = r.y() + 6; y < r.y() + 16; y += 3) p.drawLine(r.x() + 9, y, r.right() - 10, y);
  p.setPen(edge);
  p.setBrush(folder);
  p.drawRect(r.x() + 1, r.y() + 13, r.width() - 3, r.height() - 17);  // front
}

void internetGlobe(QPainter& p, const QRect& r) {
  const QRectF globe = QRectF(r).adjusted(2, 2, -2, -2);
  QRadialGradient sea(globe.center() - QPointF(5, 5), globe.width() / 1.4);
  sea.setColorAt(0, QColor(0x90, 0xC8, 0xFF));
  sea.setColorAt(1, QColor(0x10, 0x40, 0xB0));
  p.setPen(QPen(kNavy, 1));
  p.setBrush(sea);
  p.drawEllipse(globe);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xE0, 0xF0, 0xFF), 1));
  p.drawEllipse(globe.adjusted(globe.width() / 4, 0, -globe.width() / 4, 0));  // meridian
  p.drawLine(QPointF(globe.center().x(), globe.top()), QPointF(globe.center().x(), globe.bottom()));
  p.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));
  p.setPen(QPen(QColor(0x20, 0x90, 0x30), 1));
  p.setBrush(QColor(0x30, 0xB0, 0x40));
  QPainterPath land;
  land.moveTo(globe.left() + 6, globe.top() + 9);
  land.cubicTo(globe.left() + 12, globe.top() + 3, globe.left() + 17, globe.top() + 10, globe.left() + 13,
               globe.top() + 16);
  land.cubicTo(globe.left() + 9, globe.top() + 20, globe.left() + 4, globe.top() + 14, globe.left() + 6,
               globe.top() + 9);
  p.drawPath(land);
}

void binBasket(QPainter& p, const QRect& r) {
  const QColor wire(0x60, 0x60, 0x60);
  QPolygonF basket;
  basket << QPointF(r.x() + 5, r.y() + 8) << QPointF(r.right() - 5, r.y() + 8)
         << QPointF(r.right() - 8, r.bottom()) << QPointF(r.x() + 8, r.bottom());
  p.setPen(QPen(wire, 1));
  p.setBrush(QColor(0xE8, 0xE8, 0xE8));
  p.drawPolygon(basket);
  for (int i = 1; i < 5; ++i) {  // the wires
    const qreal top = r.x() + 5 + i * (r.width() - 10) / 5.0, bottom = r.x() + 8 + i * (r.width() - 16) / 5.0;
    p.drawLine(QPointF(top, r.y() + 8), QPointF(bottom, r.bottom()));
  }
  p.setBrush(QColor(0xC8, 0xC8, 0xC8));
  p.drawEllipse(QRectF(r.x() + 4, r.y() + 5, r.width() - 8, 6));  // the rim
}

void networkComputers(QPainter& p, const QRect& r) {
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QPen(Qt::black, 1));
  const int midY = r.y() + 20;
  p.drawLine(r.x() + 8, midY, r.right() - 8, midY);  // the cable
  p.drawLine(r.center().x(), r.y() + 12, r.center().x(), midY);
  computer(p, QRect(r.center().x() - 8, r.y(), 16, 14), kTeal);
  computer(p, QRect(r.x(), r.y() + 18, 16, 14), kTeal);
  computer(p, QRect(r.right() - 15, r.y() + 18, 16, 14), kTeal);
}

QImage recycleBin() {
  QImage image = transparent(48, 48);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  binBasket(p, QRect(2, 2, 44, 44));
  // A crumpled sheet thrown in.
  p.setPen(kShadow);
  p.setBrush(Qt::white);
  p.drawEllipse(QRectF(17, 4, 12, 9));
  return image;
}

const Registration computerPicture("Data/Gfx/Bmp/Ikony/MojKomputer.png",
                                   [] { return withName("Mój komputer", myComputer); });
const Registration documentsPicture("Data/Gfx/Bmp/Ikony/MojeDokumenty.png",
                                    [] { return withName("Moje dokumenty", documentsFolder); });
const Registration internetPicture("Data/Gfx/Bmp/Ikony/Internet.png",
                                   [] { return withName("Internet", internetGlobe); });
const Registration binPicture("Data/Gfx/Bmp/Ikony/Kosz.png", [] { return withName("Kosz", binBasket); });
const Registration networkPicture("Data/Gfx/Bmp/Ikony/OtoczenieSieciowe.png",
                                  [] { return withName("Otoczenie sieciowe", networkComputers); });
const Registration recycleBinPicture("Data/Gfx/Bmp/Ikony/KoszSystemowy.png", recycleBin);

// The English program's set: the names an English Windows 98 gives the objects.
const Registration englishComputerPicture("en/Data/Gfx/Bmp/Ikony/MojKomputer.png",
                                          [] { return withName("My Computer", myComputer, Wrap::WhenWide); });
const Registration englishDocumentsPicture("en/Data/Gfx/Bmp/Ikony/MojeDokumenty.png", [] {
  return withName("My Documents", documentsFolder, Wrap::WhenWide);
});
const Registration englishInternetPicture("en/Data/Gfx/Bmp/Ikony/Internet.png", [] {
  return withName("The Internet", internetGlobe, Wrap::WhenWide);
});
const Registration englishBinPicture("en/Data/Gfx/Bmp/Ikony/Kosz.png",
                                     [] { return withName("Recycle Bin", binBasket, Wrap::WhenWide); });
const Registration englishNetworkPicture("en/Data/Gfx/Bmp/Ikony/OtoczenieSieciowe.png", [] {
  return withName("Network Neighborhood", networkComputers, Wrap::WhenWide);
});

}  // namespace
