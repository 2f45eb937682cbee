// Pictures of the Taskbar and Start menu window: the nine Start menu entries
// as Windows 98 draws them (32x32 icon and label on the button face), the
// Programs entry in its two states, the Start menu's side banner and the
// glyphs of the three buttons (a normal and a disabled frame side by side).
#include <QFont>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPolygon>
#include <cmath>
#include <functional>
#include <numbers>

#include "tools/artwork/ArtKit.h"
#include "tools/artwork/ArtRegistry.h"

namespace {

using morvin::art::kFace;
using morvin::art::kNavy;
using morvin::art::kShadow;
const QColor kFolder(0xF5, 0xD0, 0x5A);
const QColor kFolderEdge(0x80, 0x60, 0x00);
constexpr int kEntryWidth = 170;
constexpr int kEntryHeight = 36;

QFont menuFont() {
  QFont font(QStringLiteral("Verdana"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(12);
  return font;
}

void folder(QPainter& p, QRect r) {
  p.setPen(kFolderEdge);
  p.setBrush(kFolder);
  QPolygon tab;
  tab << QPoint(r.left(), r.top() + 4) << QPoint(r.left() + 2, r.top())
      << QPoint(r.left() + r.width() / 3, r.top()) << QPoint(r.left() + r.width() / 3 + 3, r.top() + 4);
  p.drawPolygon(tab);
  p.drawRect(r.adjusted(0, 4, -1, -1));
}

void document(QPainter& p, QRect r) {
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  QPolygon page;
  page << r.topLeft() << QPoint(r.right() - 5, r.top()) << QPoint(r.right(), r.top() + 5) << r.bottomRight()
       << r.bottomLeft();
  p.drawPolygon(page);
  p.setPen(kNavy);
  for (int y = r.top() + 6; y < r.bottom() - 2; y += 3) p.drawLine(r.left() + 3, y, r.right() - 3, y);
}

void windowFrame(QPainter& p, QRect r) {
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(r);
  p.fillRect(QRect(r.left() + 1, r.top() + 1, r.width() - 1, 4), kNavy);
}

void arrow(QPainter& p, int x, int y) {
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  QPolygon triangle;
  triangle << QPoint(x, y - 4) << QPoint(x + 4, y) << QPoint(x, y + 4);
  p.drawPolygon(triangle);
}

enum class Icon { ControlPanel, Programs, Favorites, Documents, Settings, Find, Run, LogOff, ShutDown };

void drawIcon(QPainter& p, Icon icon) {
  const QRect box(4, 2, 32, 32);
  switch (icon) {
    case Icon::ControlPanel:
      folder(p, box.adjusted(0, 2, 0, -2));
      p.fillRect(QRect(14, 14, 14, 12), Qt::white);
      p.setPen(Qt::black);
      for (int i = 0; i < 3; ++i) p.drawLine(16 + 4 * i, 16, 16 + 4 * i, 24);
      p.fillRect(QRect(15, 18, 3, 2), Qt::red);
      p.fillRect(QRect(19, 21, 3, 2), Qt::darkGreen);
      p.fillRect(QRect(23, 17, 3, 2), Qt::blue);
      break;
    case Icon::Programs:
      windowFrame(p, QRect(6, 6, 20, 16));
      windowFrame(p, QRect(12, 12, 20, 16));
      break;
    case Icon::Favorites: {
      folder(p, box.adjusted(0, 2, 0, -2));
      p.setPen(QColor(0x80, 0x00, 0x00));
      p.setBrush(Qt::red);
      QPolygon star;
      for (int i = 0; i < 10; ++i) {
        const double a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
        const double radius = (i % 2 == 0) ? 8 : 3.5;
        star << QPoint(20 + static_cast<int>(radius * std::cos(a)),
                       21 + static_cast<int>(radius * std::sin(a)));
      }
      p.drawPolygon(star);
      break;
    }
    case Icon::Documents:
      folder(p, box.adjusted(0, 2, 0, -2));
      document(p, QRect(14, 10, 14, 18));
      break;
    case Icon::Settings:
      folder(p, box.adjusted(0, 2, 0, -2));
      p.setPen(Qt::black);
      p.setBrush(kShadow);
      p.drawEllipse(QPoint(20, 20), 7, 7);
      p.setBrush(kFace);
      p.drawEllipse(QPoint(20, 20), 3, 3);
      break;
    case Icon::Find:
      document(p, QRect(6, 4, 18, 24));
      p.setPen(QPen(Qt::black, 3));
      p.drawLine(24, 24, 32, 32);
      p.setPen(QPen(Qt::black, 2));
      p.setBrush(QColor(0xA0, 0xD0, 0xFF));
      p.drawEllipse(QPoint(20, 19), 7, 7);
      break;
    case Icon::Run:
      windowFrame(p, QRect(6, 8, 26, 20));
      p.setPen(QPen(Qt::darkGreen, 2));
      p.drawLine(12, 20, 24, 20);
      p.drawLine(20, 16, 24, 20);
      p.drawLine(20, 24, 24, 20);
      break;
    case Icon::LogOff:
      p.setPen(QPen(QColor(0x80, 0x60, 0x00), 1));
      p.setBrush(QColor(0xE0, 0xC0, 0x40));
      p.drawEllipse(QPoint(13, 18), 7, 7);
      p.fillRect(QRect(18, 16, 14, 4), QColor(0xE0, 0xC0, 0x40));
      p.fillRect(QRect(26, 20, 3, 5), QColor(0xE0, 0xC0, 0x40));
      p.setBrush(kFace);
      p.drawEllipse(QPoint(12, 18), 2, 2);
      break;
    case Icon::ShutDown:
      p.setPen(Qt::black);
      p.setBrush(kFace);
      p.drawRect(QRect(6, 5, 24, 18));
      p.fillRect(QRect(9, 8, 18, 12), QColor(0x00, 0x80, 0x80));
      p.drawRect(QRect(10, 25, 16, 4));
      p.setPen(QPen(Qt::white, 2));
      p.drawArc(QRect(13, 9, 10, 10), 120 * 16, 300 * 16);
      p.drawLine(18, 8, 18, 13);
      break;
  }
}

QImage entry(Icon icon, const char* utf8Label, bool submenu) {
  QImage image(kEntryWidth, kEntryHeight, QImage::Format_RGB32);
  image.fill(kFace);
  QPainter p(&image);
  drawIcon(p, icon);
  p.setFont(menuFont());
  p.setPen(Qt::black);
  p.drawText(QRect(42, 0, kEntryWidth - 56, kEntryHeight), Qt::AlignVCenter | Qt::AlignLeft,
             QString::fromUtf8(utf8Label));
  if (submenu) arrow(p, kEntryWidth - 10, kEntryHeight / 2);
  return image;
}

// The Programs entry while its subfolders are hidden: no submenu, a greyed
// label and a no-entry sign over the icon.
QImage programsWithoutSubfolders(const char* utf8Label) {
  QImage image(kEntryWidth, kEntryHeight, QImage::Format_RGB32);
  image.fill(kFace);
  QPainter p(&image);
  drawIcon(p, Icon::Programs);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(Qt::red, 3));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(QPoint(26, 24), 7, 7);
  p.drawLine(21, 29, 31, 19);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setFont(menuFont());
  p.setPen(Qt::white);
  const QRect label(42, 0, kEntryWidth - 56, kEntryHeight);
  p.drawText(label.translated(1, 1), Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(utf8Label));
  p.setPen(kShadow);
  p.drawText(label, Qt::AlignVCenter | Qt::AlignLeft, QString::fromUtf8(utf8Label));
  return image;
}

// The side banner of the Start menu, as tall as the nine entries.
QImage banner() {
  QImage image(24, 332, QImage::Format_RGB32);
  QPainter p(&image);
  QLinearGradient fade(0, 0, 0, image.height());
  fade.setColorAt(0, Qt::black);
  fade.setColorAt(1, kNavy);
  p.fillRect(image.rect(), fade);
  p.translate(18, image.height() - 6);
  p.rotate(-90);
  QFont font(QStringLiteral("Verdana"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(16);
  font.setBold(true);
  p.setFont(font);
  p.setPen(kFace);
  p.drawText(0, 0, QStringLiteral("Windows"));
  const int width = QFontMetrics(font).horizontalAdvance(QStringLiteral("Windows"));
  font.setBold(false);
  p.setFont(font);
  p.setPen(Qt::white);
  p.drawText(width + 2, 0, QStringLiteral("98"));
  return image;
}

// A glyph of `size` pixels as two frames: normal, then disabled (embossed grey).
QImage twoStateGlyph(int size, const std::function<void(QPainter&, int)>& draw) {
  QImage normal(size, size, QImage::Format_ARGB32);
  normal.fill(Qt::transparent);
  {
    QPainter p(&normal);
    p.setRenderHint(QPainter::Antialiasing);
    draw(p, size);
  }
  QImage strip(size * 2, size, QImage::Format_RGB32);
  strip.fill(kFace);
  QPainter p(&strip);
  p.drawImage(0, 0, normal);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      if (qAlpha(normal.pixel(x, y)) < 128) continue;
      const bool dark = qGray(normal.pixel(x, y)) < 160;
      if (!dark) continue;
      if (x + 1 < size && y + 1 < size) strip.setPixelColor(size + x + 1, y + 1, Qt::white);
    }
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x)
      if (qAlpha(normal.pixel(x, y)) >= 128 && qGray(normal.pixel(x, y)) < 160)
        strip.setPixelColor(size + x, y, kShadow);
  return strip;
}

void trayFixGlyph(QPainter& p, int s) {
  // Two tray icons, the second one crossed out.
  p.setPen(Qt::black);
  p.setBrush(QColor(0x00, 0x80, 0x80));
  p.drawRect(1, 4, 6, 6);
  p.drawRect(8, 4, 6, 6);
  p.setPen(QPen(Qt::red, 2));
  p.drawLine(7, 2, s - 1, 12);
  p.drawLine(7, 12, s - 1, 2);
}

void controlPanelGlyph(QPainter& p, int s) {
  p.setPen(QColor(0x80, 0x60, 0x00));
  p.setBrush(QColor(0xF5, 0xD0, 0x5A));
  p.drawRect(2, 8, s - 5, s - 11);
  p.drawRect(2, 5, s / 3, 3);
  p.setBrush(Qt::white);
  p.setPen(Qt::black);
  p.drawRect(s / 3, s / 2 - 2, s / 2, s / 3);
  p.setPen(QPen(Qt::red, 2));
  p.drawLine(s / 3 + 4, s / 2 + 2, s / 3 + 4, s / 2 + s / 3 - 4);
  p.setPen(QPen(Qt::blue, 2));
  p.drawLine(s / 3 + 10, s / 2 + 2, s / 3 + 10, s / 2 + s / 3 - 4);
  // The shortcut arrow.
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(1, s - 11, 9, 9);
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(3, s - 4, 8, s - 9);
  p.drawLine(5, s - 9, 8, s - 9);
  p.drawLine(8, s - 9, 8, s - 6);
}

void autostartGlyph(QPainter& p, int s) {
  p.setPen(Qt::black);
  p.setBrush(Qt::white);
  p.drawRect(1, 1, s - 6, s - 3);
  p.setPen(kNavy);
  for (int y = 4; y < s - 3; y += 3) p.drawLine(3, y, s - 8, y);
  p.setPen(QPen(Qt::red, 2));
  p.drawLine(s - 8, s - 8, s - 2, s - 2);
  p.drawLine(s - 8, s - 2, s - 2, s - 8);
}

// The Start menu entries, top to bottom; soft.bmp is the Programs entry as it
// normally looks, bpp.bmp the same entry while its subfolders are hidden. The
// English program shows the set below en/, labelled as an English Windows 98.
const morvin::art::Registration kPictures[] = {
    {"Data/Gfx/Bmp/menu/panel.bmp", [] { return entry(Icon::ControlPanel, "Panel sterowania", true); }},
    {"Data/Gfx/Bmp/menu/soft.bmp", [] { return entry(Icon::Programs, "Programy", true); }},
    {"Data/Gfx/Bmp/menu/bpp.bmp", [] { return programsWithoutSubfolders("Programy"); }},
    {"Data/Gfx/Bmp/menu/ulubione.bmp", [] { return entry(Icon::Favorites, "Ulubione", true); }},
    {"Data/Gfx/Bmp/menu/dokumenty.bmp", [] { return entry(Icon::Documents, "Dokumenty", true); }},
    {"Data/Gfx/Bmp/menu/ustawienia.bmp", [] { return entry(Icon::Settings, "Ustawienia", true); }},
    {"Data/Gfx/Bmp/menu/znajdz.bmp", [] { return entry(Icon::Find, "Znajdź", true); }},
    {"Data/Gfx/Bmp/menu/uruchom.bmp", [] { return entry(Icon::Run, "Uruchom...", false); }},
    {"Data/Gfx/Bmp/menu/wyloguj.bmp", [] { return entry(Icon::LogOff, "Wyloguj...", false); }},
    {"Data/Gfx/Bmp/menu/zamknij.bmp", [] { return entry(Icon::ShutDown, "Zamknij system...", false); }},
    {"Data/Gfx/Bmp/menu/pasek.bmp", banner},
    {"Data/Gfx/Bmp/menu/blad.bmp", [] { return twoStateGlyph(16, trayFixGlyph); }},
    {"Data/Gfx/Bmp/menu/skrot.bmp", [] { return twoStateGlyph(32, controlPanelGlyph); }},
    {"Data/Gfx/Bmp/menu/autostart.bmp", [] { return twoStateGlyph(16, autostartGlyph); }},
    {"en/Data/Gfx/Bmp/menu/panel.bmp", [] { return entry(Icon::ControlPanel, "Control Panel", true); }},
    {"en/Data/Gfx/Bmp/menu/soft.bmp", [] { return entry(Icon::Programs, "Programs", true); }},
    {"en/Data/Gfx/Bmp/menu/bpp.bmp", [] { return programsWithoutSubfolders("Programs"); }},
    {"en/Data/Gfx/Bmp/menu/ulubione.bmp", [] { return entry(Icon::Favorites, "Favorites", true); }},
    {"en/Data/Gfx/Bmp/menu/dokumenty.bmp", [] { return entry(Icon::Documents, "Documents", true); }},
    {"en/Data/Gfx/Bmp/menu/ustawienia.bmp", [] { return entry(Icon::Settings, "Settings", true); }},
    {"en/Data/Gfx/Bmp/menu/znajdz.bmp", [] { return entry(Icon::Find, "Find", true); }},
    {"en/Data/Gfx/Bmp/menu/uruchom.bmp", [] { return entry(Icon::Run, "Run...", false); }},
    {"en/Data/Gfx/Bmp/menu/wyloguj.bmp", [] { return entry(Icon::LogOff, "Log Off...", false); }},
    {"en/Data/Gfx/Bmp/menu/zamknij.bmp", [] { return entry(Icon::ShutDown, "Shut Down...", false); }},
};

}  // namespace
