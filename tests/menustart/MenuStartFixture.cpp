#include "MenuStartFixture.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPixmap>
#include <filesystem>

#include "shell/DataPaths.h"

namespace morvin::test {

namespace {

void writePicture(const QString& path, const QColor& colour) {
  QImage picture(170, 36, QImage::Format_RGB32);
  picture.fill(colour);
  ASSERT_TRUE(picture.save(path, "BMP")) << path.toStdString();
}

}  // namespace

void MenuStartTest::SetUp() {
  GuiTest::SetUp();
  ASSERT_TRUE(data.isValid());
  const QString menu = data.path() + "/Data/Gfx/Bmp/menu";
  ASSERT_TRUE(QDir().mkpath(menu));
  writePicture(menu + "/bpp.bmp", kSubfoldersHiddenColour);
  writePicture(menu + "/soft.bmp", kProgramsColour);
  setDataFolder(data.path());
  std::filesystem::create_directories(startMenuFolder());
}

void MenuStartTest::TearDown() {
  GuiTest::TearDown();
  setDataFolder(QString());
}

void MenuStartTest::removePicture(const char* file) {
  ASSERT_TRUE(QFile::remove(data.path() + "/Data/Gfx/Bmp/menu/" + file));
}

QColor MenuStartTest::programsColour(QWidget* w) {
  const QPixmap picture = image(w, 2)->pixmap();
  if (picture.isNull()) return {};
  return picture.toImage().pixelColor(picture.width() / 2, picture.height() / 2);
}

QStringList MenuStartTest::autostartLines(QWidget* w) {
  QStringList out;
  for (int i = 0; i < autostart(w)->count(); ++i) out << autostart(w)->item(i)->text();
  return out;
}

}  // namespace morvin::test
