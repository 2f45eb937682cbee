// The MS-DOS window's banner: a text-mode screen editing the boot options.
#include <QFont>
#include <QPainter>

#include "tools/artwork/ArtKit.h"
#include "tools/artwork/ArtRegistry.h"

namespace {

using namespace morvin::art;

QFont fixedFont(int pixels, bool bold) {
  QFont font("DejaVu Sans Mono");
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

QImage banner() {
  QImage image = canvas(452, 60, kFace);
  QPainter p(&image);
  const QRect screen(2, 2, image.width() - 4, image.height() - 4);
  bevel(p, image.rect(), false);
  p.fillRect(screen, Qt::black);

  const QColor grey(0xC0, 0xC0, 0xC0);
  p.setPen(grey);
  p.setFont(fixedFont(11, false));
  const char* lines[] = {"C:\\>edit MsDos.sys", "[Options]", "BootGUI=1"};
  int y = screen.y() + 13;
  for (const char* line : lines) {
    p.drawText(screen.x() + 8, y, QString::fromLatin1(line));
    y += 15;
  }
  // The text cursor after the last line.
  const int cursorX = screen.x() + 8 + p.fontMetrics().horizontalAdvance("BootGUI=1");
  p.fillRect(cursorX + 1, y - 15 + 2, 7, 2, grey);

  p.setFont(fixedFont(26, true));
  p.setPen(Qt::white);
  p.drawText(screen.adjusted(0, 0, -14, 0), Qt::AlignRight | Qt::AlignVCenter, "MS-DOS");
  return image;
}

const Registration dosBanner("Data/Gfx/Bmp/Dos/Baner.png", banner);

}  // namespace
