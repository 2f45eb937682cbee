// Pictures the user or the data folder supplies: bitmaps, icons, JPEG images.
#pragma once

#include <QPixmap>
#include <QString>

class QImageReader;

namespace morvin {

// Larger files are no picture; reading them whole would only exhaust memory.
inline constexpr qint64 kMaxPictureFileSize = 256LL * 1024 * 1024;

// Whether `file` is a regular file (not a device, a named pipe or a folder) of
// at most kMaxPictureFileSize bytes: the only files read as pictures.
bool isRegularFile(const QString& file);

// Loads a picture file; throws EFOpenError "Cannot open file %s" (the path in
// place of %s) when the file is missing or not a picture the program can show.
QPixmap LoadPicture(const QString& file);

// The same, but an empty pixmap instead of a failure (built-in pictures).
QPixmap LoadPictureOrNothing(const QString& file);

// Makes the reader take the picture's format from its first bytes, whatever
// the file's name says. The common formats (BMP, PNG, JPEG, ICO, GIF) are
// named to the reader, so Qt loads no image plugin just to ask each one about
// the file; anything else is left to Qt's own look at the content.
void decideFormatFromContent(QImageReader& reader);

}  // namespace morvin
