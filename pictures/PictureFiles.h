// The picture files a user can choose as the main window's wallpaper: bitmaps,
// icons, JPEG images (decoded by libjpeg through Qt's JPEG reader), Windows
// metafiles and enhanced metafiles (played by the program's own player).
#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

namespace morvin {

// Reads a picture file by its content, whatever its name says. Throws
// EFOpenError "Cannot open file %s" (the path in place of %s) when the file is
// missing, unreadable or not a picture the program can show.
QImage ReadPictureFile(const QString& file);
QPixmap LoadPictureFile(const QString& file);

}  // namespace morvin
