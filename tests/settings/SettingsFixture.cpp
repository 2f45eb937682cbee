#include "SettingsFixture.h"

#include <QDir>
#include <QFrame>
#include <QImage>

#include "shell/DataPaths.h"
#include "shell/WindowFactories.h"

namespace morvin::test {

namespace {

void saveSolid(const QString& path, QColor colour, const char* format) {
  QImage image(40, 24, QImage::Format_RGB32);
  image.fill(colour);
  ASSERT_TRUE(image.save(path, format)) << path.toStdString();
}

}  // namespace

void SettingsTest::SetUp() {
  GuiTest::SetUp();
  ASSERT_TRUE(data.isValid());
  QDir(data.path()).mkpath(QStringLiteral("Data/Gfx/Bmp"));
  saveSolid(data.filePath(QStringLiteral("Data/Gfx/Bmp/Ustawienie.bmp")), normalLook, "bmp");
  saveSolid(data.filePath(QStringLiteral("Data/Gfx/Bmp/Ustawienie2.Bmp")), pressedLook, "bmp");
  setDataFolder(data.path());
}

void SettingsTest::TearDown() {
  GuiTest::TearDown();
  setDataFolder(QString());
}

void SettingsTest::start() {
  main = qobject_cast<TMainForm*>(createTMainForm());
  ASSERT_NE(main, nullptr);
  for (WindowId id : {WindowId::Pulpit, WindowId::Windows, WindowId::Web, WindowId::MenuStart, WindowId::Dos,
                      WindowId::Foldery, WindowId::Ikony}) {
    auto* w = new QDialog(main);
    registerWindow(id, w);
    if (id == WindowId::MenuStart) {
      menuStartPanel = new QFrame(w);
      menuStartPanel->setObjectName(QStringLiteral("Panel1"));
    }
  }
  set = qobject_cast<TfmSet*>(createTfmSet(main));
  ASSERT_NE(set, nullptr);
}

void SettingsTest::startGuide() {
  guide = new QDialog(main);
  registerWindow(WindowId::Sztuczki, guide);
  processEvents();  // start-up is over: the event loop runs
}

std::vector<QWidget*> SettingsTest::colourSet() const {
  std::vector<QWidget*> members;
  for (WindowId id : {WindowId::Dos, WindowId::Foldery, WindowId::Ikony, WindowId::Windows,
                      WindowId::MenuStart, WindowId::Web, WindowId::Pulpit, WindowId::Sztuczki})
    if (QWidget* w = window(id)) members.push_back(w);
  members.push_back(set->findChild<QWidget*>(QStringLiteral("panel")));
  members.push_back(menuStartPanel);
  return members;
}

bool SettingsTest::hasColour(QWidget* w, QColor c) {
  return w && w->autoFillBackground() && w->palette().color(QPalette::Window) == c;
}

QString SettingsTest::picture(const char* name, QColor colour, const char* format) {
  const QString path = data.filePath(QString::fromUtf8(name));
  saveSolid(path, colour, format);
  return path;
}

}  // namespace morvin::test
