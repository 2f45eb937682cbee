// Wallpaper pictures: bitmaps, icons, JPEG images and metafiles made here.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstring>

#include "MetafileSamples.h"
#include "pictures/Metafile.h"
#include "pictures/MetafileDib.h"
#include "pictures/PictureFiles.h"
#include "pictures/Pictures.h"
#include "registry/Errors.h"
#include "tests/support/gui/GuiTest.h"

namespace morvin {
namespace {

using test::EmfWriter;
using test::WmfWriter;

class PictureFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::ensureApplication();
    ASSERT_TRUE(dir.isValid());
  }
  QString write(const char* name, const QByteArray& data) {
    const QString path = dir.filePath(QString::fromUtf8(name));
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    return path;
  }
  QString save(const char* name, const QImage& image, const char* format) {
    const QString path = dir.filePath(QString::fromUtf8(name));
    QImageWriter writer(path, format);
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return path;
  }
  QTemporaryDir dir;
};

QImage halves(QSize size, QColor left, QColor right) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(left);
  for (int y = 0; y < size.height(); ++y)
    for (int x = size.width() / 2; x < size.width(); ++x) image.setPixelColor(x, y, right);
  return image;
}

bool near(QColor a, QColor b, int tolerance = 24) {
  return std::abs(a.red() - b.red()) <= tolerance && std::abs(a.green() - b.green()) <= tolerance &&
         std::abs(a.blue() - b.blue()) <= tolerance;
}

TEST_F(PictureFilesTest, BitmapsIconsAndJpegImagesShowTheirPictureWhateverTheirName) {
  const QImage sample = halves(QSize(64, 40), Qt::red, Qt::blue);
  const QImage jpeg = ReadPictureFile(save("zdjecie.jpg", sample, "jpeg"));
  ASSERT_EQ(jpeg.size(), QSize(64, 40));
  EXPECT_TRUE(near(jpeg.pixelColor(8, 20), Qt::red));
  EXPECT_TRUE(near(jpeg.pixelColor(56, 20), Qt::blue));

  const QImage icon = ReadPictureFile(save("ikona.ico", halves(QSize(32, 32), Qt::green, Qt::black), "ico"));
  ASSERT_EQ(icon.size(), QSize(32, 32));
  EXPECT_TRUE(near(icon.pixelColor(4, 4), Qt::green, 0));

  // A JPEG named .bmp is still a JPEG; the content decides.
  const QImage misnamed = ReadPictureFile(save("tapeta.bmp", sample, "jpeg"));
  EXPECT_EQ(misnamed.size(), QSize(64, 40));
  const QImage bitmap = ReadPictureFile(save("tapeta2.BMP", sample, "bmp"));
  EXPECT_EQ(bitmap.pixelColor(60, 1), QColor(Qt::blue));
  const QImage png = ReadPictureFile(save("obraz.jpg", sample, "png"));
  EXPECT_EQ(png.pixelColor(60, 1), QColor(Qt::blue));
  // A format the program does not recognise by its first bytes is left to Qt.
  const QImage pixmap = ReadPictureFile(save("obraz.bmp", sample, "ppm"));
  EXPECT_EQ(pixmap.pixelColor(1, 1), QColor(Qt::red));
}

TEST_F(PictureFilesTest, AMissingOrForeignFileCannotBeOpenedAndNamesItsPath) {
  const QString missing = dir.filePath(QStringLiteral("brak.jpg"));
  const QString text = write("notatka.jpg", "To nie jest obraz, tylko tekst.");
  QFile full(save("pelne.jpg", halves(QSize(50, 50), Qt::red, Qt::red), "jpeg"));
  EXPECT_TRUE(full.open(QIODevice::ReadOnly));
  const QString cut = write("uciete.jpg", full.readAll().left(20));  // the header and nothing more
  for (const QString& file : {missing, text, cut, QString()}) {
    try {
      ReadPictureFile(file);
      ADD_FAILURE() << "no failure for " << file.toStdString();
    } catch (const EFOpenError& e) {
      EXPECT_EQ(std::string(e.what()), "Cannot open file " + file.toStdString());
    }
  }
}

