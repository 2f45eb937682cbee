#include "PictureFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>

#include "Metafile.h"
#include "pictures/Pictures.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"

namespace morvin {

namespace {

// Larger files are no wallpaper; reading them whole would only exhaust memory.
constexpr qint64 kMaxFileSize = 256LL * 1024 * 1024;

[[noreturn]] void cannotOpen(const QString& file) {
  throw EFOpenError(formatMessage(msg::CannotOpenFile, cp1250::fromUtf8(file.toStdString())));
}

}  // namespace

QImage ReadPictureFile(const QString& file) {
  QFile in(file);
  if (file.isEmpty() || !in.open(QIODevice::ReadOnly) || in.size() > kMaxFileSize) cannotOpen(file);
  const QByteArray data = in.readAll();
  if (metafile::detect(data) != metafile::Kind::None) {
    const QImage picture = metafile::render(data);
    if (picture.isNull()) cannotOpen(file);
    return picture;
  }
  QBuffer buffer;
  buffer.setData(data);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  decideFormatFromContent(reader);
  reader.setAutoTransform(true);  // photos stand as they were taken
  const QImage picture = reader.read();
  if (picture.isNull()) cannotOpen(file);
  return picture;
}

QPixmap LoadPictureFile(const QString& file) {
  return QPixmap::fromImage(ReadPictureFile(file));
}

}  // namespace morvin
