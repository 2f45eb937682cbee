#include "PictureFiles.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "Metafile.h"
#include "pictures/Pictures.h"
#include "registry/Cp1250.h"
#include "registry/Errors.h"

namespace morvin {

namespace {

[[noreturn]] void cannotOpen(const QString& file) {
  throw EFOpenError(formatMessage(msg::CannotOpenFile, cp1250::fromUtf8(file.toStdString())));
}

}  // namespace

QImage ReadPictureFile(const QString& file) {
  // A device or a named pipe never ends or never answers: only regular files are pictures.
  if (file.isEmpty() || !isRegularFile(file)) cannotOpen(file);
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) cannotOpen(file);
  const QByteArray data = in.read(kMaxPictureFileSize + 1);
  if (data.size() > kMaxPictureFileSize) cannotOpen(file);
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
