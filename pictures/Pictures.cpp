#include "Pictures.h"

#include <QFileInfo>
#include <QImageReader>

#include "registry/Cp1250.h"
#include "registry/Errors.h"

namespace morvin {

namespace {

QByteArray formatFromSignature(const QByteArray& head) {
  struct Signature {
    const char* bytes;
    int size;
    const char* format;
  };
  static const Signature signatures[] = {
      {"BM", 2, "bmp"},       {"\x89PNG\r\n\x1a\n", 8, "png"}, {"\xff\xd8\xff", 3, "jpeg"},
      {"\0\0\1\0", 4, "ico"}, {"\0\0\2\0", 4, "cur"},          {"GIF87a", 6, "gif"},
      {"GIF89a", 6, "gif"},
  };
  for (const Signature& s : signatures)
    if (head.startsWith(QByteArray::fromRawData(s.bytes, s.size))) return s.format;
  return {};
}

}  // namespace

void decideFormatFromContent(QImageReader& reader) {
  QIODevice* device = reader.device();
  const bool opened = device && (device->isOpen() || device->open(QIODevice::ReadOnly));
  const QByteArray format = opened ? formatFromSignature(device->peek(8)) : QByteArray();
  // Asking Qt which formats it supports would itself load every plugin.
  reader.setFormat(format);
  reader.setAutoDetectImageFormat(format.isEmpty());
  reader.setDecideFormatFromContent(format.isEmpty());
}

bool isRegularFile(const QString& file) {
  const QFileInfo info(file);
  return info.isFile() && info.size() <= kMaxPictureFileSize;
}

QPixmap LoadPicture(const QString& file) {
  QImage image;
  if (isRegularFile(file)) {  // a device or a named pipe would never end or never answer
    QImageReader reader(file);
    decideFormatFromContent(reader);
    image = reader.read();
  }
  if (image.isNull())
    throw EFOpenError(formatMessage(msg::CannotOpenFile, cp1250::fromUtf8(file.toStdString())));
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