// A device never ends and a named pipe never answers: neither is read at all.
TEST_F(PictureFilesTest, DevicesPipesAndFoldersAreNoPictures) {
  const QString pipe = dir.filePath(QStringLiteral("tapeta.bmp"));
  ASSERT_EQ(mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
  for (const QString& file : {QStringLiteral("/dev/zero"), pipe, dir.path()}) {
    EXPECT_THROW(ReadPictureFile(file), EFOpenError) << file.toStdString();
    EXPECT_THROW(LoadPicture(file), EFOpenError) << file.toStdString();
  }
}

TEST_F(PictureFilesTest, PlaceableWmfFillsItsFrameAtNinetySixPixelsPerInch) {
  WmfWriter wmf;
  // A red brush and a null pen, a rectangle over the left half, a blue ellipse on the right.
  wmf.record(0x02FC, {0, static_cast<std::int16_t>(test::colourRef(Qt::red)), 0, 0});  // CreateBrushIndirect
  wmf.record(0x02FA, {5, 0, 0, 0, 0});  // CreatePenIndirect: null
  wmf.record(0x02FC, {0, static_cast<std::int16_t>(test::colourRef(Qt::blue) & 0xFFFF),
                      static_cast<std::int16_t>(test::colourRef(Qt::blue) >> 16), 0});
  wmf.record(0x012D, {0});                      // SelectObject red brush
  wmf.record(0x012D, {1});                      // SelectObject null pen
  wmf.record(0x041B, {1000, 1000, 0, 0});       // Rectangle: bottom, right, top, left
  wmf.record(0x012D, {2});                      // blue brush
  wmf.record(0x0418, {1000, 2000, 0, 1000});    // Ellipse over the right half
  wmf.record(0x01F0, {0});                      // DeleteObject
  wmf.record(0x1234, {1, 2, 3});                // an unknown record is skipped
  wmf.record(0x041B, {1000, 2000, 900, 1900});  // still drawn after it (blue square, bottom right)
  // 2000 x 1000 units at 1000 units per inch: 192 x 96 pixels.
  const QImage picture = ReadPictureFile(write("rysunek.wmf", wmf.placeable(0, 0, 2000, 1000, 1000, 3)));
  ASSERT_EQ(picture.size(), QSize(192, 96));
  EXPECT_EQ(picture.pixelColor(40, 48), QColor(Qt::red));
  EXPECT_EQ(picture.pixelColor(144, 48), QColor(Qt::blue));
  EXPECT_EQ(picture.pixelColor(188, 92), QColor(Qt::blue));
  EXPECT_EQ(picture.pixelColor(100, 2).alpha(), 0);  // outside the ellipse: the desktop shows through
}

TEST_F(PictureFilesTest, WmfTextLinesAndBitmapsAreDrawn) {
  WmfWriter wmf;
  wmf.record(0x020C, {200, 400});                 // SetWindowExt: y, x
  wmf.record(0x020B, {0, 0});                     // SetWindowOrg
  wmf.dword(0x0209, test::colourRef(Qt::green));  // SetTextColor
  wmf.record(0x0102, {1});                        // transparent text background
  QByteArray font(18, '\0');
  font[0] = static_cast<char>(-60);  // height -60 units (two bytes)
  font[1] = static_cast<char>(0xFF);
  font[8] = static_cast<char>(700 & 0xFF);  // bold
  font[9] = static_cast<char>(700 >> 8);
  font.append("DejaVu Sans");
  font.append(32 - 11, '\0');
  wmf.record(0x02FB, {}, font);  // CreateFontIndirect
  wmf.record(0x012D, {0});
  wmf.record(0x0521, {4}, QByteArray("MMMM") + QByteArray("\x50\x00\x0A\x00", 4));  // TextOut at (10, 80)
  wmf.record(0x02FA, {0, 8, 0, 0, 0});                                              // 8-unit black pen
  wmf.record(0x012D, {1});
  wmf.record(0x0214, {190, 0});    // MoveTo y, x
  wmf.record(0x0213, {190, 400});  // LineTo along the bottom
  // StretchDIB: the 2x2 bitmap stretched over (300, 0)-(400, 100).
  const QByteArray dib = test::packedDib(Qt::red, Qt::blue, Qt::yellow, Qt::cyan);
  wmf.record(0x0F43, {0x0020, 0x00CC, 0, 2, 2, 0, 0, 100, 100, 0, 300}, dib);
  // No placeable header: the window extent is the picture's size.
  const QImage picture = ReadPictureFile(write("tekst.wmf", wmf.plain(2)));
  ASSERT_EQ(picture.size(), QSize(400, 200));
  int green = 0;
  for (int y = 80; y < 150; ++y)
    for (int x = 10; x < 250; ++x) green += near(picture.pixelColor(x, y), Qt::green, 40) ? 1 : 0;
  EXPECT_GT(green, 400) << "the text is drawn in the text colour";
  EXPECT_EQ(picture.pixelColor(200, 190), QColor(Qt::black));
  EXPECT_EQ(picture.pixelColor(200, 170).alpha(), 0);
  EXPECT_TRUE(near(picture.pixelColor(310, 10), Qt::red, 60));
  EXPECT_TRUE(near(picture.pixelColor(390, 90), Qt::cyan, 60));
}

TEST_F(PictureFilesTest, PartOfABottomUpBitmapIsCountedFromItsBottomRow) {
  WmfWriter wmf;
  const QByteArray dib = test::packedDib(Qt::red, Qt::blue, Qt::yellow, Qt::cyan);
  // StretchDIB of the source pixel (0, 0) onto a 10 x 10 square: the bottom-left pixel.
  wmf.record(0x0F43, {0x0020, 0x00CC, 0, 1, 1, 0, 0, 10, 10, 0, 0}, dib);
  // And the top-right one: source x 1, y 1.
  wmf.record(0x0F43, {0x0020, 0x00CC, 0, 1, 1, 1, 1, 10, 10, 0, 10}, dib);
  const QImage picture = ReadPictureFile(write("fragment.wmf", wmf.placeable(0, 0, 20, 10, 96, 0)));
  ASSERT_EQ(picture.size(), QSize(20, 10));
  EXPECT_EQ(picture.pixelColor(5, 5), QColor(Qt::yellow));
  EXPECT_EQ(picture.pixelColor(15, 5), QColor(Qt::blue));
}

TEST_F(PictureFilesTest, EmfShapesPathsAndBitmapsAreDrawnInItsFrame) {
  EmfWriter emf;
  emf.record(39, {1, 0, static_cast<std::int32_t>(test::colourRef(Qt::red)), 0});  // brush 1: red
  emf.record(38, {2, 5, 0, 0, 0});                                                 // pen 2: null
  emf.record(37, {1});
  emf.record(37, {2});
  emf.record(43, {0, 0, 49, 99});                           // Rectangle over the left half
  emf.record(37, {static_cast<std::int32_t>(0x80000004)});  // stock BLACK_BRUSH
  emf.record(59, {});                                       // BeginPath
  emf.record(27, {100, 0});                                 // MoveToEx
  emf.record(54, {199, 0});                                 // LineTo
  emf.record(54, {199, 99});
  emf.record(61, {});            // CloseFigure
  emf.record(60, {});            // EndPath
  emf.record(62, {0, 0, 0, 0});  // FillPath: the triangle right of the rectangle
  emf.record(0x7777, {1});       // unknown: skipped
  const QByteArray dib = test::packedDib(Qt::green, Qt::green, Qt::green, Qt::green);
  // StretchDIBits of the 2x2 bitmap onto (150, 80) 40x16.
  emf.record(81, {0, 0, 0, 0, 150, 80, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0x00CC0020, 40, 16}, dib);
  const QImage picture = ReadPictureFile(write("rysunek.emf", emf.file(200, 100, 3)));
  ASSERT_EQ(picture.size(), QSize(200, 100));
  EXPECT_EQ(picture.pixelColor(25, 50), QColor(Qt::red));
  EXPECT_EQ(picture.pixelColor(190, 20), QColor(Qt::black));
  EXPECT_EQ(picture.pixelColor(110, 90).alpha(), 0);  // below the triangle's edge
  EXPECT_TRUE(near(picture.pixelColor(170, 88), Qt::green, 0));
}

std::int32_t floatBits(float f) {
  std::int32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits;
}

TEST_F(PictureFilesTest, EmfWorldTransformsApplyInTheirOrderAndSavedStatesComeBack) {
  EmfWriter emf;
  const auto transform = [&](float scale, float dx, std::int32_t mode) {
    emf.record(36, {floatBits(scale), 0, 0, floatBits(scale), floatBits(dx), 0, mode});
  };
  emf.record(39, {1, 0, static_cast<std::int32_t>(test::colourRef(Qt::red)), 0});
  emf.record(38, {2, 5, 0, 0, 0});
  emf.record(37, {2});
  emf.record(33, {});              // SaveDC with the white stock brush
  emf.record(37, {1});             // red
  transform(1, 100, 4);            // set: shift right by 100
  transform(2, 0, 2);              // left-multiply: doubled first, then shifted
  emf.record(43, {0, 0, 10, 10});  // lands on 100..120
  emf.record(34, {-1});            // RestoreDC: white brush, no transform
  emf.record(43, {0, 0, 10, 10});
  const QImage picture = ReadPictureFile(write("obrot.emf", emf.file(240, 40, 3)));
  ASSERT_EQ(picture.size(), QSize(240, 40));
  EXPECT_EQ(picture.pixelColor(115, 15), QColor(Qt::red));
  EXPECT_EQ(picture.pixelColor(95, 5).alpha(), 0);
  EXPECT_EQ(picture.pixelColor(205, 5).alpha(), 0);  // right-multiplied it would lie at 200..220
  EXPECT_EQ(picture.pixelColor(5, 5), QColor(Qt::white));
}

TEST_F(PictureFilesTest, RunLengthBitmapsInsideMetafilesAreUnpacked) {
  // 4 x 2, 8 bits, RLE8; palette: 0 red, 1 blue. Bottom row: a run of four reds;
  // top row: three pixels given one by one, then a run of one blue, end of bitmap.
  QByteArray dib;
  for (std::int32_t v : {40, 4, 2}) dib.append(reinterpret_cast<const char*>(&v), 4);
  dib.append("\x01\x00\x08\x00", 4);  // planes, bits
  for (std::int32_t v : {1, 14, 0, 0, 2, 0}) dib.append(reinterpret_cast<const char*>(&v), 4);
  dib.append("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);
  dib.append("\x04\x00\x00\x00\x00\x03\x01\x00\x01\x00\x01\x01\x00\x01", 14);
  const QImage image = metafile::readPackedDib(metafile::Bytes(dib));
  ASSERT_EQ(image.size(), QSize(4, 2));
  EXPECT_EQ(image.pixelColor(0, 1), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(3, 1), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(1, 0), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(3, 0), QColor(Qt::blue));
  // Cut short, the rows it does not reach stay at the first colour; nothing is read beyond the data.
  const QImage cut = metafile::readPackedDib(metafile::Bytes(dib.left(dib.size() - 9)));
  ASSERT_EQ(cut.size(), QSize(4, 2));
  EXPECT_EQ(cut.pixelColor(3, 0), QColor(Qt::red));
}

TEST_F(PictureFilesTest, DamagedMetafilesNeverCrashAndSkipWhatTheyCannotHold) {
  // A record claiming more than the file holds ends the picture, what came before stays.
  WmfWriter wmf;
  wmf.record(0x041B, {100, 100, 0, 0});
  QByteArray file = wmf.placeable(0, 0, 100, 100, 96, 0);
  file.chop(6);
  file.append(QByteArray("\xFF\xFF\x00\x00\x1B\x04", 6));
  EXPECT_EQ(ReadPictureFile(write("uciety.wmf", file)).size(), QSize(100, 100));

  // An absurd frame is drawn scaled down, not allocated whole.
  EmfWriter big;
  big.record(43, {0, 0, 10, 10});
  const QImage huge = ReadPictureFile(write("wielki.emf", big.file(2000000, 1000, 0)));
  EXPECT_LE(huge.width(), 4096);

  // Random damage to valid files: every result is a picture or a clean "Cannot open file".
  EmfWriter emf;
  emf.record(39, {1, 0, 0x0000FF, 0});
  emf.record(37, {1});
  emf.record(43, {0, 0, 49, 99});
  emf.record(84, {0, 0, 0, 0, 1, 0, 0, 10, 10, 3, 76, 0, 0, 0, 0, 0, 0}, QByteArray("A\0B\0C\0\0\0", 8));
  emf.record(7, {0, 0, 0, 0, 2, 4, 2, 2, 0, 0, 5, 5, 9, 9, 1, 1});
  const QByteArray seeds[] = {emf.file(100, 100, 2), file, wmf.plain(1)};
  QRandomGenerator random(1234);
  for (int round = 0; round < 3000; ++round) {
    QByteArray damaged = seeds[round % 3];
    for (int flips = 1 + static_cast<int>(random.bounded(8)); flips > 0; --flips)
      damaged[static_cast<int>(random.bounded(damaged.size()))] = static_cast<char>(random.bounded(256));
    if (round % 7 == 0) damaged.truncate(static_cast<int>(random.bounded(damaged.size())));
    const QImage picture = metafile::render(damaged);
    if (!picture.isNull()) {
      EXPECT_LE(picture.width(), 4096);
      EXPECT_LE(picture.height(), 4096);
    }
  }
}

// The fuzz target starts from these; a seed the players cannot read would only test the refusal.
TEST_F(PictureFilesTest, EveryMetafileOfTheFuzzSeedCorpusIsPlayed) {
  const QDir corpus(QStringLiteral(MORVIN_SOURCE_DIR "/tests/fuzz/corpus/MetafileFuzz"));
  const QStringList seeds = corpus.entryList(QDir::Files);
  EXPECT_GE(seeds.size(), 3);
  for (const QString& seed : seeds) {
    const QImage picture = ReadPictureFile(corpus.filePath(seed));
    EXPECT_FALSE(picture.isNull()) << seed.toStdString();
  }
}

}  // namespace
}  // namespace morvin
