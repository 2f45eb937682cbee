// The main window's pictures, the settings picture, the program icon and the
// Network window's picture.
#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>

#include "tools/artwork/ArtKit.h"
#include "tools/artwork/ArtRegistry.h"

namespace morvin::art {
namespace {

QFont font(int pixelSize, bool bold) {
  QFont f;
  f.setFamilies({QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans")});
  f.setPixelSize(pixelSize);
  f.setBold(bold);
  f.setHintingPreference(QFont::PreferFullHinting);
  return f;
}

// The Start menu's vertical strip: a navy-to-blue band with the program's
// name written bottom to top.
QImage menuStrip() {
  QImage image = canvas(21, 323, kNavy);
  QPainter p(&image);
  QLinearGradient band(0, image.height(), 0, 0);
  band.setColorAt(0, kNavy);
  band.setColorAt(1, QColor(0x10, 0x84, 0xD0));
  p.fillRect(image.rect(), band);
  p.translate(15, image.height() - 6);
  p.rotate(-90);
  p.setFont(font(15, true));
  p.setPen(Qt::white);
  p.drawText(0, 0, QStringLiteral("Morvin"));
  const int width = p.fontMetrics().horizontalAdvance(QStringLiteral("Morvin "));
  p.setFont(font(15, false));
  p.setPen(kFace);
  p.drawText(width, 0, QStringLiteral("NG"));
  return image;
}

// Behind the clock: a light sunken plate with a thin navy rim.
QImage clockBackground() {
  QImage image = canvas(114, 36, kTeal);
  QPainter p(&image);
  const QRect plate = image.rect().adjusted(2, 2, -2, -2);
  QLinearGradient shine(0, plate.top(), 0, plate.bottom());
  shine.setColorAt(0, QColor(0xF4, 0xF4, 0xF4));
  shine.setColorAt(1, kFace);
  p.fillRect(plate, shine);
  bevel(p, plate, false);
  p.setPen(kNavy);
  p.drawRect(image.rect().adjusted(0, 0, -1, -1));
  return image;
}

// The settings picture on the taskbar: a spanner over a small window, raised
// (normal look) or sunken and shifted by one pixel (pressed look).
QImage settingsPicture(bool pressed) {
  QImage image = canvas(22, 20, kFace);
  QPainter p(&image);
  bevel(p, image.rect(), !pressed);
  p.translate(pressed ? 1 : 0, pressed ? 1 : 0);
  // A small window.
  p.fillRect(QRect(4, 4, 11, 10), Qt::white);
  p.fillRect(QRect(4, 4, 11, 3), kNavy);
  p.setPen(Qt::black);
  p.drawRect(QRect(4, 4, 10, 9));
  // The spanner, drawn diagonally across the window's corner.
  p.setRenderHint(QPainter::Antialiasing, true);
  QPen handle(QColor(0x40, 0x40, 0x40), 2.2, Qt::SolidLine, Qt::RoundCap);
  p.setPen(handle);
  p.drawLine(QPointF(9.5, 14.5), QPointF(15.5, 8.5));
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x40, 0x40, 0x40));
  p.drawEllipse(QPointF(16.0, 8.0), 2.6, 2.6);
  p.setBrush(kFace);
  p.drawEllipse(QPointF(17.0, 7.0), 1.2, 1.2);
  return image;
}

// The small picture on the Start button.
QImage startPicture() {
  QImage image = canvas(16, 16, kFace);
  QPainter p(&image);
  const QColor tiles[4] = {QColor(0xE0, 0x30, 0x20), QColor(0x20, 0xA0, 0x30), QColor(0x20, 0x50, 0xD0),
                           QColor(0xF0, 0xC0, 0x10)};
  for (int i = 0; i < 4; ++i) p.fillRect(QRect(2 + (i % 2) * 6, 2 + (i / 2) * 6, 5, 5), tiles[i]);
  p.setPen(Qt::black);
  p.drawRect(QRect(1, 1, 12, 12));
  return image;
}

// The program's icon: a monitor showing the teal desktop and an "M".
QImage programIcon() {
  QImage image(64, 64, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  computer(p, QRect(4, 4, 56, 56), kTeal);
  p.setFont(font(26, true));
  p.setPen(Qt::white);
  p.drawText(QRect(4, 6, 56, 34), Qt::AlignCenter, QStringLiteral("M"));
  return image;
}

// The Network window's picture: three computers on one cable, and a globe.
QImage networkPicture() {
  QImage image = canvas(206, 222, kFace);
  QPainter p(&image);
  bevel(p, image.rect(), false);
  // The cable first, so the computers stand on it.
  p.setPen(QPen(kNavy, 3));
  p.drawLine(30, 180, 176, 180);
  for (int x : {40, 103, 166}) p.drawLine(x, 150, x, 180);
  p.drawLine(103, 180, 103, 200);
  computer(p, QRect(14, 100, 52, 52), kTeal);
  computer(p, QRect(77, 100, 52, 52), QColor(0x10, 0x84, 0xD0));
  computer(p, QRect(140, 100, 52, 52), kTeal);
  // The globe above them: the wider network.
  p.setRenderHint(QPainter::Antialiasing, true);
  const QRectF globe(73, 14, 60, 60);
  QRadialGradient sea(globe.center() - QPointF(10, 10), 40);
  sea.setColorAt(0, QColor(0x70, 0xB0, 0xF0));
  sea.setColorAt(1, QColor(0x10, 0x40, 0xA0));
  p.setBrush(sea);
  p.setPen(QPen(kNavy, 1.5));
  p.drawEllipse(globe);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xD0, 0xE8, 0xFF), 1));
  p.drawEllipse(globe.adjusted(15, 0, -15, 0));
  p.drawLine(QPointF(globe.center().x(), globe.top()), QPointF(globe.center().x(), globe.bottom()));
  p.drawLine(QPointF(globe.left(), globe.center().y()), QPointF(globe.right(), globe.center().y()));
  p.drawLine(QPointF(globe.left() + 6, globe.top() + 16), QPointF(globe.right() - 6, globe.top() + 16));
  p.drawLine(QPointF(globe.left() + 6, globe.bottom() - 16), QPointF(globe.right() - 6, globe.bottom() - 16));
  p.setPen(QPen(kNavy, 2, Qt::DotLine));
  p.drawLine(QPointF(103, 76), QPointF(103, 98));
  return image;
}

const Registration strip("Data/Gfx/Bmp/Pulpit/Menu.bmp", menuStrip);
const Registration clock("Data/Gfx/Bmp/Pulpit/Zegar.bmp", clockBackground);
const Registration start("Data/Gfx/Bmp/Pulpit/Start.bmp", startPicture);
const Registration settingsNormal("Data/Gfx/Bmp/Ustawienie.bmp", [] { return settingsPicture(false); });
const Registration settingsPressed("Data/Gfx/Bmp/Ustawienie2.Bmp", [] { return settingsPicture(true); });
const Registration icon("Data/Gfx/morvin-ng.png", programIcon);
const Registration network("Data/Gfx/Bmp/Siec.bmp", networkPicture);

}  // namespace
}  // namespace morvin::art
