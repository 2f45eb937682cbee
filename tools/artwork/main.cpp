// morvin-artwork OUTPUT_FOLDER: draws every registered picture below the folder.
// A picture whose file already holds the same image is left untouched.
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QSaveFile>
#include <cstdio>

#include "tools/artwork/ArtRegistry.h"

namespace {

QByteArray formatFor(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("bmp")) return "BMP";
  if (suffix == QLatin1String("png")) return "PNG";
  if (suffix == QLatin1String("ico")) return "ICO";
  return {};
}

bool sameImage(const QString& path, const QImage& image) {
  QImage existing(path);
  return !existing.isNull() && existing.convertToFormat(image.format()) == image;
}

bool write(const QString& path, const QImage& image) {
  const QByteArray format = formatFor(path);
  if (format.isEmpty()) {
    std::fprintf(stderr, "morvin-artwork: %s: unknown picture type\n", qPrintable(path));
    return false;
  }
  if (!QDir().mkpath(QFileInfo(path).absolutePath())) return false;
  if (sameImage(path, image)) return true;
  QSaveFile file(path);  // written beside and renamed: never a half picture
  if (!file.open(QIODevice::WriteOnly)) return false;
  QImageWriter writer(&file, format);
  return writer.write(image) && file.commit();
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 2) {
    std::fprintf(stderr, "usage: morvin-artwork OUTPUT_FOLDER\n");
    return 2;
  }
  int failures = 0;
  for (const std::string& path : morvin::art::duplicatePaths()) {
    std::fprintf(stderr, "morvin-artwork: %s is registered twice\n", path.c_str());
    ++failures;
  }
  const QString folder = QString::fromLocal8Bit(argv[1]);
  for (const auto& [relative, draw] : morvin::art::pictures()) {
    const QString path = folder + '/' + QString::fromStdString(relative);
    const QImage image = draw();
    if (image.isNull() || !write(path, image)) {
      std::fprintf(stderr, "morvin-artwork: could not write %s\n", qPrintable(path));
      ++failures;
    }
  }
  return failures ? 1 : 0;
}
