#include "Pictures.h"

#include <QImageReader>

#include "Text.h"
#include "registry/Errors.h"

namespace morvin {

QPixmap LoadPicture(const QString& file) {
  QImageReader reader(file);
  reader.setDecideFormatFromContent(true);
  const QImage image = file.isEmpty() ? QImage() : reader.read();
  if (image.isNull()) throw EFOpenError(formatMessage(msg::CannotOpenFile, toAnsi(file)));
  return QPixmap::fromImage(image);
}

QPixmap LoadPictureOrNothing(const QString& file) {
  try {
    return LoadPicture(file);
  } catch (...) {
    return {};
  }
}

}  // namespace morvin
