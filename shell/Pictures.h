// Pictures the user or the data folder supplies: bitmaps, icons, JPEG images.
#pragma once

#include <QPixmap>
#include <QString>

namespace morvin {

// Loads a picture file; throws EFOpenError "Cannot open file %s" (the path in
// place of %s) when the file is missing or not a picture the program can show.
QPixmap LoadPicture(const QString& file);
// The same, but an empty pixmap instead of a failure (built-in pictures).
QPixmap LoadPictureOrNothing(const QString& file);

}  // namespace morvin
