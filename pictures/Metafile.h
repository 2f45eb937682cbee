// Windows metafiles (WMF, placeable or not, and EMF) played onto a picture
// with QPainter: lines, polylines, polygons, rectangles, ellipses, arcs, text,
// pens, brushes, fonts, paths and device-independent bitmaps. Records the
// player does not know are skipped.
#pragma once

#include <QByteArray>
#include <QImage>

namespace morvin::metafile {

enum class Kind { None, Wmf, Emf };

Kind detect(const QByteArray& data);
// The picture at 96 pixels per inch on a transparent background; a null image
// when the data is no metafile the player can read.
QImage render(const QByteArray& data);

}  // namespace morvin::metafile
