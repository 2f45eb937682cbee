// Drawing helpers for pictures in the classic Windows 98 look.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QRect>

namespace morvin::art {

inline const QColor kFace{0xC0, 0xC0, 0xC0};
inline const QColor kShadow{0x80, 0x80, 0x80};
inline const QColor kLight{0xDF, 0xDF, 0xDF};
inline const QColor kNavy{0x00, 0x00, 0x80};
inline const QColor kTeal{0x00, 0x80, 0x80};

// An opaque picture filled with one colour.
QImage canvas(int width, int height, const QColor& fill);
// The two-pixel bevel of a raised button, or of a pressed (sunken) one.
void bevel(QPainter& p, const QRect& r, bool raised);
// A small computer: monitor with a coloured screen on a base, at `r`.
void computer(QPainter& p, const QRect& r, const QColor& screen);

}  // namespace morvin::art
